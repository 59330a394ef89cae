// The input poller against a fake key and joystick state: the exact scan order, which
// codes can never be produced, pad button and direction decoding, and the joystick
// failure paths.
#include "input/input_poller.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "input/input_codes.h"

namespace quilla {
namespace {

constexpr JoyCaps kFullRange{0, 65535, 0, 65535};
constexpr JoyPos kCentred{32767, 32767, 0};

// Key and joystick state set up by the test; records what the poller asked.
class FakeInputState final : public InputState {
  public:
    std::set<int> keys_down;
    uint32_t devices = 16;
    std::optional<JoyCaps> caps = kFullRange;
    std::optional<JoyPos> position = kCentred;

    mutable std::vector<int> keys_queried;
    mutable int count_queries = 0;
    mutable int caps_queries = 0;
    mutable int position_queries = 0;

    bool key_down(int vk) const override {
        keys_queried.push_back(vk);
        return keys_down.count(vk) != 0;
    }
    uint32_t joystick_count() const override {
        ++count_queries;
        return devices;
    }
    std::optional<JoyCaps> joystick_caps() const override {
        ++caps_queries;
        return caps;
    }
    std::optional<JoyPos> joystick_position() const override {
        ++position_queries;
        return position;
    }
};

// The keys the poller scans, in the order it asks for them, as it reports with nothing
// down.
std::vector<int> scan_order() {
    FakeInputState state;
    poll_input(state);
    return state.keys_queried;
}

TEST(PollInput, NothingDownQueriesEachScannedKeyOnceInTheFixedOrder) {
    FakeInputState state;
    EXPECT_EQ(poll_input(state), kNoInput);
    const std::vector<int>& order = state.keys_queried;
    ASSERT_EQ(order.size(), 103u);
    EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), order.size()) << "a key twice";
    // The single keys first: mouse left and right, Space, Enter, Ctrl, Shift, the four
    // arrows, Tab, BackSpace, Esc.
    const std::vector<int> single = {1, 2, 32, 13, 17, 16, 37, 38, 39, 40, 9, 8, 27};
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 13), single);
    // Then the runs, ascending: '0'-'9', 'A'-'Z', numeric pad and F1-F24, 0xBA-0xC1,
    // 0xDB-0xDF, 0xE2.
    const std::pair<std::size_t, int> at[] = {{13, '0'},  {22, '9'},   {23, 'A'},  {48, 'Z'},
                                              {49, 0x60}, {88, 0x87},  {89, 0xBA}, {96, 0xC1},
                                              {97, 0xDB}, {101, 0xDF}, {102, 0xE2}};
    for (const auto& [index, vk] : at) {
        EXPECT_EQ(order[index], vk) << "position " << index;
    }
}

TEST(PollInput, EachScannedKeyIsFoundAlone) {
    for (int vk : scan_order()) {
        FakeInputState state;
        state.keys_down = {vk};
        EXPECT_EQ(poll_input(state), vk);
        EXPECT_EQ(state.count_queries, 0) << "pad read although key " << vk << " is down";
    }
}

TEST(PollInput, KeysOutsideTheScanAreNeverReturned) {
    // Among them: F25 (0x88), the Windows keys, 0xC2, 0xE1, and codes out of range.
    std::vector<int> others = {-1,   0,    3,    7,    0x5B, 0x5C, 0x88,
                               0xC2, 0xDA, 0xE1, 0xE3, 0xFF, 256,  1000};
    const std::vector<int> order = scan_order();
    const std::set<int> scanned(order.begin(), order.end());
    for (int vk = 1; vk <= 255; ++vk) {
        if (scanned.count(vk) == 0) {
            others.push_back(vk);
        }
    }
    for (int vk : others) {
        FakeInputState state;
        state.keys_down = {vk};
        EXPECT_EQ(poll_input(state), kNoInput) << "vk " << vk;
    }
}

TEST(PollInput, EarlierKeyInTheScanWins) {
    const std::vector<int> order = scan_order();
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            FakeInputState state;
            state.keys_down = {order[i], order[j]};
            ASSERT_EQ(poll_input(state), order[i]) << order[i] << " with " << order[j];
        }
    }
}

TEST(PollInput, CommonCombinations) {
    struct Case {
        std::set<int> keys;
        uint32_t buttons;
        int32_t expected;
    };
    const Case cases[] = {
        {{17, 'A'}, 0, 17},          // Ctrl+A
        {{13, 32}, 0, 32},           // Enter+Space
        {{'Z', 1}, 0, 1},            // mouse left first
        {{226, 'Q'}, 0, 'Q'},        // letters before 0xE2
        {{'5'}, 1u, '5'},            // a key beats a pad button
        {{18, 16}, 0, 16},           // Alt is never scanned, Shift is
        {{18, 91}, 1u << 4, 0x105},  // only unscanned keys: the pad decides
    };
    for (const Case& c : cases) {
        FakeInputState state;
        state.keys_down = c.keys;
        state.position = JoyPos{kCentred.x, kCentred.y, c.buttons};
        EXPECT_EQ(poll_input(state), c.expected) << "expected " << c.expected;
    }
}

