// The "情報" command: the update check, then the offer of a newer version or the version
// box, owned by the overlay window.
#include "ui/version_information_win.h"

#include <string>

#include "base/version.h"
#include "update/information_text.h"
#include "update/update_check_win.h"
#include "update/update_host.h"
#include "update/update_server.h"

namespace quilla {

void show_version_information(HWND owner, const InformationCalls& calls) {
    const UpdateCheckResult check = check_for_update(kProgramVersion);
    if (check.result == 1) {
        if (MessageBoxA(owner, update_offer_text(check.version).c_str(), kUpdateOfferCaption,
                        MB_YESNO) == IDYES) {
            const std::string url = download_address(update_host());
            calls.shell_execute(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        }
        return;
    }
    MessageBoxA(owner, version_text(kProgramVersion).c_str(), kVersionCaption, MB_OK);
}

}  // namespace quilla
