// The host main window's base height per outer width, and the widths that have none.
#include "host/base_height.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

namespace quilla {
namespace {

TEST(BaseHeight, KnownWidthsGiveTheirHeights) {
    // A few of the host's sizes, written out.
    const BaseHeight examples[] = {{326, 289}, {390, 289}, {486, 349}, {620, 433}, {1234, 817}};
    for (const BaseHeight& known : examples) {
        SCOPED_TRACE(known.width);
        EXPECT_EQ(base_height_for_width(known.width), known.height);
    }
    // Every size of the table: its two widths share one height, and the lookup finds it.
    ASSERT_EQ(kBaseHeights.size() % 2, 0u);
    for (std::size_t i = 0; i < kBaseHeights.size(); i += 2) {
        EXPECT_EQ(kBaseHeights[i].height, kBaseHeights[i + 1].height) << kBaseHeights[i].width;
        EXPECT_LT(kBaseHeights[i].width, kBaseHeights[i + 1].width);
    }
    for (const BaseHeight& entry : kBaseHeights) {
        EXPECT_EQ(base_height_for_width(entry.width), entry.height) << entry.width;
    }
}

TEST(BaseHeight, EveryOtherWidthHasNone) {
    std::set<int32_t> known;
    for (const BaseHeight& entry : kBaseHeights) {
        known.insert(entry.width);
    }
    for (int32_t width = -1300; width <= 1300; ++width) {
        if (known.count(width) == 0) {
            ASSERT_EQ(base_height_for_width(width), std::nullopt) << width;
        }
    }
    for (const int32_t width : {std::numeric_limits<int32_t>::max(),
                                std::numeric_limits<int32_t>::min(), 500, 289, 349}) {
        EXPECT_EQ(base_height_for_width(width), std::nullopt) << width;
    }
}

}  // namespace
}  // namespace quilla
