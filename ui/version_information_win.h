// The "情報" command: the update check, then the offer of a newer version or the version
// box, owned by the overlay window.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace quilla {

// The shell call that opens the download address in the default browser; tests pass
// their own.
struct InformationCalls {
    decltype(&ShellExecuteW) shell_execute = &ShellExecuteW;
};

// Runs the update check. When a newer version exists, asks whether to download it and on
// Yes opens the download address in the default browser (a shell that fails is not
// reported); otherwise, and whenever the check fails, shows the program's version. Blocks
// until the box is closed.
void show_version_information(HWND owner, const InformationCalls& calls = InformationCalls{});

}  // namespace quilla
