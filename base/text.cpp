// Number parsing, character-boundary cuts, pieces, line ends, the text-file check, UTF-16 units.
#include "base/text.h"

#include <limits>

namespace quilla {

int64_t parse_decimal_in(std::string_view text, int64_t lowest, int64_t highest) noexcept {
    std::size_t i = 0;
    // White space: space, \t, \n, \v, \f, \r.
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // The magnitude stops growing once it is past both limits, so it never overflows.
    constexpr int64_t kStop = int64_t{1} << 40;
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude < kStop) {
            magnitude = magnitude * 10 + (text[i] - '0');
        }
    }
    const int64_t value = negative ? -magnitude : magnitude;
    return value < lowest ? lowest : (value > highest ? highest : value);
}

int32_t parse_decimal_int(std::string_view text) noexcept {
    return static_cast<int32_t>(parse_decimal_in(text, std::numeric_limits<int32_t>::min(),
                                                 std::numeric_limits<int32_t>::max()));
}

std::string_view sjis_prefix(std::string_view text, std::size_t max_bytes) noexcept {
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t width = is_sjis_lead_byte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + width > max_bytes || end + width > text.size()) {
            break;
        }
        end += width;
    }
    return text.substr(0, end);
}

std::vector<std::string_view> split_pieces(std::string_view text, std::size_t piece_size) {
    std::vector<std::string_view> pieces;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t len = 0;
        while (pos + len < text.size() && len < piece_size) {
            ++len;
            if (text[pos + len - 1] == '\n') {
                break;
            }
        }
        pieces.push_back(text.substr(pos, len));
        pos += len;
    }
    return pieces;
}

std::string ascii_digits(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!is_sjis_lead_byte(byte) || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        const auto trail = static_cast<unsigned char>(text[i + 1]);
        if (byte == 0x82 && trail >= 0x4F && trail <= 0x58) {
            out.push_back(static_cast<char>('0' + (trail - 0x4F)));
        } else {
            out.append(text.substr(i, 2));
        }
        ++i;
    }
    return out;
}

std::string crlf_to_lf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

namespace {

// The length of the well-formed UTF-8 sequence at the start of text, or 0 when there is
// none there.
std::size_t utf8_sequence_length(std::string_view text) noexcept {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    // The range the second byte must lie in; the later ones are 0x80 to 0xBF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;   // no overlong forms
        high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

}  // namespace

TextFileBytes classify_text_file(std::string_view bytes) noexcept {
    if (starts_with(bytes, "\xFF\xFE")) {
        return {false, bytes.substr(2), Utf16::kLittleEndian};
    }
    if (starts_with(bytes, "\xFE\xFF")) {
        return {false, bytes.substr(2), Utf16::kBigEndian};
    }
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (starts_with(bytes, kByteOrderMark)) {
        return {true, bytes.substr(kByteOrderMark.size())};
    }
    bool beyond_ascii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = utf8_sequence_length(bytes.substr(i));
        if (length == 0) {
            return {false, bytes};
        }
        beyond_ascii = beyond_ascii || length > 1;
        i += length;
    }
    return {beyond_ascii, bytes};
}

std::u16string utf16_units(std::string_view bytes, Utf16 order) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(order == Utf16::kBigEndian ? static_cast<char16_t>(first << 8 | second)
                                                   : static_cast<char16_t>(second << 8 | first));
    }
    return units;
}

}  // namespace quilla
