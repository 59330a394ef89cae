// The settings file format: reader and writer on bytes.
#include "config/settings.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

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

// The bytes after "key=" when the piece starts with them.
std::optional<std::string_view> value_after(std::string_view piece, std::string_view key) {
    if (piece.size() > key.size() && starts_with(piece, key) && piece[key.size()] == '=') {
        return piece.substr(key.size() + 1);
    }
    return std::nullopt;
}

void set_default(const SettingKey& k, SettingsValues& v) {
    switch (k.kind) {
        case SettingKind::kNumber:
            v.*k.number = static_cast<int32_t>(k.default_number);
            break;
        case SettingKind::kColour:
            v.*k.colour = static_cast<uint32_t>(k.default_number);
            break;
        case SettingKind::kText:
            v.*k.text = k.default_text;
            break;
        case SettingKind::kOption:
            v.options[k.option] = static_cast<int32_t>(k.default_number);
            break;
    }
}

void read_value(const SettingKey& k, std::string_view piece, std::string_view value,
                SettingsValues& v) {
    switch (k.kind) {
        case SettingKind::kNumber: {
            const int32_t number = parse_decimal_int(value);
            v.*k.number = number >= k.least ? number : static_cast<int32_t>(k.default_number);
            break;
        }
        case SettingKind::kColour:
            // Colours are written as unsigned numbers, so they read back as such (up to
            // 4294967295); a negative number is the colour with the same 32 bits.
            v.*k.colour = static_cast<uint32_t>(
                parse_decimal_in(value, std::numeric_limits<int32_t>::min(), UINT32_MAX));
            break;
        case SettingKind::kText:
            v.*k.text = std::string(
                sjis_prefix(string_value(piece, piece.size() - value.size()), k.max_bytes));
            break;
        case SettingKind::kOption:
            v.options[k.option] = parse_decimal_int(value);  // any state is kept as it is
            break;
    }
}

std::string written_value(const SettingKey& k, const SettingsValues& v) {
    switch (k.kind) {
        case SettingKind::kNumber:
            return std::to_string(v.*k.number);
        case SettingKind::kColour:
            return std::to_string(v.*k.colour);
        case SettingKind::kText:
            return v.*k.text;
        case SettingKind::kOption:
            return std::to_string(v.options[k.option]);
    }
    return {};
}

}  // namespace

SettingsRecord::SettingsRecord() {
    *this = SettingsValues();  // the record's part of the defaults
}

SettingsValues::SettingsValues() : SettingsRecord(Unset{}) {
    for (const SettingKey& k : kSettingKeys) {
        set_default(k, *this);
    }
}

SettingsValues::SettingsValues(const SettingsRecord& record) : SettingsValues() {
    SettingsRecord::operator=(record);
}

SettingsValues parse_settings(std::string_view file_bytes,
                              const std::function<void()>& on_item_window_piece) {
    SettingsValues v;
    const std::string text = crlf_to_lf(file_bytes);
    for (std::string_view piece : split_pieces(text, 255)) {
        for (const SettingKey& k : kSettingKeys) {
            if (const auto value = value_after(piece, k.key)) {
                read_value(k, piece, *value, v);
            }
            // Right after its own key, on every piece while it is on: the start-up
            // request that makes the host open its inventory window.
            if (k.number == &SettingsValues::item_window && v.item_window != 0 &&
                on_item_window_piece) {
                on_item_window_piece();
            }
        }
    }
    return v;
}

std::string format_settings(const SettingsValues& v) {
    std::string out;
    for (const SettingKey& k : kSettingKeys) {
        out.append(k.key).append("=").append(written_value(k, v)).append("\r\n");
    }
    return out;
}

uint32_t worker_stop_timeout_ms(int32_t wait) noexcept {
    constexpr int64_t kLongest = 0xFFFFFFFE;  // 0xFFFFFFFF would mean "wait forever"
    int64_t ms = int64_t{std::max<int32_t>(wait, 1)} * 100;
    return static_cast<uint32_t>(std::min(ms, kLongest));
}

}  // namespace quilla
