// The overlay's layout maths: size from measured lines, line positions, alpha keying of
// the bottom-up pixel buffer, and placement against the host window.
#include "overlay/overlay_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace quilla {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

using Extents = std::vector<std::optional<Size>>;

TEST(OverlaySizeFromExtents, WidestLineBySumOfHeights) {
    struct Case {
        const char* name;
        Extents extents;
        Size expected;
    };
    const Case cases[] = {
        {"three lines", {Size{100, 16}, Size{80, 17}, Size{120, 18}}, {120, 51}},
        {"widest first", {Size{90, 16}, Size{10, 16}}, {90, 32}},
        {"failed measurement adds nothing", {Size{50, 16}, std::nullopt, Size{70, 18}}, {70, 34}},
        {"no lines", {}, {20, 20}},
        {"every measurement failed", {std::nullopt, std::nullopt}, {20, 20}},
        {"zero width alone becomes 20", {Size{0, 16}, Size{0, 16}}, {20, 32}},
        {"zero height alone becomes 20", {Size{30, 0}}, {30, 20}},
        {"small but non-zero stays", {Size{1, 1}}, {1, 1}},
        {"heights saturate", {Size{10, kMax}, Size{12, 5}}, {12, kMax}},
        {"negative extents count as zero", {Size{-5, -5}, Size{10, 10}}, {10, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Size size = overlay_size_from_extents(c.extents);
        EXPECT_EQ(size.width, c.expected.width);
        EXPECT_EQ(size.height, c.expected.height);
    }
}

TEST(LineBands, StepsDownByTheLineStepOrByMeasuredHeights) {
    struct Case {
        const char* name;
        int32_t step;
        Extents extents;
        std::vector<LineBand> expected;
    };
    const Case cases[] = {
        {"positive step",
         16,
         {Size{5, 16}, Size{5, 16}, Size{5, 16}},
         {{0, 16}, {16, 16}, {32, 16}}},
        {"step ignores a failed measurement",
         16,
         {std::nullopt, Size{5, 16}, Size{5, 16}},
         {{0, 16}, {16, 16}, {32, 16}}},
        {"step differs from extents", 20, {Size{5, 16}, Size{5, 16}}, {{0, 20}, {20, 20}}},
        {"smallest positive step", 1, {Size{5, 16}, Size{5, 16}}, {{0, 1}, {1, 1}}},
        {"negative step stacks by height",
         -20,
         {Size{5, 22}, Size{5, 23}, Size{5, 22}},
         {{0, 22}, {22, 23}, {45, 22}}},
        {"zero step, failed line takes no room",
         0,
         {Size{5, 15}, std::nullopt, Size{5, 15}},
         {{0, 15}, {15, 0}, {15, 15}}},
        {"negative heights count as zero", -1, {Size{5, -7}, Size{5, 9}}, {{0, 0}, {0, 9}}},
        {"saturates",
         kMax,
         {Size{5, 1}, Size{5, 1}, Size{5, 1}},
         {{0, kMax}, {kMax, kMax}, {kMax, kMax}}},
        {"no lines", 16, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(line_bands(c.step, c.extents), c.expected);
    }
}

TEST(AlphaKey, SwapsRedAndBlueAndDropsTheHighByte) {
    struct Case {
        uint32_t colorref;
        uint32_t key;
    };
    const Case cases[] = {
        {0x00112233u, 0x00332211u}, {0x000000FFu, 0x00FF0000u}, {0x00FF0000u, 0x000000FFu},
        {0x0000FF00u, 0x0000FF00u}, {0x00FFFFFFu, 0x00FFFFFFu}, {0x00000000u, 0x00000000u},
        {0xFF112233u, 0x00332211u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.colorref);
        EXPECT_EQ(alpha_key(c.colorref), c.key);
    }
}

TEST(ClipToSurface, ClampsEachSideOnItsOwn) {
    struct Case {
        Size used;
        int32_t surface_width;
        int32_t surface_height;
        Size expected;
    };
    const Case cases[] = {
        {{10, 10}, 100, 50, {10, 10}},   {{300, 10}, 100, 50, {100, 10}},
        {{10, 300}, 100, 50, {10, 50}},  {{-3, kMax}, 100, 50, {0, 50}},
        {{10, 10}, -1, 0, {0, 0}},       {{100, 50}, 100, 50, {100, 50}},  // exactly the surface
        {{101, 51}, 100, 50, {100, 50}},                                   // one past it
        {{0, 0}, 100, 50, {0, 0}},       {{-1, -1}, 100, 50, {0, 0}},
    };
    for (const Case& c : cases) {
        const Size clipped = clip_to_surface(c.used, c.surface_width, c.surface_height);
        EXPECT_EQ(clipped.width, c.expected.width);
        EXPECT_EQ(clipped.height, c.expected.height);
    }
}

// A small bottom-up pixel buffer with guard words on both sides, addressed the way the
// drawing calls count: (x, y) from the top-left.
class FakeSurface {
  public:
    static constexpr std::size_t kGuard = 8;
    static constexpr uint32_t kGuardValue = 0xDEADBEEFu;

    FakeSurface(int32_t width, int32_t height, uint32_t fill)
        : width_(width),
          height_(height),
          words_(kGuard + static_cast<std::size_t>(width * height) + kGuard, kGuardValue) {
        for (std::size_t i = 0; i < static_cast<std::size_t>(width * height); ++i) {
            bits()[i] = fill;
        }
    }
    uint32_t* bits() { return words_.data() + kGuard; }
    uint32_t& at(int32_t x, int32_t y) {
        return bits()[static_cast<std::size_t>((height_ - 1 - y) * width_ + x)];
    }
    bool guards_intact() const {
        const std::size_t tail = words_.size() - kGuard;
        for (std::size_t i = 0; i < kGuard; ++i) {
            if (words_[i] != kGuardValue || words_[tail + i] != kGuardValue) {
                return false;
            }
        }
        return true;
    }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

  private:
    int32_t width_;
    int32_t height_;
    std::vector<uint32_t> words_;
};

constexpr uint32_t kBack = 0x00302010u;     // colour reference: red 0x10, green 0x20, blue 0x30
constexpr uint32_t kBackKey = 0x00102030u;  // the same colour as a pixel
constexpr uint32_t kText = 0x00ABCDEFu;
constexpr uint32_t kUntouched = 0x12345678u;

TEST(ApplyAlpha, KeysBackColourPixelsOnlyWhenTransparent) {
    struct Case {
        const char* name;
        uint32_t pixel;
        bool transparent;
        uint32_t expected;
    };
    const Case cases[] = {
        {"key, transparent", kBackKey, true, 0u},
        {"key, opaque", kBackKey, false, 0xFF000000u | kBackKey},
        {"text, transparent", kText, true, 0xFF000000u | kText},
        {"text, opaque", kText, false, 0xFF000000u | kText},
        {"key colour with alpha set is no key", 0x01000000u | kBackKey, true,
         0xFF000000u | kBackKey},
        {"colour-reference order is no key", kBack, true, 0xFF000000u | kBack},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSurface surface(3, 2, c.pixel);
        apply_alpha(surface.bits(), 3, 2, Size{3, 2}, kBack, c.transparent);
        for (int32_t y = 0; y < 2; ++y) {
            for (int32_t x = 0; x < 3; ++x) {
                EXPECT_EQ(surface.at(x, y), c.expected) << "at " << x << "," << y;
            }
        }
        EXPECT_TRUE(surface.guards_intact());
    }
}

TEST(ApplyAlpha, TouchesOnlyTheUsedRectangleCountedFromTheTop) {
    FakeSurface surface(5, 4, kUntouched);
    surface.at(0, 0) = kBackKey;
    surface.at(1, 1) = kText;
    surface.at(3, 0) = kBackKey;  // outside the used width
    surface.at(0, 3) = kBackKey;  // outside the used height
    apply_alpha(surface.bits(), 5, 4, Size{2, 2}, kBack, true);

    EXPECT_EQ(surface.at(0, 0), 0u);
    EXPECT_EQ(surface.at(1, 1), 0xFF000000u | kText);
    EXPECT_EQ(surface.at(1, 0), 0xFF000000u | kUntouched);
    EXPECT_EQ(surface.at(0, 1), 0xFF000000u | kUntouched);
    EXPECT_EQ(surface.at(3, 0), kBackKey);
    EXPECT_EQ(surface.at(0, 3), kBackKey);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 5; ++x) {
            if (x >= 2 || y >= 2) {
                EXPECT_NE(surface.at(x, y) & 0xFF000000u, 0xFF000000u) << "at " << x << "," << y;
            }
        }
    }
    // The top image row is the last row in memory, the bottom row the first.
    EXPECT_EQ(surface.bits()[3 * 5 + 1], 0xFF000000u | kUntouched);
    EXPECT_EQ(surface.bits()[1], kUntouched);
}

TEST(ApplyAlpha, ClipsAUsedRectangleLargerThanTheSurface) {
    struct Case {
        Size used;
        Size touched;  // of the 4x3 surface
    };
    const Case cases[] = {
        {{6, 2}, {4, 2}}, {{2, 9}, {2, 3}}, {{100, 100}, {4, 3}}, {{kMax, kMax}, {4, 3}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.used.width << "x" << c.used.height);
        FakeSurface surface(4, 3, kText);
        apply_alpha(surface.bits(), 4, 3, c.used, kBack, false);
        EXPECT_TRUE(surface.guards_intact());
        for (int32_t y = 0; y < 3; ++y) {
            for (int32_t x = 0; x < 4; ++x) {
                const bool inside = x < c.touched.width && y < c.touched.height;
                EXPECT_EQ(surface.at(x, y), inside ? (0xFF000000u | kText) : kText)
                    << "at " << x << "," << y;
            }
        }
    }
}

TEST(ApplyAlpha, IgnoresEmptyOrInvalidInputs) {
    FakeSurface surface(4, 3, kBackKey);
    apply_alpha(surface.bits(), 4, 3, Size{0, 3}, kBack, true);
    apply_alpha(surface.bits(), 4, 3, Size{4, 0}, kBack, true);
    apply_alpha(surface.bits(), 4, 3, Size{-4, -3}, kBack, true);
    apply_alpha(surface.bits(), 0, 3, Size{4, 3}, kBack, true);
    apply_alpha(surface.bits(), -4, -3, Size{4, 3}, kBack, true);
    apply_alpha(nullptr, 4, 3, Size{4, 3}, kBack, true);
    EXPECT_TRUE(surface.guards_intact());
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            EXPECT_EQ(surface.at(x, y), kBackKey);
        }
    }
}

