// Number reading and byte-string helpers shared by the file formats.
#include "base/saturating.h"
#include "base/text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace quilla {
namespace {

TEST(ParseDecimalInt, ReadsLeadingDigitsAndIgnoresTrailingText) {
    EXPECT_EQ(parse_decimal_int("250ms"), 250);
    EXPECT_EQ(parse_decimal_int("  -20"), -20);
    EXPECT_EQ(parse_decimal_int("+7\r\n"), 7);
    EXPECT_EQ(parse_decimal_int(""), 0);
    EXPECT_EQ(parse_decimal_int("abc"), 0);
    EXPECT_EQ(parse_decimal_int("-"), 0);
    EXPECT_EQ(parse_decimal_int("1 2"), 1);
}

TEST(ParseDecimalInt, ClampsValuesBeyondInt32) {
    constexpr auto kMax = std::numeric_limits<int32_t>::max();
    constexpr auto kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(parse_decimal_int("2147483647"), kMax);
    EXPECT_EQ(parse_decimal_int("2147483648"), kMax);
    EXPECT_EQ(parse_decimal_int("-2147483648"), kMin);
    EXPECT_EQ(parse_decimal_int("-2147483649"), kMin);
    EXPECT_EQ(parse_decimal_int("99999999999999999999999999999999"), kMax);
    EXPECT_EQ(parse_decimal_int("-99999999999999999999999999999999x"), kMin);
}

TEST(SjisLeadByte, IsOneOfTheTwoRanges0x81To0x9FAnd0xE0To0xFC) {
    const struct {
        unsigned char byte;
        bool lead;
    } rows[] = {{0x00, false}, {0x7F, false}, {0x80, false}, {0x81, true},
                {0x9F, true},  {0xA0, false}, {0xDF, false}, {0xE0, true},
                {0xFC, true},  {0xFD, false}, {0xFF, false}};
    for (const auto& row : rows) {
        EXPECT_EQ(is_sjis_lead_byte(row.byte), row.lead) << static_cast<int>(row.byte);
    }
}

TEST(SjisPrefix, NeverSplitsADoubleByteCharacter) {
    const std::string face = "ＭＳ ゴシック";  // 2+2+1+2+2+2 bytes
    EXPECT_EQ(sjis_prefix(face, 5), face.substr(0, 5));
    EXPECT_EQ(sjis_prefix(face, 6), face.substr(0, 5));
    EXPECT_EQ(sjis_prefix(face, 7), face.substr(0, 7));
    EXPECT_EQ(sjis_prefix(face, 100), face);
    EXPECT_EQ(sjis_prefix("\x82", 5), "");  // a lone lead byte at the end is dropped
}

// A text read from Windows in wide characters and narrowed to Shift-JIS is cut to the
// byte count its buffer always had: the face name's 31 bytes and a dialog field's 255.
// Double-byte characters ("ゴ" = 83 53), single-byte ASCII and half-width katakana ("ｱ" =
// B1) on both sides of each limit.
TEST(SjisPrefix, CutsANarrowedTextToItsByteLimitOnACharacterBoundary) {
    const auto wide = [](std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) {
            text += "ゴ";
        }
        return text;
    };
    const struct {
        std::string text;
        std::size_t limit;
        std::size_t kept;  // bytes
    } rows[] = {
        {wide(15) + "a", 31, 31},               // exactly 31 bytes: whole
        {wide(16), 31, 30},                     // 32 bytes: the 16th character goes whole
        {wide(15) + "ab", 31, 31},              // 32 bytes: the single byte that fits stays
        {std::string(31, 'a'), 31, 31},         // 31 single bytes: whole
        {std::string(32, 'a'), 31, 31},         // one past: cut after the 31st
        {std::string(30, 'a') + "ｱ", 31, 31},   // half-width katakana is one byte
        {std::string(30, 'a') + "ゴ", 31, 30},  // a character across the limit goes
        {wide(127) + "a", 255, 255},            // exactly 255 bytes: whole
        {wide(128), 255, 254},                  // 256 bytes
        {std::string(254, 'a') + "ゴ", 255, 254},
        {std::string(255, 'a'), 255, 255},
        {std::string(256, 'a'), 255, 255},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.text.size()) + " bytes to " + std::to_string(row.limit));
        EXPECT_EQ(sjis_prefix(row.text, row.limit), row.text.substr(0, row.kept));
    }
}

