// The input poller's portable part: the exact scan order over stand-in key state, which
// codes can never be produced, and pad button, direction and hat decoding. The pad queries
// and what a key down spares of them are tested against the system's side
// (tests/win/input_poller_win_test.cpp).
#include "input/input_poller.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "input/input_codes.h"

namespace quilla {
namespace {

constexpr JoyCaps kFullRange{0, 65535, 0, 65535};
constexpr JoyPos kCentred{32767, 32767, 0};

// Key state set up by the test, and the keys the scan asked for.
class FakeKeys : public InputCalls {
  public:
    explicit FakeKeys(std::set<int> down = {}) : down_(std::move(down)) {}
    bool key_down(int vk) override {
        queried.push_back(vk);
        return down_.count(vk) != 0;
    }
    std::vector<int> queried;

  private:
    std::set<int> down_;
};

// The first key the scan finds with exactly these keys down.
int32_t scan(std::set<int> down) {
    FakeKeys keys(std::move(down));
    return first_key_down(keys);
}

// The keys the poller scans, in the order it asks for them, as it reports with nothing
// down.
std::vector<int> scan_order() {
    FakeKeys keys;
    first_key_down(keys);
    return keys.queried;
}

TEST(PollInput, NothingDownQueriesEachScannedKeyOnceInTheFixedOrder) {
    FakeKeys keys;
    EXPECT_EQ(first_key_down(keys), kNoInput);
    const std::vector<int> order = keys.queried;
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
        EXPECT_EQ(scan({vk}), vk);
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
        EXPECT_EQ(scan({vk}), kNoInput) << "vk " << vk;
    }
}

TEST(PollInput, EarlierKeyInTheScanWins) {
    const std::vector<int> order = scan_order();
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            ASSERT_EQ(scan({order[i], order[j]}), order[i]) << order[i] << " with " << order[j];
        }
    }
}

TEST(PollInput, HeldKeyIsReportedOnEveryCall) {
    FakeKeys keys({'W'});
    for (int call = 0; call < 5; ++call) {
        EXPECT_EQ(first_key_down(keys), 'W');
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
        EXPECT_EQ(decode_pad(kFullRange, {kCentred.x, kCentred.y, c.buttons}), c.expected)
            << std::hex << "buttons 0x" << c.buttons;
    }
}

TEST(PollInput, EachPadButtonAloneGivesItsNamedCode) {
    for (int bit = 0; bit < 32; ++bit) {
        EXPECT_EQ(input_code_name(decode_pad(kFullRange, {kCentred.x, kCentred.y, 1u << bit})),
                  "Pad " + std::to_string(bit + 1));
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
        EXPECT_EQ(decode_pad(c.caps, c.pos), c.expected) << c.what;
    }
}

// Only the hat's four straight positions are directions (their neighbours on both sides
// are none), after the stick (and so after a button).
TEST(PollInput, HatDirectionsNeedExactlyAStraightPosition) {
    const std::pair<std::vector<uint32_t>, int32_t> rows[] = {
        {{0}, kPadUp},
        {{9000}, kPadRight},
        {{18000}, kPadDown},
        {{27000}, kPadLeft},
        {{1, 4500, 8999, 9001, 17999, 18001, 26999, 27001, 35999, 36000, 0xFFFF}, kNoInput}};
    for (const auto& [hats, expected] : rows) {
        for (uint32_t hat : hats) {
            EXPECT_EQ(decode_pad(kFullRange, {kCentred.x, kCentred.y, 0, hat}), expected) << hat;
        }
    }
    EXPECT_EQ(decode_pad(kFullRange, {kCentred.x, 65535, 0, 0}), kPadDown) << "the stick first";
}

}  // namespace
}  // namespace quilla
