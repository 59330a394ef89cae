// The update check over Winsock: asks the update server for its worklist and compares the
// latest version in it with the program's own.
#pragma once

#include "update/winsock_win.h"

#include <optional>
#include <string>
#include <string_view>

#include "base/clock_win.h"
#include "base/seam.h"
#include "update/update_response.h"

namespace quilla {

// The whole check (the name lookup, connect, send and receive) ends within this bound, in
// milliseconds on the check's clock; what has been received by then is searched.
inline constexpr unsigned long kUpdateCheckTimeoutMs = 10000;

// The name lookup the check makes, on a thread of its own; tests pass their own. The
// object must outlive every lookup started with it.
class NameLookupCalls {
  public:
    virtual ~NameLookupCalls() = default;
    virtual int get_address_info(PCSTR host, PCSTR service, const ADDRINFOA* hints,
                                 PADDRINFOA* found) {
        return getaddrinfo(host, service, hints, found);
    }
};

// Converts one received chunk from UTF-8 to Shift-JIS (base/code_page_win.h); nothing when
// nothing comes of it.
std::optional<std::string> utf8_chunk_to_shift_jis(std::string_view chunk);

// Asks the update server (or the one QUILLA_UPDATE_SERVER names) whether a version newer
// than own_version exists. Every failure gives -1. The bound is measured on the clock; the
// waits for the network are the system's, and each looks at the clock at least once a
// second. A lookup still running at the bound is left to end by itself.
UpdateCheckResult check_for_update(std::string_view own_version, Clock& clock = system_clock(),
                                   NameLookupCalls& lookup = system_calls<NameLookupCalls>());

}  // namespace quilla
