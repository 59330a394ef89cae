// The settings file "QuillaWS.txt": one line of key=value for each row of kSettingKeys, in
// its order, read once at start-up and written once at exit. This file holds the format
// only: the values, the reader and the writer, on bytes. Opening files, the overlay font
// and the inventory window request live in app/settings_file_win.cpp.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

#include "base/program_texts.h"
#include "base/text.h"
#include "config/options.h"

namespace quilla {

inline constexpr int32_t kPositionAbsent = std::numeric_limits<int32_t>::min();
inline constexpr int32_t kDefaultWait = 100;
// A smaller pause would spin the render worker and break the shutdown bound.
inline constexpr int32_t kLeastWait = 1;
inline constexpr std::size_t kMaxFontFaceBytes = 31;
inline constexpr char kSettingsFileName[] = "QuillaWS.txt";
inline constexpr auto& kDefaultFontFace = texts::kDefaultFontFace;
inline constexpr auto& kDefaultNothingText = texts::kDefaultNothingText;

// Where the overlay sits ("Pos="). The setting holds whatever number its file gave; only
// these values have a meaning, and any other behaves as free placement.
enum PositionMode : int32_t {
    kPositionStopping = 0,  // set while the program ends: no more pinning or host resizing
    kPositionFree = 1,      // where the user drags it
    kPositionPinned = 2,    // its lower-left corner on that of the host's client area
    kPositionExtended = 3,  // the host grown by the overlay's height, the overlay in the strip
};

// The settings whose value the record owns: the part of the file that the render worker,
// the configuration dialog and the start-up request read (see DisplaySettings in
// config/live_settings.h). Created holding the defaults of its rows of kSettingKeys.
struct SettingsRecord {
    SettingsRecord();

    uint32_t font_color = 0;
    uint32_t back_color = 0;
    uint32_t edge_color = 0;
    std::string weapon_text;
    std::string shield_text;
    std::string amulet_text;
    int32_t wait = 0;
    int32_t item_window = 0;
    int32_t hook = 0;
    int32_t hook_key = 0;

    bool operator==(const SettingsRecord&) const = default;
};

// Everything the settings file stores: the record, and the values the running program
// owns, which it takes at start-up and which are read from it again at exit (where the
// overlay opens, the option states, the position mode, the face and height the overlay
// font is made with). Created holding every default of kSettingKeys.
struct SettingsValues {
    SettingsValues();
    // The defaults of the program's values beside the record.
    explicit SettingsValues(SettingsRecord values);

    SettingsRecord record;
    // The overlay's top-left corner on the screen.
    int32_t x = 0;
    int32_t y = 0;
    OptionStates options{};
    int32_t pos = 0;
    std::string font_face;
    int32_t font_size = 0;