TEST(SplitPieces, CutsAtLineEndsAndAtThePieceSize) {
    const std::string text = "ab\ncd\n" + std::string(300, 'a') + "\nz";
    auto pieces = split_pieces(text, 255);
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(pieces[0], "ab\n");
    EXPECT_EQ(pieces[1], "cd\n");
    EXPECT_EQ(pieces[2].size(), 255u);
    EXPECT_EQ(pieces[3], std::string(45, 'a') + "\n");
    EXPECT_EQ(pieces[4], "z");

    // A line of exactly one piece with its LF stays whole; one byte more and its LF goes
    // into a piece of its own.
    const std::string fits = std::string(254, 'b') + "\n";
    EXPECT_EQ(split_pieces(fits + "c", 255), (std::vector<std::string_view>{fits, "c"}));
    const std::string over = std::string(255, 'b');
    EXPECT_EQ(split_pieces(over + "\nc", 255), (std::vector<std::string_view>{over, "\n", "c"}));
}

TEST(CrlfToLf, TranslatesOnlyPairs) {
    EXPECT_EQ(crlf_to_lf("a\r\nb\rc\n\r"), "a\nb\rc\n\r");
}

// The same text as UTF-8 bytes, whatever the tests' own character set is.
std::string utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

TEST(ClassifyTextFile, TakesOnlyWellFormedUtf8OrAByteOrderMarkForUtf8) {
    const struct {
        const char* what;
        std::string bytes;
        bool utf8;
        std::string text;  // the bytes without a byte-order mark
    } cases[] = {
        {"UTF-8 with the mark", "\xEF\xBB\xBF" + utf8(u8"武器,剣,5\n"), true,
         utf8(u8"武器,剣,5\n")},
        {"UTF-8 without the mark", utf8(u8"盾,十字の盾,3\r\n"), true, utf8(u8"盾,十字の盾,3\r\n")},
        {"the mark alone", "\xEF\xBB\xBF", true, ""},
        {"the mark on ASCII", "\xEF\xBB\xBFx=1\n", true, "x=1\n"},
        {"ASCII only", "x=1\r\nWait=100\r\n", false, "x=1\r\nWait=100\r\n"},
        {"empty", "", false, ""},
        // Shift-JIS texts stay Shift-JIS: kanji and kana, the 0x5C trail bytes of ソ, 十,
        // 能 and 表, the 0x9F and 0xE0 lead bytes, half-width katakana (ﾃｽ is C3 BD, a
        // UTF-8 pair; ﾄ after it is not).
        {"kanji and kana", "武器,ソード,5\nお守り,いやしのお守り,\n", false, ""},
        {"0x5C trail bytes", "盾,十字の盾,3\n武器印,能,1\n盾印,表,2\n", false, ""},
        {"0x9F lead bytes", "檗麾沺泛", false, ""},
        {"0xE0 lead bytes", "漾烙燹燿", false, ""},
        {"half-width katakana", "ﾃｽﾄ\n", false, ""},
        // Ill-formed UTF-8, each beside the nearest well-formed sequence.
        {"cut at the end", "\xE6\xAD", false, ""},
        {"lowest two-byte form", "\xC2\x80", true, "\xC2\x80"},
        {"overlong two-byte form", "\xC1\xBF", false, ""},
        {"lowest three-byte form", "\xE0\xA0\x80", true, "\xE0\xA0\x80"},
        {"overlong three-byte form", "\xE0\x9F\xBF", false, ""},
        {"last before the surrogates", "\xED\x9F\xBF", true, "\xED\x9F\xBF"},
        {"a surrogate", "\xED\xA0\x80", false, ""},
        {"highest character", "\xF4\x8F\xBF\xBF", true, "\xF4\x8F\xBF\xBF"},
        {"past the highest character", "\xF4\x90\x80\x80", false, ""},
        {"a lone continuation byte", utf8(u8"剣") + "\x80", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TextFileBytes got = classify_text_file(c.bytes);
        EXPECT_EQ(got.utf8, c.utf8);
        EXPECT_EQ(got.text, c.utf8 ? c.text : c.bytes);
        EXPECT_EQ(got.utf16, Utf16::kNone);
    }
}

// UTF-16 is taken only with its byte-order mark, which goes; its bytes turn into units in
// the order the mark names. "剣" is U+5263, "5" U+0035.
TEST(ClassifyTextFile, TakesUtf16ByItsByteOrderMark) {
    const std::string le("\xFF\xFE\x63\x52\x35\x00", 6);
    const std::string be("\xFE\xFF\x52\x63\x00\x35", 6);
    const struct {
        const char* what;
        std::string bytes;
        Utf16 order;
        std::u16string units;
    } cases[] = {
        {"little-endian", le, Utf16::kLittleEndian, u"剣5"},
        {"big-endian", be, Utf16::kBigEndian, u"剣5"},
        {"little-endian, odd last byte dropped", le + "x", Utf16::kLittleEndian, u"剣5"},
        {"the little-endian mark alone", "\xFF\xFE", Utf16::kLittleEndian, u""},
        {"the big-endian mark alone", "\xFE\xFF", Utf16::kBigEndian, u""},
        {"half a mark", "\xFF", Utf16::kNone, u""},
        {"marks the other way round later in the file", "x\xFF\xFE", Utf16::kNone, u""},
        {"no mark: the same units read as Shift-JIS", std::string("\x63\x52\x35\x00", 4),
         Utf16::kNone, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TextFileBytes got = classify_text_file(c.bytes);
        EXPECT_EQ(got.utf16, c.order);
        EXPECT_FALSE(got.utf8);
        if (c.order != Utf16::kNone) {
            EXPECT_EQ(got.text, std::string_view(c.bytes).substr(2));
            EXPECT_EQ(utf16_units(got.text, got.utf16), c.units);
        }
    }
}

TEST(AsciiDigits, TurnsFullWidthDigitsIntoAsciiOnCharacterBoundaries) {
    const struct {
        const char* what;
        std::string text;
        std::string digits;
    } cases[] = {
        {"all ten", "０１２３４５６７８９", "0123456789"},
        {"mixed with ASCII and kanji", "剣1２ x", "剣12 x"},
        {"the byte pairs just below ０ and just above ９ stay", "\x82\x4E\x82\x59",
         "\x82\x4E\x82\x59"},
        {"full-width letters stay", "Ｚａ", "Ｚａ"},
        // 8F 82 is one character, so the 82 4F after its lead byte is no digit.
        {"a digit's bytes across a character boundary", "\x8F\x82\x4F", "\x8F\x82\x4F"},
        {"a lone lead byte at the end", "5\x82", "5\x82"},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ascii_digits(c.text), c.digits);
    }
}

TEST(SaturatingAdd, StopsAtTheLimits) {
    constexpr auto kMax = std::numeric_limits<int32_t>::max();
    constexpr auto kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(saturating_add(kMax - 1, 1), kMax);
    EXPECT_EQ(saturating_add(kMax, 1), kMax);
    EXPECT_EQ(saturating_add(kMin + 1, -1), kMin);
    EXPECT_EQ(saturating_add(kMin, -1), kMin);
    EXPECT_EQ(saturating_add(3, -5), -2);
}

}  // namespace
}  // namespace quilla
