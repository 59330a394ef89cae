// The update check over Winsock: asks the update server for its worklist and compares the
// latest version in it with the program's own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/clock_win.h"
#include "update/update_response.h"

namespace quilla {

// The whole check (connect, send and receive; the name lookup aside) ends within this
// bound, in milliseconds on the check's clock; what has been received by then is searched.
inline constexpr unsigned long kUpdateCheckTimeoutMs = 10000;

// Converts one received chunk from UTF-8 to Shift-JIS (base/code_page_win.h); nothing when
// nothing comes of it.
std::optional<std::string> utf8_chunk_to_shift_jis(std::string_view chunk);

// Asks the update server (or the one QUILLA_UPDATE_SERVER names) whether a version newer
// than own_version exists. Every failure gives -1. The bound is measured on the clock; the
// waits for the network are the system's, and each looks at the clock at least once a
// second.
UpdateCheckResult check_for_update(std::string_view own_version, Clock& clock = system_clock());

}  // namespace quilla
