// Drawing the overlay into a real drawing surface with a real Japanese font: background,
// outline, face, alpha keying, size, clipping and the bottom-up row order.
#include "overlay/drawing_surface_win.h"
#include "overlay/overlay_drawing_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/handles_win.h"

namespace quilla {
namespace {

constexpr int32_t kWidth = 200;
constexpr int32_t kHeight = 100;
constexpr int32_t kFontHeight = 16;
constexpr uint32_t kSentinel = 0x5A5A5A5Au;
constexpr uint32_t kOpaque = 0xFF000000u;

// Face, edge and back differ in every channel, so no two of them can be confused.
constexpr DrawColors kColors{RGB(0x20, 0x40, 0x60), RGB(0xF0, 0xE0, 0xD0), RGB(0x90, 0x10, 0xA0)};

// A colour reference as the pixel value GDI writes for it (alpha 0).
constexpr uint32_t pixel_of(COLORREF c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

const std::string kWeapon = "武器：なし";
const std::string kShield = "盾：なし";
const std::string kAmulet = "お守り：なし";

UniqueFont create_test_font() {
    LOGFONTA lf{};
    lf.lfHeight = kFontHeight;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    const std::string face = "ＭＳ ゴシック";
    std::memcpy(lf.lfFaceName, face.c_str(), std::min(face.size() + 1, sizeof(lf.lfFaceName)));
    return UniqueFont(CreateFontIndirectA(&lf));
}

class OverlayDrawingTest : public testing::Test {
  protected:
    void SetUp() override {
        SurfaceResult result = create_drawing_surface(nullptr, kWidth, kHeight);
        ASSERT_EQ(result.failed_step, kSurfaceOk);
        surface_ = std::move(result.surface);
        font_ = create_test_font();
        ASSERT_TRUE(font_);
        font_in_dc_ = std::make_unique<SelectGuard>(surface_->dc(), font_.get());
        ASSERT_TRUE(font_in_dc_->ok());
        fill(kSentinel);
    }

    void fill(uint32_t value) {
        GdiFlush();
        std::fill(surface_->bits(), surface_->bits() + kWidth * kHeight, value);
    }

    // (x, y) counted from the top-left, as the drawing calls count.
    uint32_t pixel(int32_t x, int32_t y) const {
        return surface_->bits()[(kHeight - 1 - y) * kWidth + x];
    }

    std::vector<uint32_t> snapshot() const {
        GdiFlush();
        return std::vector<uint32_t>(surface_->bits(), surface_->bits() + kWidth * kHeight);
    }

    Size draw(const std::vector<std::string_view>& lines, const DrawColors& colors,
              bool transparent, int32_t line_step = kFontHeight) {
        return draw_overlay(*surface_, lines, line_step, colors, transparent).size;
    }

    SIZE extent(std::string_view text) const {
        SIZE size{};
        EXPECT_TRUE(GetTextExtentPoint32A(surface_->dc(), text.data(),
                                          static_cast<int>(text.size()), &size));
        return size;
    }

    // How many pixels of the rectangle (0,0)-(size) hold exactly this value.
    int count_in(Size size, uint32_t value) const {
        int count = 0;
        for (int32_t y = 0; y < size.height; ++y) {
            for (int32_t x = 0; x < size.width; ++x) {
                count += pixel(x, y) == value ? 1 : 0;
            }
        }
        return count;
    }

    std::unique_ptr<DrawingSurface> surface_;
    UniqueFont font_;
    std::unique_ptr<SelectGuard> font_in_dc_;
};

TEST_F(OverlayDrawingTest, NothingSwitchedOnGivesASquareOfTheBackColour) {
    for (const bool transparent : {false, true}) {
        SCOPED_TRACE(transparent ? "transparent" : "opaque");
        fill(kSentinel);
        const Size size = draw({}, kColors, transparent);
        ASSERT_EQ(size.width, 20);
        ASSERT_EQ(size.height, 20);
        const uint32_t expected = transparent ? 0u : (kOpaque | pixel_of(kColors.back));
        EXPECT_EQ(count_in(size, expected), 20 * 20);
        for (int32_t i = 0; i < 21; ++i) {
            EXPECT_EQ(pixel(20, i), kSentinel) << "right of the square, row " << i;
            EXPECT_EQ(pixel(i, 20), kSentinel) << "below the square, column " << i;
        }
    }
}

TEST_F(OverlayDrawingTest, SizeIsTheWidestExtentByTheSumOfExtentHeights) {
    const SIZE weapon = extent(kWeapon);
    const SIZE shield = extent(kShield);
    const SIZE amulet = extent(kAmulet);
    ASSERT_NE(weapon.cx, amulet.cx);

    const Size all = draw({kWeapon, kShield, kAmulet}, kColors, false);
    EXPECT_EQ(all.width, std::max({weapon.cx, shield.cx, amulet.cx}));
    EXPECT_EQ(all.height, weapon.cy + shield.cy + amulet.cy);

    const Size two = draw({kWeapon, kShield}, kColors, false);
    EXPECT_EQ(two.width, std::max(weapon.cx, shield.cx));
    EXPECT_EQ(two.height, weapon.cy + shield.cy);
}

TEST_F(OverlayDrawingTest, OpaqueDrawingShowsBackOutlineAndFaceAllOpaque) {
    const Size size = draw({kWeapon, kShield, kAmulet}, kColors, false);
    int opaque = 0;
    for (int32_t y = 0; y < size.height; ++y) {
        for (int32_t x = 0; x < size.width; ++x) {
            opaque += (pixel(x, y) & kOpaque) == kOpaque ? 1 : 0;
        }
    }
    EXPECT_EQ(opaque, size.width * size.height);
    EXPECT_GT(count_in(size, kOpaque | pixel_of(kColors.back)), 0);
    EXPECT_GT(count_in(size, kOpaque | pixel_of(kColors.font)), 0);
    EXPECT_GT(count_in(size, kOpaque | pixel_of(kColors.edge)), 0);
}

TEST_F(OverlayDrawingTest, TransparentCutsOutExactlyTheBackColourPixels) {
    const std::vector<std::string_view> lines{kWeapon, kShield, kAmulet};
    const Size opaque_size = draw(lines, kColors, false);
    const std::vector<uint32_t> opaque = snapshot();
    fill(kSentinel);
    const Size size = draw(lines, kColors, true);
    ASSERT_EQ(size.width, opaque_size.width);
    ASSERT_EQ(size.height, opaque_size.height);

    const uint32_t back = kOpaque | pixel_of(kColors.back);
    for (int32_t y = 0; y < size.height; ++y) {
        for (int32_t x = 0; x < size.width; ++x) {
            const uint32_t before = opaque[(kHeight - 1 - y) * kWidth + x];
            ASSERT_EQ(pixel(x, y), before == back ? 0u : before) << "at " << x << "," << y;
        }
    }
    EXPECT_GT(count_in(size, 0u), 0);
    EXPECT_GT(count_in(size, kOpaque | pixel_of(kColors.font)), 0);
    EXPECT_GT(count_in(size, kOpaque | pixel_of(kColors.edge)), 0);
}

TEST_F(OverlayDrawingTest, FontColourEqualToBackLeavesOnlyTheOutline) {
    const std::vector<std::string_view> lines{kWeapon, kAmulet};
    const Size size = draw(lines, kColors, false);
    const std::vector<uint32_t> normal = snapshot();

    DrawColors faceless = kColors;
    faceless.font = kColors.back;
    fill(kSentinel);
    draw(lines, faceless, true);

    const uint32_t edge = kOpaque | pixel_of(kColors.edge);
    const uint32_t face = kOpaque | pixel_of(kColors.font);
    int faces_cut = 0;
    for (int32_t y = 0; y < size.height; ++y) {
        for (int32_t x = 0; x < size.width; ++x) {
            const uint32_t was = normal[(kHeight - 1 - y) * kWidth + x];
            ASSERT_EQ(pixel(x, y), was == edge ? edge : 0u) << "at " << x << "," << y;
            faces_cut += was == face ? 1 : 0;
        }
    }
    EXPECT_GT(faces_cut, 0);
    EXPECT_GT(count_in(size, edge), 0);
}

TEST_F(OverlayDrawingTest, OutlineSurroundsTheFaceByOnePixelInEveryDirection) {
    constexpr int32_t kTop = 10;
    constexpr int32_t kRows = kTop + kFontHeight + 2;
    const UniqueBrush back(CreateSolidBrush(kColors.back));
    const RECT area{0, 0, kWidth, kRows};

    // The face alone, drawn with plain GDI.
    FillRect(surface_->dc(), &area, back.get());
    SetBkMode(surface_->dc(), TRANSPARENT);
    SetTextColor(surface_->dc(), kColors.font);
    TextOutA(surface_->dc(), 0, kTop, kShield.data(), static_cast<int>(kShield.size()));
    const std::vector<uint32_t> face_only = snapshot();
    auto is_face = [&](int32_t x, int32_t y) {
        return x >= 0 && y >= 0 && x < kWidth && y < kRows &&
               face_only[(kHeight - 1 - y) * kWidth + x] == pixel_of(kColors.font);
    };

    FillRect(surface_->dc(), &area, back.get());
    draw_outlined_text(surface_->dc(), kShield, kTop, kColors);
    GdiFlush();
    int face_pixels = 0;
    for (int32_t y = 0; y < kRows; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            bool near_face = false;
            for (int32_t dy = -1; dy <= 1; ++dy) {
                for (int32_t dx = -1; dx <= 1; ++dx) {
                    near_face = near_face || is_face(x + dx, y + dy);
                }
            }
            const COLORREF expected =
                is_face(x, y) ? kColors.font : (near_face ? kColors.edge : kColors.back);
            ASSERT_EQ(pixel(x, y), pixel_of(expected)) << "at " << x << "," << y;
            face_pixels += is_face(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(face_pixels, 0);
}

TEST_F(OverlayDrawingTest, RowsAreStoredBottomUp) {
    const Size size = draw({kWeapon}, kColors, false);
    ASSERT_LT(size.height, kHeight);
    const uint32_t* bits = surface_->bits();
    // The bottom image rows come first in memory and were never touched.
    const int32_t untouched_rows = kHeight - size.height - 1;  // the outline may reach one more
    for (int32_t i = 0; i < untouched_rows * kWidth; ++i) {
        ASSERT_EQ(bits[i], kSentinel) << "word " << i;
    }
    // The top image row is the last row in memory.
    const uint32_t* top_row = bits + (kHeight - 1) * kWidth;
    for (int32_t x = 0; x < size.width; ++x) {
        EXPECT_EQ(top_row[x] & kOpaque, kOpaque) << "column " << x;
    }
    EXPECT_EQ(top_row[size.width + 1], kSentinel);
}

TEST_F(OverlayDrawingTest, LinesFollowOneAnotherByTheLineStep) {
    ASSERT_EQ(extent(kWeapon).cy, kFontHeight);
    const std::vector<std::string_view> lines{kWeapon, kWeapon, kWeapon};
    const Size size = draw(lines, kColors, false, kFontHeight);
    const std::vector<uint32_t> stepped = snapshot();

    // Each line's rows look like the first line's rows, one line step further down.
    const uint32_t face = kOpaque | pixel_of(kColors.font);
    for (int32_t line = 1; line < 3; ++line) {
        for (int32_t y = 1; y < kFontHeight - 1; ++y) {
            for (int32_t x = 0; x < size.width; ++x) {
                const bool first = pixel(x, y) == face;
                ASSERT_EQ(pixel(x, y + line * kFontHeight) == face, first)
                    << "line " << line << " at " << x << "," << y;
            }
        }
    }

    // A font height given as a negative number still puts the lines one below the other.
    fill(kSentinel);
    const Size negative = draw(lines, kColors, false, -kFontHeight);
    EXPECT_EQ(negative.height, size.height);
    EXPECT_EQ(snapshot(), stepped);
}

TEST_F(OverlayDrawingTest, TextLargerThanTheSurfaceIsClippedToIt) {
    const std::string wide(120, 'W');
    ASSERT_GT(extent(wide).cx, kWidth);
    const std::vector<std::string_view> lines(10, wide);  // 10 lines of 16 px: 160 > 100
    for (const bool transparent : {false, true}) {
        SCOPED_TRACE(transparent ? "transparent" : "opaque");
        const Size size = draw(lines, kColors, transparent);
        EXPECT_EQ(size.width, kWidth);
        EXPECT_EQ(size.height, kHeight);
        for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x) {
                const uint32_t p = pixel(x, y);
                ASSERT_TRUE((p & kOpaque) == kOpaque || (transparent && p == 0u))
                    << "at " << x << "," << y;
            }
        }
    }
    const Size huge_step = draw({wide, wide}, kColors, false, 0x7FFFFFFF);
    EXPECT_EQ(huge_step.width, kWidth);
}

TEST_F(OverlayDrawingTest, DrawsFromAnotherThread) {
    Size size{};
    std::thread worker([&] { size = draw({kWeapon, kShield}, kColors, true); });
    worker.join();
    EXPECT_EQ(size.width, std::max(extent(kWeapon).cx, extent(kShield).cx));
    EXPECT_GT(count_in(size, kOpaque | pixel_of(kColors.font)), 0);
    EXPECT_GT(count_in(size, 0u), 0);
}

TEST(DrawingSurface, ReportsTheFailingStep) {
    const HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);

    struct Case {
        const char* name;
        HWND window;
        int32_t width;
        int32_t height;
        int expected;
    };
    const Case cases[] = {
        {"destroyed window", gone, 64, 32, kSurfaceGetDcFailed},
        {"zero width", nullptr, 0, 32, kSurfaceDibFailed},
        {"negative height would be top-down", nullptr, 64, -32, kSurfaceDibFailed},
        {"byte size beyond the header's range", nullptr, 0x10000, 0x10000, kSurfaceDibFailed},
        {"ok", nullptr, 64, 32, kSurfaceOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SurfaceResult result = create_drawing_surface(c.window, c.width, c.height);
        EXPECT_EQ(result.failed_step, c.expected);
        EXPECT_EQ(result.surface != nullptr, c.expected == kSurfaceOk);
    }
}

TEST(DrawingSurface, DescribesAWritableBottomUpBufferAndReleasesIt) {
    SurfaceResult result = create_drawing_surface(nullptr, 64, 32);
    ASSERT_EQ(result.failed_step, kSurfaceOk);
    DrawingSurface& surface = *result.surface;
    EXPECT_EQ(surface.width(), 64);
    EXPECT_EQ(surface.height(), 32);
    ASSERT_NE(surface.bits(), nullptr);

    // A GDI pixel at the top-left lands in the last memory row, in 0x00RRGGBB order.
    SetPixelV(surface.dc(), 0, 0, RGB(0x11, 0x22, 0x33));
    GdiFlush();
    EXPECT_EQ(surface.bits()[31 * 64], 0x00112233u);
    surface.bits()[0] = 0x00445566u;  // memory word 0 is the bottom-left pixel
    EXPECT_EQ(GetPixel(surface.dc(), 0, 31), RGB(0x44, 0x55, 0x66));

    const HDC dc = surface.dc();
    const HGDIOBJ dib = GetCurrentObject(dc, OBJ_BITMAP);
    result.surface.reset();
    EXPECT_EQ(GetObjectType(dc), 0u) << "the memory DC is deleted";
    EXPECT_EQ(GetObjectType(dib), 0u) << "the DIB section is deleted";
}

}  // namespace
}  // namespace quilla