    bool operator==(const SettingsValues&) const = default;
};

// How a key's value is read and written.
enum class SettingKind {
    kNumber,  // a signed decimal; beyond the int32 range it stops at the nearest limit
    kColour,  // written unsigned; read up to 4294967295, a negative number keeps its bits
    kText,    // the raw bytes up to the line's end, ending on a whole character
    kOption,  // a display option's state, a signed decimal (see config/options.h)
};

// Who owns a key's value: the record, or the running program (read from it at exit).
enum class SettingOwner { kRecord, kProgram };

// One line of the settings file: its key (without "="), whose value it is, where that
// value lives, and its default. Exactly one of the field pointers is set, the one of its
// kind and owner; an option names its place in kOptions, whose key and default it takes,
// and belongs to the program.
struct SettingKey {
    const char* key;
    SettingKind kind;
    SettingOwner owner = SettingOwner::kRecord;
    int32_t SettingsRecord::*record_number = nullptr;
    uint32_t SettingsRecord::*record_colour = nullptr;
    std::string SettingsRecord::*record_text = nullptr;
    int32_t SettingsValues::*program_number = nullptr;
    std::string SettingsValues::*program_text = nullptr;
    std::size_t option = 0;
    int64_t default_number = 0;  // of a number, a colour or an option
    const char* default_text = "";
    // A number below least reads as the default; a text holds at most max_bytes bytes.
    int32_t least = std::numeric_limits<int32_t>::min();
    std::size_t max_bytes = std::numeric_limits<std::size_t>::max();
};

namespace setting_keys {

using Record = SettingsRecord;
using Program = SettingsValues;

constexpr SettingKey number(const char* key, int32_t Record::*field, int32_t fallback,
                            int32_t least = std::numeric_limits<int32_t>::min()) {
    SettingKey k{key, SettingKind::kNumber};
    k.record_number = field;
    k.default_number = fallback;
    k.least = least;
    return k;
}

constexpr SettingKey number(const char* key, int32_t Program::*field, int32_t fallback) {
    SettingKey k{key, SettingKind::kNumber, SettingOwner::kProgram};
    k.program_number = field;
    k.default_number = fallback;
    return k;
}

constexpr SettingKey colour(const char* key, uint32_t Record::*field, uint32_t fallback) {
    SettingKey k{key, SettingKind::kColour};
    k.record_colour = field;
    k.default_number = fallback;
    return k;
}

constexpr SettingKey text(const char* key, std::string Record::*field, const char* fallback,
                          std::size_t max_bytes) {
    SettingKey k{key, SettingKind::kText};
    k.record_text = field;
    k.default_text = fallback;
    k.max_bytes = max_bytes;
    return k;
}

constexpr SettingKey text(const char* key, std::string Program::*field, const char* fallback,
                          std::size_t max_bytes) {
    SettingKey k{key, SettingKind::kText, SettingOwner::kProgram};
    k.program_text = field;
    k.default_text = fallback;
    k.max_bytes = max_bytes;
    return k;
}

// The option with that id; an id that is not an option does not compile.
constexpr SettingKey option(OptionId id) {
    std::size_t index = 0;
    while (kOptions.at(index).id != id) {
        ++index;
    }
    SettingKey k{kOptions[index].key, SettingKind::kOption, SettingOwner::kProgram};
    k.option = index;
    k.default_number = kOptions[index].default_state;
    return k;
}

}  // namespace setting_keys

// The keys in the order the file is written and every line is tested against them. A row
// with a field of Program belongs to the running program, one with a field of Record to
// the record. A new setting is one row here and its field above.
inline constexpr auto kSettingKeys = [] {
    using namespace setting_keys;
    return std::to_array<SettingKey>({
        number("x", &Program::x, kPositionAbsent),
        number("y", &Program::y, kPositionAbsent),
        option(kOptionTopMost),
        option(kOptionTransparent),
        option(kOptionWeapon),
        option(kOptionShield),
        option(kOptionAmulet),
        option(kOptionMaru),
        option(kOptionIn),
        option(kOptionUtsuwa),
        number("Pos", &Program::pos, kPositionFree),
        number("ItemWindow", &Record::item_window, 0),
        number("hook", &Record::hook, 0),
        number("hookKey", &Record::hook_key, 0),
        text("Font", &Program::font_face, kDefaultFontFace, kMaxFontFaceBytes),
        number("FontSize", &Program::font_size, 16),
        text("WeaponText", &Record::weapon_text, kDefaultNothingText, kLineBytes),
        text("ShieldText", &Record::shield_text, kDefaultNothingText, kLineBytes),
        text("AmuletText", &Record::amulet_text, kDefaultNothingText, kLineBytes),
        colour("BackColor", &Record::back_color, 0x000000),
        colour("FontColor", &Record::font_color, 0xFFFFFF),
        colour("EdgeColor", &Record::edge_color, 0x000000),
        number("Wait", &Record::wait, kDefaultWait, kLeastWait),
    });
}();

// Reads the file's bytes over the defaults. The file is read in text mode: CR LF becomes
// LF, and lines come in pieces of at most kSettingsPieceBytes bytes, each handled as a line
// of its own and tested against every key of kSettingKeys in order (the last line of a key
// wins). After every piece, while ItemWindow is non-zero, on_item_window_piece is called
// (the start-up request that makes the host open its inventory window).
// Sound values where the file's own would do harm: a Font value is cut to 31 bytes
// without splitting a double-byte character, and a Wait below kLeastWait keeps 100.
SettingsValues parse_settings(std::string_view file_bytes,
                              const std::function<void()>& on_item_window_piece = {});

// One line for each row of kSettingKeys, each ended by CR LF.
std::string format_settings(const SettingsValues& values);

// How long shutdown waits for the render worker: Wait x 100 ms, without overflow, and
// never the infinite wait.
uint32_t worker_stop_timeout_ms(int32_t wait) noexcept;

}  // namespace quilla
