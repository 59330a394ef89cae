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
}

TEST(CrlfToLf, TranslatesOnlyPairs) {
    EXPECT_EQ(crlf_to_lf("a\r\nb\rc\n\r"), "a\nb\rc\n\r");
}

TEST(SaturatingAdd, StopsAtTheLimits) {
    constexpr auto kMax = std::numeric_limits<int32_t>::max();
    constexpr auto kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(saturating_add(kMax, 1), kMax);
    EXPECT_EQ(saturating_add(kMin, -1), kMin);
    EXPECT_EQ(saturating_add(3, -5), -2);
}

}  // namespace
}  // namespace quilla
