// The settings file format: reader and writer on bytes.
#include "config/settings.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "base/text.h"

namespace quilla {
namespace {

// A string value: the piece cut at its first CR or LF, then everything after the key. A
// piece that ends inside a double-byte character (a line longer than a piece) loses that
// character's first byte: a lone lead byte would be shown as garbage and saved again.
std::string string_value(std::string_view piece, std::size_t key_size) {
    std::size_t end = piece.find_first_of("\r\n");
    piece = piece.substr(0, end);
    const std::string_view value = piece.substr(std::min(key_size, piece.size()));
    return std::string(sjis_prefix(value, value.size()));
}

// Calls apply(value bytes) when piece starts with key (which includes its "=").
template <typename Apply>
void on_key(std::string_view piece, std::string_view key, Apply apply) {
    if (starts_with(piece, key)) {
        apply(piece.substr(key.size()));
    }
}

}  // namespace

SettingsValues parse_settings(std::string_view file_bytes,
                              const std::function<void()>& on_item_window_piece) {
    SettingsValues v;
    const std::string text = crlf_to_lf(file_bytes);
    auto number = [](int32_t& target) {
        return [&target](std::string_view value) { target = parse_decimal_int(value); };
    };
    // Colours are written as unsigned numbers, so they read back as such (up to
    // 4294967295); a negative number is the colour with the same 32 bits.
    auto colour = [](uint32_t& target) {
        return [&target](std::string_view value) {
            target = static_cast<uint32_t>(
                parse_decimal_in(value, std::numeric_limits<int32_t>::min(), UINT32_MAX));
        };
    };
    for (std::string_view piece : split_pieces(text, 255)) {
        on_key(piece, "x=", number(v.x));
        on_key(piece, "y=", number(v.y));
        for (std::size_t i = 0; i < kOptions.size(); ++i) {
            on_key(piece, std::string(kOptions[i].key) + "=", number(v.options[i]));
        }
        on_key(piece, "Pos=", number(v.pos));
        on_key(piece, "ItemWindow=", number(v.item_window));
        if (v.item_window != 0 && on_item_window_piece) {
            on_item_window_piece();
        }
        on_key(piece, "hook=", number(v.hook));
        on_key(piece, "hookKey=", number(v.hook_key));
        on_key(piece, "Font=", [&](std::string_view) {
            v.font_face = std::string(sjis_prefix(string_value(piece, 5), kMaxFontFaceBytes));
        });
        on_key(piece, "FontSize=", number(v.font_size));
        on_key(piece,
               "WeaponText=", [&](std::string_view) { v.weapon_text = string_value(piece, 11); });
        on_key(piece,
               "ShieldText=", [&](std::string_view) { v.shield_text = string_value(piece, 11); });
        on_key(piece,
               "AmuletText=", [&](std::string_view) { v.amulet_text = string_value(piece, 11); });
        on_key(piece, "BackColor=", colour(v.back_color));
        on_key(piece, "FontColor=", colour(v.font_color));
        on_key(piece, "EdgeColor=", colour(v.edge_color));
        on_key(piece, "Wait=", [&](std::string_view value) {
            int32_t wait = parse_decimal_int(value);
            // A pause of 0 or less would spin the worker and break the shutdown bound.
            v.wait = wait > 0 ? wait : kDefaultWait;
        });
    }
    return v;
}

std::string format_settings(const SettingsValues& v) {
    std::string out;
    auto line = [&out](std::string_view key, std::string_view value) {
        out.append(key).append(value).append("\r\n");
    };
    auto num = [](auto n) { return std::to_string(n); };
    line("x=", num(v.x));
    line("y=", num(v.y));
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
        line(std::string(kOptions[i].key) + "=", num(v.options[i]));
    }
    line("Pos=", num(v.pos));
    line("ItemWindow=", num(v.item_window));
    line("hook=", num(v.hook));
    line("hookKey=", num(v.hook_key));
    line("Font=", v.font_face);
    line("FontSize=", num(v.font_size));
    line("WeaponText=", v.weapon_text);
    line("ShieldText=", v.shield_text);
    line("AmuletText=", v.amulet_text);
    line("BackColor=", num(v.back_color));
    line("FontColor=", num(v.font_color));
    line("EdgeColor=", num(v.edge_color));
    line("Wait=", num(v.wait));
    return out;
}

uint32_t worker_stop_timeout_ms(int32_t wait) noexcept {
    constexpr int64_t kLongest = 0xFFFFFFFE;  // 0xFFFFFFFF would mean "wait forever"
    int64_t ms = int64_t{std::max<int32_t>(wait, 1)} * 100;
    return static_cast<uint32_t>(std::min(ms, kLongest));
}

}  // namespace quilla