TEST(PollInput, HeldKeyIsReportedOnEveryCall) {
    FakeInputState state;
    state.keys_down = {'W'};
    for (int call = 0; call < 5; ++call) {
        EXPECT_EQ(poll_input(state), 'W');
    }
}

TEST(PollInput, PadButtonsLowestFirst) {
    struct Case {
        uint32_t buttons;
        int32_t expected;
    };
    const Case cases[] = {
        {(1u << 0) | (1u << 4), 0x101},  // buttons 1 and 5
        {1u << 31, 0x132},               // button 32 only
        {1u << 9, 0x110},                // button 10
        {1u << 8, 0x109},                // button 9
        {(1u << 31) | (1u << 19), 0x120},
        {0xFFFFFFFFu, 0x101},
    };
    for (const Case& c : cases) {
        FakeInputState state;
        state.position = JoyPos{kCentred.x, kCentred.y, c.buttons};
        EXPECT_EQ(poll_input(state), c.expected) << std::hex << "buttons 0x" << c.buttons;
    }
}

TEST(PollInput, EachPadButtonAloneGivesItsNamedCode) {
    for (int bit = 0; bit < 32; ++bit) {
        FakeInputState state;
        state.position = JoyPos{kCentred.x, kCentred.y, 1u << bit};
        EXPECT_EQ(input_code_name(poll_input(state)), "Pad " + std::to_string(bit + 1));
    }
}

TEST(PollInput, DirectionsNeedExactlyTheAxisLimit) {
    struct Case {
        const char* what;
        JoyCaps caps;
        JoyPos pos;
        int32_t expected;
    };
    constexpr JoyCaps kOffset{100, 900, 200, 800};
    const Case cases[] = {
        {"centred", kFullRange, {32767, 32767, 0}, kNoInput},
        {"up", kFullRange, {32767, 0, 0}, kPadUp},
        {"down", kFullRange, {32767, 65535, 0}, kPadDown},
        {"left", kFullRange, {0, 32767, 0}, kPadLeft},
        {"right", kFullRange, {65535, 32767, 0}, kPadRight},
        {"one short of up", kFullRange, {32767, 1, 0}, kNoInput},
        {"one short of down", kFullRange, {32767, 65534, 0}, kNoInput},
        {"one short of left", kFullRange, {1, 32767, 0}, kNoInput},
        {"one short of right", kFullRange, {65534, 32767, 0}, kNoInput},
        {"up and right", kFullRange, {65535, 0, 0}, kPadUp},
        {"down and left", kFullRange, {0, 65535, 0}, kPadDown},
        {"up on an offset range", kOffset, {500, 200, 0}, kPadUp},
        {"zero on an offset range", kOffset, {0, 0, 0}, kNoInput},
        {"right on an offset range", kOffset, {900, 500, 0}, kPadRight},
        {"beyond the limit", kOffset, {950, 850, 0}, kNoInput},
        {"button beats direction", kFullRange, {0, 0, 1u << 2}, 0x103},
    };
    for (const Case& c : cases) {
        FakeInputState state;
        state.caps = c.caps;
        state.position = c.pos;
        EXPECT_EQ(poll_input(state), c.expected) << c.what;
    }
}

TEST(PollInput, NoPadMeansNoInput) {
    const JoyPos pressed{0, 0, 1u};  // would be button 1 if it were read
    struct Case {
        const char* what;
        uint32_t devices;
        std::optional<JoyCaps> caps;
        std::optional<JoyPos> position;
        int caps_queries;
        int position_queries;
    };
    const Case cases[] = {
        {"no joystick service", 0, kFullRange, pressed, 0, 0},
        {"capabilities fail", 16, std::nullopt, pressed, 1, 0},
        {"position fails", 16, kFullRange, std::nullopt, 1, 1},
    };
    for (const Case& c : cases) {
        FakeInputState state;
        state.devices = c.devices;
        state.caps = c.caps;
        state.position = c.position;
        EXPECT_EQ(poll_input(state), kNoInput) << c.what;
        EXPECT_EQ(state.caps_queries, c.caps_queries) << c.what;
        EXPECT_EQ(state.position_queries, c.position_queries) << c.what;
    }
}

TEST(PollInput, CapabilitiesAreReadOnEveryCall) {
    FakeInputState state;
    state.caps = JoyCaps{0, 100, 0, 100};
    state.position = JoyPos{50, 0, 0};
    EXPECT_EQ(poll_input(state), kPadUp);
    state.caps = JoyCaps{0, 100, 10, 100};  // the pad was recalibrated
    EXPECT_EQ(poll_input(state), kNoInput);
    EXPECT_EQ(state.caps_queries, 2);
}

}  // namespace
}  // namespace quilla
