// Number reading and byte-string helpers shared by the file formats.
#include "base/saturating.h"
#include "base/text.h"

#include <gtest/gtest.h>

#include <limits>

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
