// The settings file "QuillaWS.txt": 23 lines of key=value in a fixed order, read once at
// start-up and written once at exit. This file holds the format only: the values, the
// reader and the writer, on bytes. Opening files, the overlay font and the inventory
// window request live in app/settings_file_win.cpp.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

#include "base/program_texts.h"
#include "config/options.h"

namespace quilla {

inline constexpr int32_t kPositionAbsent = std::numeric_limits<int32_t>::min();
inline constexpr int32_t kDefaultWait = 100;
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

// The settings the program runs with, beside the overlay font: the part of the file that
// the render worker, the configuration dialog and the start-up request read (see
// DisplaySettings in config/live_settings.h). Created holding every default of
// kSettingKeys.
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

  protected:
    struct Unset {};
    explicit SettingsRecord(Unset) {}
};

// Everything the settings file stores: the record, and what is kept beside it (where the
// overlay opens, the option states, the position mode, the face and height the overlay
// font is made with). Created holding every default of kSettingKeys.
struct SettingsValues : SettingsRecord {
    SettingsValues();
    // The defaults, with the record's values in place of the record's defaults.
    explicit SettingsValues(const SettingsRecord& record);

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

// One line of the settings file: its key (without "="), where its value lives, and its
// default. Exactly one of the field pointers is set, the one of its kind; an option names
// its place in kOptions, whose key and default it takes.
struct SettingKey {
    const char* key;
    SettingKind kind;
    int32_t SettingsValues::*number = nullptr;
    uint32_t SettingsValues::*colour = nullptr;
    std::string SettingsValues::*text = nullptr;
    std::size_t option = 0;
    int64_t default_number = 0;  // of a number, a colour or an option
    const char* default_text = "";
    // A number below least reads as the default; a text holds at most max_bytes bytes.
    int32_t least = std::numeric_limits<int32_t>::min();
    std::size_t max_bytes = std::numeric_limits<std::size_t>::max();
};

namespace setting_keys {

constexpr SettingKey number(const char* key, int32_t SettingsValues::*field, int32_t fallback,
                            int32_t least = std::numeric_limits<int32_t>::min()) {
    SettingKey k{key, SettingKind::kNumber};
    k.number = field;
    k.default_number = fallback;
    k.least = least;
    return k;
}

constexpr SettingKey colour(const char* key, uint32_t SettingsValues::*field, uint32_t fallback) {
    SettingKey k{key, SettingKind::kColour};
    k.colour = field;
    k.default_number = fallback;
    return k;
}

constexpr SettingKey text(const char* key, std::string SettingsValues::*field, const char* fallback,
                          std::size_t max_bytes = std::numeric_limits<std::size_t>::max()) {
    SettingKey k{key, SettingKind::kText};
    k.text = field;
    k.default_text = fallback;
    k.max_bytes = max_bytes;
    return k;
}

constexpr SettingKey option(std::size_t index) {
    SettingKey k{kOptions[index].key, SettingKind::kOption};
    k.option = index;
    k.default_number = kOptions[index].default_state;
    return k;
}

}  // namespace setting_keys

// The keys in the order the file is written and every line is tested against them. A new
// setting is one row here and its field above.
inline constexpr std::array<SettingKey, 23> kSettingKeys = [] {
    using namespace setting_keys;
    using V = SettingsValues;
    return std::array<SettingKey, 23>{{
        number("x", &V::x, kPositionAbsent),
        number("y", &V::y, kPositionAbsent),
        option(0),  // TopMost
        option(1),  // Transparent
        option(2),  // Weapon
        option(3),  // Shield
        option(4),  // Amulet
        option(5),  // Maru
        option(6),  // In
        option(7),  // Utsuwa
        number("Pos", &V::pos, kPositionFree),
        number("ItemWindow", &V::item_window, 0),
        number("hook", &V::hook, 0),
        number("hookKey", &V::hook_key, 0),
        text("Font", &V::font_face, kDefaultFontFace, kMaxFontFaceBytes),
        number("FontSize", &V::font_size, 16),
        text("WeaponText", &V::weapon_text, kDefaultNothingText),
        text("ShieldText", &V::shield_text, kDefaultNothingText),
        text("AmuletText", &V::amulet_text, kDefaultNothingText),
        colour("BackColor", &V::back_color, 0x000000),
        colour("FontColor", &V::font_color, 0xFFFFFF),
        colour("EdgeColor", &V::edge_color, 0x000000),
        // A pause of 0 or less would spin the worker and break the shutdown bound.
        number("Wait", &V::wait, kDefaultWait, 1),
    }};
}();

// Reads the file's bytes over the defaults. The file is read in text mode: CR LF becomes
// LF, and lines come in pieces of at most 255 bytes, each handled as a line of its own and
// tested against every key of kSettingKeys in order (the last line of a key wins).
// After every piece, while ItemWindow is non-zero, on_item_window_piece is called (the
// start-up request that makes the host open its inventory window).
// Sound values where the file's own would do harm: a Font value is cut to 31 bytes
// without splitting a double-byte character, and a Wait of 0 or below keeps 100.
SettingsValues parse_settings(std::string_view file_bytes,
                              const std::function<void()>& on_item_window_piece = {});

// The 23 lines of kSettingKeys, each ended by CR LF.
std::string format_settings(const SettingsValues& values);

// How long shutdown waits for the render worker: Wait x 100 ms, without overflow, and
// never the infinite wait.
uint32_t worker_stop_timeout_ms(int32_t wait) noexcept;

}  // namespace quilla
