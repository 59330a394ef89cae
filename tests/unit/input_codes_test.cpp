// Display names of the input codes: the edges of every run, the byte-exact Shift-JIS
// names, and the codes that must stay unnamed.
#include "input/input_codes.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>

namespace quilla {
namespace {

struct NamedCode {
    int32_t code;
    std::string name;
};

TEST(InputCodeName, NamesAtTheEdgesOfEachRun) {
    const NamedCode cases[] = {
        {1, "Mouse L"},
        {2, "Mouse R"},
        {8, "BackSpace"},
        {27, "Esc"},
        {32, "Space"},
        {37, "\x81\xA9"},  // ←
        {38, "\x81\xAA"},  // ↑
        {39, "\x81\xA8"},  // →
        {40, "\x81\xAB"},  // ↓
        {48, "0"},
        {57, "9"},
        {65, "A"},
        {90, "Z"},
        {96, "Num 0"},
        {105, "Num 9"},
        {106, "Num *"},
        {108, "Num ,"},
        {111, "Num /"},
        {112, "F1"},
        {121, "F10"},
        {135, "F24"},
        {186, ":"},
        {192, "@"},
        {219, "["},
        {220, "\x5C"},
        {222, "^"},
        {226, "\x81\x5F"},
        {257, "Pad 1"},
        {265, "Pad 9"},
        {272, "Pad 10"},
        {281, "Pad 19"},
        {288, "Pad 20"},
        {304, "Pad 30"},
        {306, "Pad 32"},
        {307, "Pad \x81\xAA"},  // ↑
        {308, "Pad \x81\xAB"},  // ↓
        {309, "Pad \x81\xA9"},  // ←
        {310, "Pad \x81\xA8"},  // →
    };
    for (const auto& [code, name] : cases) {
        EXPECT_EQ(input_code_name(code), name) << "code " << code;
    }
}

TEST(InputCodeName, UnassignedCodesHaveNoName) {
    const int32_t unnamed[] = {
        std::numeric_limits<int32_t>::min(),
        -1,
        0,
        3,
        18,  // Alt
        47,
        58,
        64,
        91,
        136,
        185,
        193,  // scanned by the poller but unnamed
        223,  // scanned by the poller but unnamed
        227,
        255,
        256,
        266,
        271,
        282,
        287,
        298,
        303,
        311,
        0x1000,
        std::numeric_limits<int32_t>::max(),
    };
    for (int32_t code : unnamed) {
        EXPECT_EQ(input_code_name(code), "") << "code " << code;
    }
}

TEST(InputCodeName, EveryPadButtonIsNamedByItsNumber) {
    // Button n's code spells n's decimal digits in hexadecimal.
    const std::pair<int, int32_t> buttons[] = {{1, 0x101},  {9, 0x109},  {10, 0x110}, {15, 0x115},
                                               {19, 0x119}, {20, 0x120}, {29, 0x129}, {32, 0x132}};
    for (const auto& [n, code] : buttons) {
        EXPECT_EQ(input_code_name(code), "Pad " + std::to_string(n)) << "button " << n;
        EXPECT_EQ(pad_button_code(n), code) << "button " << n;
    }
    for (int32_t code = 0x100; code <= 0x132; ++code) {
        if ((code & 0xF) >= 0xA) {
            EXPECT_EQ(input_code_name(code), "") << "code " << code;
        }
    }
}

TEST(InputCodeName, ExactlyOneHundredThirtySevenCodesAreNamed) {
    int named = 0;
    for (int32_t code = -1024; code <= 0x10000; ++code) {
        if (!input_code_name(code).empty()) {
            ++named;
        }
    }
    EXPECT_EQ(named, 137);
}

TEST(InputCodeName, DigitsAndLettersAreTheCharacterItself) {
    for (char c = '0'; c <= '9'; ++c) {
        EXPECT_EQ(input_code_name(c), std::string(1, c));
    }
    for (char c = 'A'; c <= 'Z'; ++c) {
        EXPECT_EQ(input_code_name(c), std::string(1, c));
    }
    const std::pair<int32_t, const char*> function_keys[] = {
        {0x70, "F1"}, {0x79, "F10"}, {0x7B, "F12"}, {0x80, "F17"}, {0x87, "F24"}};
    for (const auto& [code, name] : function_keys) {
        EXPECT_EQ(input_code_name(code), name);
    }
}

}  // namespace
}  // namespace quilla
