// The "情報" command: the update check, then the offer of a newer version or the version
// box, owned by the overlay window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace quilla {

using UrlOpener = std::function<void(const std::string& url)>;

// Opens the address in the default browser; reports nothing when the shell fails.
void open_in_browser(const std::string& url);

// Runs the update check. When a newer version exists, asks whether to download it and on
// Yes opens the download address with open_url; otherwise, and whenever the check fails,
// shows the program's version. Blocks until the box is closed.
void show_version_information(HWND owner, const UrlOpener& open_url = open_in_browser);

}  // namespace quilla
