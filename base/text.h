// Byte-string helpers shared by the readers and writers of the program's text formats.
// All text is Shift-JIS (code page 932) held in std::string; sizes and positions are
// byte counts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

// The most bytes of a line or field of the program's texts: what a 256-byte buffer holds
// beside its terminating null. The settings and item files are read in lines of at most
// this many bytes, the host promises inventory lines no longer, and a text box's value is
// taken as at most this many.
inline constexpr std::size_t kLineBytes = 255;

// Reads a decimal int the way the settings and item files store numbers: leading white
// space skipped, an optional sign, then digits up to the first non-digit. No digits gives
// 0; a value beyond the int32 range gives the nearest limit.
int32_t parse_decimal_int(std::string_view text) noexcept;

// The same reading, for any range within +-2^40: the result is kept within lowest and
// highest.
int64_t parse_decimal_in(std::string_view text, int64_t lowest, int64_t highest) noexcept;

// text with each full-width digit ("０" to "９", 82 4F to 82 58) as its ASCII digit; every
// other character, and any byte pair that only looks like one across a character
// boundary, stays as it is.
std::string ascii_digits(std::string_view text);

// True when text starts with prefix.
inline bool starts_with(std::string_view text, std::string_view prefix) noexcept {
    return text.substr(0, prefix.size()) == prefix;
}

// True when byte b starts a two-byte Shift-JIS character.
inline bool is_sjis_lead_byte(unsigned char b) noexcept {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The longest prefix of text of at most max_bytes bytes that does not end in the middle
// of a double-byte character.
std::string_view sjis_prefix(std::string_view text, std::size_t max_bytes) noexcept;

// Splits text into the pieces the settings and item files are read in: a piece ends after
// its first LF or when it holds piece_size bytes, so a longer line arrives as several
// pieces, each read as a line of its own. The pieces keep their LF.
std::vector<std::string_view> split_pieces(std::string_view text, std::size_t piece_size);

// Text-mode newline translation of a file read from disk: every CR LF becomes LF.
std::string crlf_to_lf(std::string_view text);

// A text file's bytes and how they are encoded: UTF-16 little-endian or big-endian when
// they begin with that byte-order mark (FF FE or FE FF); UTF-8 when they begin with the
// UTF-8 byte-order mark, or when they hold bytes above 0x7F and all of those form
// well-formed UTF-8 sequences (no overlong forms, surrogates or values past U+10FFFF);
// Shift-JIS otherwise. Shift-JIS text almost never passes, since its lead bytes 0x81 to
// 0x9F are UTF-8 continuation bytes. text is the bytes without the byte-order mark.
enum class Utf16 { kNone, kLittleEndian, kBigEndian };
struct TextFileBytes {
    bool utf8 = false;
    std::string_view text;
    Utf16 utf16 = Utf16::kNone;
};
TextFileBytes classify_text_file(std::string_view bytes) noexcept;

// UTF-16 bytes (no byte-order mark) in the given order as their 16-bit units; a last odd
// byte is dropped.
std::u16string utf16_units(std::string_view bytes, Utf16 order);

}  // namespace quilla
