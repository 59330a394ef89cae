// Finds the drawn line under a point and cuts its marks off to leave the item name.
#include "app/slot_target.h"

#include <cstddef>

#include "base/program_texts.h"
#include "base/text.h"

namespace quilla {
namespace {

constexpr std::string_view kGoldMark = texts::kGoldStar;
constexpr std::string_view kLongVowel = texts::kLongVowel;

// 64-bit arithmetic: top + height must not overflow for any band.
bool in_line(int64_t y, int64_t top, int64_t height) {
    return top <= y && y < top + height;
}

// The first position at or after `from` where `mark` begins at a character boundary.
// Walking by characters keeps the second byte of a double-byte character (such as the
// "[" byte that ends texts::kLongVowel or "ゼ") from passing for a mark.
std::size_t find_mark(std::string_view text, std::string_view mark, std::size_t from) noexcept {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (pos >= from && text.substr(pos).starts_with(mark)) {
            return pos;
        }
        pos += is_sjis_lead_byte(static_cast<unsigned char>(text[pos])) ? 2 : 1;
    }
    return std::string_view::npos;
}

// Keeps what lies before the first `mark` at or after `start`.
std::string_view cut_at(std::string_view name, std::string_view mark, std::size_t start) noexcept {
    const std::size_t pos = find_mark(name, mark, start);
    return pos == std::string_view::npos ? name : name.substr(0, pos);
}

}  // namespace

std::string_view item_name_of_line(std::string_view line) noexcept {
    std::string_view name = line;
    if (starts_with(name, kGoldMark)) {
        name.remove_prefix(kGoldMark.size());
    }
    const std::size_t vowel = find_mark(name, kLongVowel, 0);
    const std::size_t start = vowel == std::string_view::npos ? 0 : vowel + kLongVowel.size();
    name = cut_at(name, "+", start);
    name = cut_at(name, "[", start);
    name = cut_at(name, "(", start);
    // A line shown without seals keeps the space that stood before its equipped mark
    // ("name [○…]"); the item's name does not end in it.
    while (!name.empty() && name.back() == ' ') {
        name.remove_suffix(1);
    }
    return name;
}

std::string slot_target_name(int client_y, const std::vector<OverlayLine>& drawn) {
    for (const OverlayLine& line : drawn) {
        const bool target = line.role == LineRole::kWeapon || line.role == LineRole::kShield;
        if (target && in_line(client_y, line.band.top, line.band.height)) {
            return std::string(item_name_of_line(line.text));
        }
    }
    return {};
}

}  // namespace quilla
