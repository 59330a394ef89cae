// The host main window's base height per outer width, and the widths that have none.
#include "host/base_height.h"

#include <gtest/gtest.h>

#include <limits>

namespace quilla {
namespace {

struct KnownWidth {
    int32_t width;
    int32_t height;
};

// The host's window sizes: two outer widths per size, one normal outer height each.
constexpr KnownWidth kKnownWidths[] = {
    {326, 289}, {390, 289}, {406, 349}, {486, 349}, {518, 433},  {620, 433},
    {646, 529}, {774, 529}, {806, 649}, {966, 649}, {1030, 817}, {1234, 817},
};

TEST(BaseHeight, EveryKnownWidthHasItsHeight) {
    for (const KnownWidth& known : kKnownWidths) {
        SCOPED_TRACE(known.width);
        EXPECT_EQ(base_height_for_width(known.width), known.height);
    }
}

TEST(BaseHeight, NeighboursOfKnownWidthsHaveNone) {
    for (const KnownWidth& known : kKnownWidths) {
        SCOPED_TRACE(known.width);
        EXPECT_EQ(base_height_for_width(known.width - 1), std::nullopt);
        EXPECT_EQ(base_height_for_width(known.width + 1), std::nullopt);
    }
}

TEST(BaseHeight, OtherWidthsHaveNone) {
    constexpr int32_t kOther[] = {
        385,  // between two sizes
        391,
        0,
        -1,
        -486,  // a negative of a known width
        289,   // a base height is not a width
        349,
        500,  // a plausible window width the host never uses
        std::numeric_limits<int32_t>::max(),
        std::numeric_limits<int32_t>::min(),
    };
    for (int32_t width : kOther) {
        SCOPED_TRACE(width);
        EXPECT_EQ(base_height_for_width(width), std::nullopt);
    }
}

}  // namespace
}  // namespace quilla
