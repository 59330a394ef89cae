// The overlay font's face name across the wide boundary: given in Shift-JIS, handed to
// Windows in wide characters, read back narrowed with code page 932 and cut to 31 bytes on
// a character boundary.
#include "config/overlay_font_win.h"

#include <gtest/gtest.h>

#include <string>

namespace quilla {
namespace {

std::string repeated(const std::string& text, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += text;
    }
    return out;
}

TEST(OverlayFont, AFaceIsReadBackAsTheSameShiftJisBytes) {
    const auto font = create_overlay_font("ＭＳ ゴシック", -20);
    ASSERT_TRUE(font);
    const std::optional<FontDescription> described = describe_font(font_handle(font));
    ASSERT_TRUE(described.has_value());
    EXPECT_EQ(described->face, "ＭＳ ゴシック");
    EXPECT_EQ(described->height, -20);
    EXPECT_FALSE(describe_font(nullptr).has_value());
}

// 31 bytes stay whole; a 32nd byte that begins a double-byte character takes the whole
// character with it.
TEST(OverlayFont, AFaceIsCutTo31BytesOnACharacterBoundary) {
    const struct {
        std::string face;
        std::string kept;
    } rows[] = {
        {repeated("ゴ", 15) + "a", repeated("ゴ", 15) + "a"},
        {repeated("ゴ", 16), repeated("ゴ", 15)},
        {repeated("ゴ", 15) + "ab", repeated("ゴ", 15) + "a"},
        {std::string(31, 'a'), std::string(31, 'a')},
        {std::string(32, 'a'), std::string(31, 'a')},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.face);
        const auto font = create_overlay_font(row.face, 16);
        ASSERT_TRUE(font);
        const std::optional<FontDescription> described = describe_font(font_handle(font));
        ASSERT_TRUE(described.has_value());
        EXPECT_EQ(described->face, row.kept);
    }
}

// A face as the system lists it, in wide characters: narrowed, then cut to 31 bytes.
TEST(OverlayFont, AWideFaceNameNarrowsTo31BytesAtMost) {
    EXPECT_EQ(face_name_from_wide(L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF"), "ＭＳ ゴシック");
    const std::wstring sixteen(16, L'\x30B4');  // 16 wide characters, 32 bytes
    EXPECT_EQ(face_name_from_wide(sixteen.c_str()), repeated("ゴ", 15));
    const std::wstring fits = std::wstring(15, L'\x30B4') + L"a";  // 31 bytes
    EXPECT_EQ(face_name_from_wide(fits.c_str()), repeated("ゴ", 15) + "a");
}

}  // namespace
}  // namespace quilla
