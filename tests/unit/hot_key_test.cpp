// The hot-key press counter: one toggle per press, re-armed by a release, by the switch
// going off, or by another input masking the hot key.
#include "input/hot_key.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "input/input_codes.h"

namespace quilla {
namespace {

constexpr int32_t kF5 = 116;
constexpr int32_t kPad10 = 0x110;

struct Pass {
    bool hook;
    int32_t polled;
    bool toggles;
};

// Feeds the passes in order to one counter and checks each pass's result.
void expect_toggles(const char* what, int32_t hot_key, const std::vector<Pass>& passes) {
    HotKeyPress press;
    for (std::size_t i = 0; i < passes.size(); ++i) {
        EXPECT_EQ(press.update(passes[i].hook, passes[i].polled, hot_key), passes[i].toggles)
            << what << ", pass " << i;
    }
}

TEST(HotKeyPress, TogglesOncePerPress) {
    expect_toggles("held key toggles once", kF5,
                   {{true, kF5, true}, {true, kF5, false}, {true, kF5, false}, {true, kF5, false}});
    expect_toggles("release and press again", kF5,
                   {{true, kF5, true},
                    {true, kF5, false},
                    {true, kNoInput, false},
                    {true, kF5, true},
                    {true, kF5, false}});
    expect_toggles("pad button as the hot key", kPad10,
                   {{true, kPad10, true}, {true, kNoInput, false}, {true, kPad10, true}});
    expect_toggles("other inputs never toggle", kF5,
                   {{true, 'A', false}, {true, kNoInput, false}, {true, kPad10, false}});
}

TEST(HotKeyPress, SwitchOffReArms) {
    expect_toggles("switch off while held", kF5,
                   {{true, kF5, true},
                    {true, kF5, false},
                    {false, kNoInput, false},
                    {true, kF5, true},
                    {true, kF5, false}});
    // Even if a caller polled while the switch is off, the pass must not count.
    expect_toggles("switch off with the key seen", kF5,
                   {{false, kF5, false}, {false, kF5, false}, {true, kF5, true}});
}

TEST(HotKeyPress, MaskingByAnEarlierInputReArms) {
    // Ctrl (17) comes before F5 in the scan: holding it hides F5, and letting go of it
    // makes F5 a new press.
    expect_toggles("masked by Ctrl", kF5,
                   {{true, kF5, true}, {true, 17, false}, {true, 17, false}, {true, kF5, true}});
}

TEST(HotKeyPress, NoInputNeverMatches) {
    // A hot key of 0 is the default and the poller never yields 0; a settings file may
    // also hold -1, which must not turn "nothing pressed" into a press.
    expect_toggles("hot key 0", kNoKey,
                   {{true, kNoInput, false}, {true, 'A', false}, {true, kNoInput, false}});
    expect_toggles("hot key -1", kNoInput,
                   {{true, kNoInput, false}, {true, 'A', false}, {true, kNoInput, false}});
}

TEST(HotKeyPress, CountsHeldPassesAndSaturates) {
    HotKeyPress press;
    for (uint32_t i = 1; i <= 3; ++i) {
        press.update(true, kF5, kF5);
        EXPECT_EQ(press.held_passes(), i);
    }
    press.update(true, kNoInput, kF5);
    EXPECT_EQ(press.held_passes(), 0u);

    // A key held for longer than the counter can count must not come round to a new press.
    constexpr uint32_t kMax = std::numeric_limits<uint32_t>::max();
    HotKeyPress long_held(kMax - 1);
    EXPECT_FALSE(long_held.update(true, kF5, kF5));
    EXPECT_EQ(long_held.held_passes(), kMax);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(long_held.update(true, kF5, kF5));
        EXPECT_EQ(long_held.held_passes(), kMax);
    }
    EXPECT_FALSE(long_held.update(true, kNoInput, kF5));
    EXPECT_TRUE(long_held.update(true, kF5, kF5));
}

}  // namespace
}  // namespace quilla
