// The overlay font's face name across the wide boundary: given in Shift-JIS, handed to
// Windows in wide characters, read back narrowed with code page 932 and cut to 31 bytes on
// a character boundary. The faces offered for it, and the one found for a saved face, on
// faces a stand-in lists as a Windows in another language does.
#include "config/overlay_font_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

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

// Faces listed as the test sets them. The system's name of a font is the face it was made
// from, and its naming table holds the English name the test gives that face, if any.
class StandFonts : public FontFaceCalls {
  public:
    std::vector<LOGFONTW> faces(HDC) override {
        std::vector<LOGFONTW> fonts(listed.size());
        for (std::size_t i = 0; i < listed.size(); ++i) {
            listed[i].copy(fonts[i].lfFaceName, LF_FACESIZE - 1);
        }
        return fonts;
    }
    std::wstring face_name(HDC dc) override {
        LOGFONTW font{};
        GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
        return font.lfFaceName;
    }
    std::vector<uint8_t> name_table(HDC dc) override {
        const std::string name = english[face_name(dc)];  // empty: no English name
        std::vector<uint8_t> table = {0, 0, 0, 1, 0, 18, 0, 3, 0, 1, 4, 9, 0, 1, 0, 0, 0, 0};
        table[15] = static_cast<uint8_t>(2 * name.size());
        for (char letter : name) {
            table.insert(table.end(), {0, static_cast<uint8_t>(letter)});
        }
        return table;
    }

    std::vector<std::wstring> listed;
    std::map<std::wstring, std::string> english;
};

// A face whose name Shift-JIS holds in 31 bytes keeps it; another is offered under its
// English name ('@' kept) when that is so held, else not at all; each face once. A saved
// face not listed by its name (as MS Gothic lists ＭＳ ゴシック on a Windows in English)
// is found by the font it gives; one whose font is none listed is not found.
TEST(OverlayFont, FacesAreOfferedUnderNamesTheSettingsFileHoldsAndFoundByTheirFont) {
    const std::wstring gothic31 = std::wstring(15, L'\x30B4') + L"a";
    StandFonts fonts;
    fonts.listed = {L"IPAゴシック", L"微软雅黑",     L"@微软雅黑", L"微软雅黑",
                    L"ipaゴシック", gothic31 + L"a", gothic31,     L"굴림",
                    L"돋움",        L"바탕",         L"MS Gothic"};
    fonts.english = {{L"微软雅黑", "YaHei"},          {L"@微软雅黑", "YaHei"},
                     {L"돋움", std::string(31, 'D')}, {L"바탕", std::string(32, 'B')},
                     {L"MS Gothic", "MS Gothic"},     {L"ＭＳ ゴシック", "MS Gothic"}};
    const std::vector<ListedFace> faces = listed_faces(fonts);
    std::vector<std::string> names(faces.size());
    std::ranges::transform(faces, names.begin(), &ListedFace::name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"IPAゴシック", "YaHei", "@YaHei", repeated("ゴ", 15) + "a",
                                        std::string(31, 'D'), "MS Gothic"}));
    EXPECT_EQ(saved_face_index(faces, "YaHei", fonts), 1u);
    EXPECT_EQ(saved_face_index(faces, "ＭＳ ゴシック", fonts), 5u);
    EXPECT_EQ(saved_face_index(faces, "NoSuchFace", fonts), std::nullopt);
}

}  // namespace
}  // namespace quilla
