// The "情報" command: the update check, then the offer of a newer version or the version
// box, owned by the overlay window.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "ui/desktop_shell_win.h"

namespace quilla {

// The calls that decide how the download address is opened; tests pass their own.
struct InformationCalls {
    // Opens the address in the default browser, with this program's rights.
    decltype(&ShellExecuteW) shell_execute = &ShellExecuteW;
    bool (*runs_elevated)() = &quilla::runs_elevated;
    bool (*open_with_desktop_shell)(const std::wstring& address) = &quilla::open_with_desktop_shell;
};

// Runs the update check. When a newer version exists, asks whether to download it and on
// Yes opens the download address (open_download_address); otherwise, and whenever the
// check fails, shows the program's version. Blocks until the box is closed.
void show_version_information(HWND owner, const InformationCalls& calls = InformationCalls{});

// Opens the download address in a browser that never has administrator rights: not
// elevated, with the shell as before (a shell that fails is not reported); elevated, through
// the desktop's shell, as the desktop's user, and when that cannot be done, in a box owned
// by owner that shows the address for the player to copy. Blocks until that box is closed.
void open_download_address(HWND owner, const std::string& address,
                           const InformationCalls& calls = InformationCalls{});

}  // namespace quilla
