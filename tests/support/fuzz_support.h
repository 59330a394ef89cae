// What the fuzz targets share: checks that stop the run with a message when a property
// fails, and the Shift-JIS properties every reader must keep.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "base/text.h"

namespace quilla::fuzz {

// Stops the run (libFuzzer then saves the input) when a property does not hold.
inline void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", property);
        std::abort();
    }
}

inline bool is_sjis_trail_byte(unsigned char b) noexcept {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// True when every lead byte of text is followed by a trail byte.
inline bool is_whole_sjis(std::string_view text) noexcept {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (is_sjis_lead_byte(static_cast<unsigned char>(text[i]))) {
            if (i + 1 >= text.size() ||
                !is_sjis_trail_byte(static_cast<unsigned char>(text[i + 1]))) {
                return false;
            }
            ++i;
        }
    }
    return true;
}

// The text before the first separator line "\n====\n" and the text after it (all of it
// and nothing when there is none): how the targets take several texts from one input,
// so that a seed can be written by hand.
inline std::pair<std::string_view, std::string_view> split_input(std::string_view bytes) {
    constexpr std::string_view kSeparator = "\n====\n";
    const std::size_t at = bytes.find(kSeparator);
    if (at == std::string_view::npos) {
        return {bytes, {}};
    }
    return {bytes.substr(0, at), bytes.substr(at + kSeparator.size())};
}

// True when the last character of text lacks its second byte.
inline bool ends_in_half_character(std::string_view text) noexcept {
    return sjis_prefix(text, text.size()).size() != text.size();
}

}  // namespace quilla::fuzz
