// Byte-string helpers shared by the readers and writers of the program's text formats.
#include "base/text.h"

#include <cstdio>
#include <limits>
#include <memory>

namespace quilla {

int32_t parse_decimal_int(std::string_view text) noexcept {
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
    // Accumulate as a negative number so INT32_MIN is reachable; stop growing at the limit.
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude < kLimit) {
            magnitude = magnitude * 10 + (text[i] - '0');
        }
    }
    if (negative) {
        return magnitude >= kLimit ? std::numeric_limits<int32_t>::min()
                                   : static_cast<int32_t>(-magnitude);
    }
    return magnitude >= kLimit ? std::numeric_limits<int32_t>::max()
                               : static_cast<int32_t>(magnitude);
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
