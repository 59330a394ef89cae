// Builds the name table at compile time and looks a code's name up in it.
#include "input/input_codes.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "base/program_texts.h"

namespace quilla {
namespace {

constexpr int32_t kLastNamedCode = kPadRight;

// One name held in place, so the whole table can be a compile-time constant.
struct Name {
    std::array<char, 12> bytes{};
    std::size_t size = 0;

    constexpr Name& append(std::string_view text) {
        for (char c : text) {
            bytes[size++] = c;
        }
        return *this;
    }
    constexpr Name& append_number(int number) {
        if (number >= 10) {
            bytes[size++] = static_cast<char>('0' + number / 10);
        }
        bytes[size++] = static_cast<char>('0' + number % 10);
        return *this;
    }
    constexpr std::string_view view() const { return {bytes.data(), size}; }
};

constexpr Name text_name(std::string_view text) {
    return Name{}.append(text);
}

constexpr Name numbered_name(std::string_view prefix, int number) {
    return Name{}.append(prefix).append_number(number);
}

struct FixedName {
    int32_t code;
    std::string_view name;
};

// Names that are not part of a numbered run. The punctuation names are the legends of the
// Japanese keyboard layout: 220 is the single byte 0x5C (shown as a yen sign by Japanese
// fonts), 226 the full-width reverse solidus 0x81 0x5F.
constexpr FixedName kFixedNames[] = {
    {0x01, "Mouse L"},
    {0x02, "Mouse R"},
    {0x08, "BackSpace"},
    {0x09, "Tab"},
    {0x0D, "Enter"},
    {0x10, "Shift"},
    {0x11, "Ctrl"},
    {0x1B, "Esc"},
    {0x20, "Space"},
    {0x25, texts::kKeyLeft},
    {0x26, texts::kKeyUp},
    {0x27, texts::kKeyRight},
    {0x28, texts::kKeyDown},
    {0x6A, "Num *"},
    {0x6B, "Num +"},
    {0x6C, "Num ,"},
    {0x6D, "Num -"},
    {0x6E, "Num ."},
    {0x6F, "Num /"},
    {0xBA, ":"},
    {0xBB, ";"},
    {0xBC, ","},
    {0xBD, "-"},
    {0xBE, "."},
    {0xBF, "/"},
    {0xC0, "@"},
    {0xDB, "["},
    {0xDC, "\\"},
    {0xDD, "]"},
    {0xDE, "^"},
    {0xE2, texts::kKeyBackslash},
    {kPadUp, texts::kPadKeyUp},
    {kPadDown, texts::kPadKeyDown},
    {kPadLeft, texts::kPadKeyLeft},
    {kPadRight, texts::kPadKeyRight},
};

using NameTable = std::array<Name, kLastNamedCode + 1>;

constexpr NameTable build_name_table() {
    NameTable table{};
    for (const FixedName& fixed : kFixedNames) {
        table[static_cast<std::size_t>(fixed.code)] = text_name(fixed.name);
    }
    for (int digit = 0; digit <= 9; ++digit) {
        table[static_cast<std::size_t>(0x30 + digit)] = numbered_name("", digit);
        table[static_cast<std::size_t>(0x60 + digit)] = numbered_name("Num ", digit);
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        table[static_cast<std::size_t>(letter)] = text_name(std::string_view(&letter, 1));
    }
    for (int f = 1; f <= 24; ++f) {
        table[static_cast<std::size_t>(0x6F + f)] = numbered_name("F", f);
    }
    for (int button = 1; button <= kPadButtonCount; ++button) {
        table[static_cast<std::size_t>(pad_button_code(button))] = numbered_name("Pad ", button);
    }
    return table;
}

constexpr NameTable kNames = build_name_table();

}  // namespace

std::string input_code_name(int32_t code) {
    if (code < 0 || code > kLastNamedCode) {
        return {};
    }
    return std::string(kNames[static_cast<std::size_t>(code)].view());
}

}  // namespace quilla
