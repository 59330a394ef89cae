// The naming table's layout: a header of three big-endian 16-bit numbers (format, record
// count, offset of the string storage), then the records of six numbers each (platform,
// encoding, language, name id, string length and offset in bytes within the storage).
#include "config/font_name_table.h"

#include <cstddef>

namespace quilla {
namespace {

constexpr std::size_t kHeaderBytes = 6;
constexpr std::size_t kRecordBytes = 12;
constexpr uint16_t kWindowsPlatform = 3;  // its strings are UTF-16, big-endian
constexpr uint16_t kUsEnglish = 0x0409;
constexpr uint16_t kFamilyNameId = 1;

uint16_t number_at(std::span<const uint8_t> table, std::size_t at) noexcept {
    return static_cast<uint16_t>(table[at] << 8 | table[at + 1]);
}

std::optional<std::u16string> string_at(std::span<const uint8_t> table, std::size_t start,
                                        std::size_t length) {
    if (length == 0 || length % 2 != 0 || start > table.size() || length > table.size() - start) {
        return std::nullopt;
    }
    std::u16string text;
    for (std::size_t at = start; at < start + length; at += 2) {
        const char16_t unit = number_at(table, at);
        if (unit == 0) {
            return std::nullopt;
        }
        text.push_back(unit);
    }
    return text;
}

}  // namespace

std::optional<std::u16string> english_family_name(std::span<const uint8_t> table) {
    if (table.size() < kHeaderBytes) {
        return std::nullopt;
    }
    const std::size_t count = number_at(table, 2);
    const std::size_t storage = number_at(table, 4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t record = kHeaderBytes + i * kRecordBytes;
        if (record + kRecordBytes > table.size()) {
            return std::nullopt;  // the table ends within the records
        }
        if (number_at(table, record) != kWindowsPlatform ||
            number_at(table, record + 4) != kUsEnglish ||
            number_at(table, record + 6) != kFamilyNameId) {
            continue;
        }
        if (std::optional<std::u16string> name = string_at(
                table, storage + number_at(table, record + 10), number_at(table, record + 8))) {
            return name;
        }
    }
    return std::nullopt;
}

}  // namespace quilla
