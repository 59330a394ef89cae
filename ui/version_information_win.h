// The "情報" command: the update check, then the offer of a newer version or the version
// box, owned by the overlay window.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "base/clock_win.h"
#include "base/seam.h"
#include "ui/desktop_shell_win.h"

namespace quilla {

// The calls that decide how the download address is opened; tests pass their own.
class InformationCalls {
  public:
    virtual ~InformationCalls() = default;
    // Opens the address in the default browser, with this program's rights.
    virtual HINSTANCE shell_execute(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                    LPCWSTR directory, INT show) {
        return ShellExecuteW(window, verb, file, parameters, directory, show);
    }
    virtual bool runs_elevated() { return quilla::runs_elevated(); }
    virtual bool open_with_desktop_shell(const std::wstring& address) {
        return quilla::open_with_desktop_shell(address);
    }
};

// Runs the update check, its limits measured on the clock. When a newer version exists,
// asks whether to download it and on Yes opens the download address
// (open_download_address); otherwise, and whenever the check fails, shows the program's
// version. Blocks until the box is closed.
void show_version_information(HWND owner,
                              InformationCalls& calls = system_calls<InformationCalls>(),
                              Clock& clock = system_clock());

// Opens the download address in a browser that never has administrator rights: not
// elevated, with the shell as before (a shell that fails is not reported); elevated, through
// the desktop's shell, as the desktop's user, and when that cannot be done, in a box owned
// by owner that shows the address for the player to copy. Blocks until that box is closed.
void open_download_address(HWND owner, const std::string& address,
                           InformationCalls& calls = system_calls<InformationCalls>());

}  // namespace quilla
