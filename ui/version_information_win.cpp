// Runs the check, shows the box that fits its result and opens the download address.
#include "ui/version_information_win.h"

#include <string>

#include "base/code_page_win.h"
#include "base/trace_win.h"
#include "base/version.h"
#include "update/information_text.h"
#include "update/update_check_win.h"
#include "update/update_host.h"
#include "update/update_server.h"

namespace quilla {

void open_download_address(HWND owner, const std::string& address, InformationCalls& calls) {
    if (!calls.runs_elevated()) {
        const HINSTANCE opened = calls.shell_execute(nullptr, L"open", widen(address).c_str(),
                                                     nullptr, nullptr, SW_SHOWNORMAL);
        if (reinterpret_cast<INT_PTR>(opened) <= 32) {  // a value up to 32 is an error code
            trace_failure("ShellExecuteW", static_cast<DWORD>(reinterpret_cast<INT_PTR>(opened)));
        }
        return;
    }
    // A browser this program started would have its administrator rights, and so would
    // every page and download in it.
    if (calls.open_with_desktop_shell(widen(address))) {
        return;
    }
    MessageBoxW(owner, widen(download_address_text(address)).c_str(),
                widen(kUpdateOfferCaption).c_str(), MB_OK);
}

void show_version_information(HWND owner, InformationCalls& calls, Clock& clock) {
    const UpdateCheckResult check = check_for_update(kProgramVersion, clock);
    if (check.result == 1) {
        if (MessageBoxW(owner, widen(update_offer_text(check.version)).c_str(),
                        widen(kUpdateOfferCaption).c_str(), MB_YESNO) == IDYES) {
            open_download_address(owner, download_address(update_host()), calls);
        }
        return;
    }
    MessageBoxW(owner, widen(version_text(kProgramVersion)).c_str(), widen(kVersionCaption).c_str(),
                MB_OK);
}

}  // namespace quilla
