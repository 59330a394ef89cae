// The settings file "QuillaWS.txt": 23 lines of key=value in a fixed order, read once at
// start-up and written once at exit. This file holds the format only: the values, the
// reader and the writer, on bytes. Opening files, the overlay font and the inventory
// window request live in app/settings_file_win.cpp.
#pragma once

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

// Everything the settings file stores.
struct SettingsValues {
    // The overlay's top-left corner on the screen.
    int32_t x = kPositionAbsent;
    int32_t y = kPositionAbsent;
    OptionStates options = default_option_states();
    int32_t pos = kPositionFree;
    int32_t item_window = 0;
    int32_t hook = 0;
    int32_t hook_key = 0;
    std::string font_face = kDefaultFontFace;
    int32_t font_size = 16;
    std::string weapon_text = kDefaultNothingText;
    std::string shield_text = kDefaultNothingText;
    std::string amulet_text = kDefaultNothingText;
    uint32_t back_color = 0x000000;
    uint32_t font_color = 0xFFFFFF;
    uint32_t edge_color = 0x000000;
    int32_t wait = kDefaultWait;

    bool operator==(const SettingsValues&) const = default;
};

// Reads the file's bytes over the defaults. The file is read in text mode: CR LF becomes
// LF, and lines come in pieces of at most 255 bytes, each handled as a line of its own.
// After every piece, while ItemWindow is non-zero, on_item_window_piece is called (the
// start-up request that makes the host open its inventory window).
// Sound values where the file's own would do harm: a Font value is cut to 31 bytes
// without splitting a double-byte character, and a Wait of 0 or below keeps 100.
SettingsValues parse_settings(std::string_view file_bytes,
                              const std::function<void()>& on_item_window_piece = {});

// The 23 lines, each ended by CR LF.
std::string format_settings(const SettingsValues& values);

// How long shutdown waits for the render worker: Wait x 100 ms, without overflow, and
// never the infinite wait.
uint32_t worker_stop_timeout_ms(int32_t wait) noexcept;

}  // namespace quilla
