// Command line of the stand-in host.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla::standin {

struct Options {
    bool trial = false;   // --trial: register the trial version's main window class
    bool closed = false;  // --closed: start with the inventory window closed
    int32_t x = 200;      // --pos X,Y
    int32_t y = 150;
    int32_t width = 486;  // --width N (a width with a base height) or --size WxH
    int32_t height = 349;
    std::string inventory_path = "inventory.txt";  // --inventory FILE
    int32_t inventory_reply_delay_ms = 0;          // --slow-inventory MS: a host slow to answer
    // --hold NAME: once its window is shown, the thread stops reading messages until the
    // named event (made by whoever started it) is set: a host busy loading, or stuck.
    std::string hold_event;
    bool inventory_held = false;  // --held-inventory: a host that answers when a test lets it
};

// The options given by args (the arguments after the program name), or nothing when an
// argument is unknown, lacks its value or has a malformed value.
std::optional<Options> parse_options(const std::vector<std::string_view>& args);

// One line describing the accepted arguments.
inline constexpr char kUsage[] =
    "standin_host [--trial] [--closed] [--width N | --size WxH] [--pos X,Y] "
    "[--inventory FILE] [--slow-inventory MS] [--hold EVENT] [--held-inventory]";

}  // namespace quilla::standin
