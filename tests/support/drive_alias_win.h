// A second drive letter for a folder, as the subst command or a mapped drive gives one, for
// as long as the object lives.
//
// On Windows this is DefineDosDeviceW. Wine accepts that call but does not resolve file
// names through it; there a drive letter is a symbolic link in the prefix's dosdevices
// folder, made here with the system's ln (Wine starts a Unix program as it would a
// Windows one). Wine names a file by the drive letter that reaches it most directly, so
// make the alias before starting a program whose view of the folder a test compares.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/code_page_win.h"
#include "tools/launch/process_win.h"
#include "tools/launch/wait_win.h"

namespace quilla::test_support {

class DriveAlias {
  public:
    explicit DriveAlias(const std::wstring& folder) : folder_(folder) {
        const DWORD used = GetLogicalDrives();
        for (wchar_t letter = L'Y'; letter >= L'D' && !letter_; --letter) {
            if (!(used & (1u << (letter - L'A')))) {
                letter_ = letter;
            }
        }
        if (!letter_) {
            error_ = "no free drive letter";
            return;
        }
        if (DefineDosDeviceW(0, device().c_str(), folder_.c_str())) {
            defined_ = true;
            if (reachable_now()) {
                return;
            }
            DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, device().c_str(),
                             folder_.c_str());
            defined_ = false;
        }
        link_in_wine_prefix();
    }
    DriveAlias(const DriveAlias&) = delete;
    DriveAlias& operator=(const DriveAlias&) = delete;
    ~DriveAlias() {
        if (defined_) {
            DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, device().c_str(),
                             folder_.c_str());
        }
        if (!link_.empty()) {
            run_unix("Z:\\bin\\rm", {"-f", link_});
            launch::wait_until([this] { return !reachable_now(); });
        }
    }

    bool ok() const noexcept { return error_.empty(); }
    const std::string& error() const noexcept { return error_; }
    // The folder through the new letter: "Y:\".
    std::wstring root() const { return std::wstring(1, letter_) + L":\\"; }

  private:
    std::wstring device() const { return std::wstring(1, letter_) + L":"; }

    bool reachable_now() const {
        const DWORD attributes = GetFileAttributesW(root().c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    static void run_unix(const char* program, const std::vector<std::string>& args) {
        // The process handle of a Unix program says nothing useful: callers wait for what
        // it does instead.
        launch::ChildProcess(program, args, std::string("C:\\")).wait_exit();
    }

    void link_in_wine_prefix() {
        using UnixName = char*(CDECL*)(const WCHAR*);
        const auto unix_name = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
        const char* prefix = std::getenv("WINEPREFIX");
        if (!unix_name || !prefix || !*prefix) {
            error_ = "DefineDosDeviceW made no drive, and this is not Wine";
            return;
        }
        char* target = unix_name(folder_.c_str());
        if (!target) {
            error_ = "no Unix name for the folder";
            return;
        }
        const std::string unix_target = target;
        HeapFree(GetProcessHeap(), 0, target);
        std::string link =
            std::string(prefix) + "/dosdevices/" + static_cast<char>(letter_ - L'A' + 'a') + ":";
        run_unix("Z:\\bin\\ln", {"-s", unix_target, link});
        link_ = link;
        if (!launch::wait_until([this] { return reachable_now(); })) {
            error_ = "the drive " + narrow(device()) + " did not come up";
        }
    }

    std::wstring folder_;
    wchar_t letter_ = 0;
    bool defined_ = false;
    std::string link_;
    std::string error_;
};

}  // namespace quilla::test_support
