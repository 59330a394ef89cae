// The settings file format: reader and writer on bytes.
#include "config/settings.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>

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

// The place of a number or a text: in the record, or beside it in the program's values.
template <class Record, class Program>
auto& number_of(const SettingKey& k, Record& record, Program* program) {
    return k.owner == SettingOwner::kRecord ? record.*k.record_number : program->*k.program_number;
}

template <class Record, class Program>
auto& text_of(const SettingKey& k, Record& record, Program* program) {
    return k.owner == SettingOwner::kRecord ? record.*k.record_text : program->*k.program_text;
}

// Sets the default of a row. Without program values, only the record's rows are set.
void set_default(const SettingKey& k, SettingsRecord& record, SettingsValues* program) {
    if (k.owner == SettingOwner::kProgram && !program) {
        return;
    }
    switch (k.kind) {
        case SettingKind::kNumber:
            number_of(k, record, program) = static_cast<int32_t>(k.default_number);
            break;
        case SettingKind::kColour:
            record.*k.record_colour = static_cast<uint32_t>(k.default_number);
            break;
        case SettingKind::kText:
            text_of(k, record, program) = k.default_text;
            break;
        case SettingKind::kOption:
            program->options[k.option] = static_cast<int32_t>(k.default_number);
            break;
    }
}

void read_value(const SettingKey& k, std::string_view piece, std::string_view value,
                SettingsValues& v) {
    switch (k.kind) {
        case SettingKind::kNumber: {
            const int32_t number = parse_decimal_int(value);
            number_of(k, v.record, &v) =
                number >= k.least ? number : static_cast<int32_t>(k.default_number);
            break;
        }
        case SettingKind::kColour:
            // Colours are written as unsigned numbers, so they read back as such (up to
            // 4294967295); a negative number is the colour with the same 32 bits.
            v.record.*k.record_colour = static_cast<uint32_t>(
                parse_decimal_in(value, std::numeric_limits<int32_t>::min(), UINT32_MAX));
            break;
        case SettingKind::kText:
            text_of(k, v.record, &v) = std::string(
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
            return std::to_string(number_of(k, v.record, &v));
        case SettingKind::kColour:
            return std::to_string(v.record.*k.record_colour);
        case SettingKind::kText:
            return text_of(k, v.record, &v);
        case SettingKind::kOption:
            return std::to_string(v.options[k.option]);
    }
    return {};
}

}  // namespace

SettingsRecord::SettingsRecord() {
    for (const SettingKey& k : kSettingKeys) {
        set_default(k, *this, static_cast<SettingsValues*>(nullptr));
    }
}

SettingsValues::SettingsValues() : SettingsValues(SettingsRecord()) {}

SettingsValues::SettingsValues(SettingsRecord values) : record(std::move(values)) {
    for (const SettingKey& k : kSettingKeys) {
        if (k.owner == SettingOwner::kProgram) {
            set_default(k, record, this);
        }
    }
}

SettingsValues parse_settings(std::string_view file_bytes,
                              const std::function<void()>& on_item_window_piece) {
    SettingsValues v;
    const std::string text = crlf_to_lf(file_bytes);
    for (std::string_view piece : split_pieces(text, kLineBytes)) {
        for (const SettingKey& k : kSettingKeys) {
            if (const auto value = value_after(piece, k.key)) {
                read_value(k, piece, *value, v);
            }
            // Right after its own key, on every piece while it is on: the start-up
            // request that makes the host open its inventory window.
            if (k.record_number == &SettingsRecord::item_window && v.record.item_window != 0 &&
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
    int64_t ms = int64_t{std::max(wait, kLeastWait)} * 100;
    return static_cast<uint32_t>(std::min(ms, kLongest));
}

}  // namespace quilla
