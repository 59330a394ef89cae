// Byte-string helpers shared by the readers and writers of the program's text formats.
#include "base/text.h"

#include <cstdio>
#include <limits>
#include <memory>

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

std::optional<std::string> read_file_bytes(const std::string& path) {
    struct Closer {
        void operator()(std::FILE* f) const noexcept { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, got);
    }
    return bytes;
}

}  // namespace quilla