TEST(ExtendedHostHeight, GrowsTheHostByTheOverlayHeight) {
    struct Case {
        const char* name;
        int32_t width;
        int32_t height;
        int32_t overlay_height;
        std::optional<int32_t> expected;
    };
    const Case cases[] = {
        {"390 x 289, overlay 40", 390, 289, 40, 329},
        {"overlay grows to 60", 390, 329, 60, 349},
        {"overlay shrinks to 20", 390, 349, 20, 309},
        {"already extended", 390, 329, 40, std::nullopt},
        {"other table width", 486, 400, 20, 369},
        {"width not in the table", 391, 289, 40, std::nullopt},
        {"width not in the table, any height", 500, 10, 40, std::nullopt},
        {"negative overlay height never shrinks below base", 390, 250, -10, 289},
        {"no overflow", 390, 289, kMax, kMax},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(extended_host_height(c.width, c.height, c.overlay_height), c.expected);
    }
}

TEST(AnchorToClientBottomLeft, PutsTheOverlaysBottomOnTheClientBottom) {
    struct Case {
        Point client_bottom_left;
        int32_t overlay_height;
        Point expected;
    };
    const Case cases[] = {
        {{10, 500}, 40, {10, 460}},   {{-5, 0}, 20, {-5, -20}}, {{7, kMin}, 1, {7, kMin}},
        {{0, kMax}, kMin, {0, kMax}}, {{0, 100}, 0, {0, 100}},
    };
    for (const Case& c : cases) {
        const Point top_left = anchor_to_client_bottom_left(c.client_bottom_left, c.overlay_height);
        EXPECT_EQ(top_left.x, c.expected.x);
        EXPECT_EQ(top_left.y, c.expected.y);
    }
}

}  // namespace
}  // namespace quilla
