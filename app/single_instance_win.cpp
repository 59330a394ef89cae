// One copy of the program per folder.
#include "app/single_instance_win.h"

#include <cstdint>
#include <cwchar>
#include <string>

#include "base/code_page_win.h"
#include "base/file_win.h"
#include "config/settings.h"

namespace quilla {
namespace {

// A mutex name has room for less than a path: the folder goes in as a 64-bit FNV-1a hash
// of its path's UTF-16 units, in upper case.
std::wstring mutex_name(std::wstring path) {
    if (!path.empty()) {
        CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    }
    uint64_t hash = 14695981039346656037ull;
    for (const wchar_t unit : path) {
        hash = (hash ^ static_cast<uint16_t>(unit)) * 1099511628211ull;
    }
    wchar_t hex[17];
    std::swprintf(hex, 17, L"%016llx", static_cast<unsigned long long>(hash));
    return std::wstring(L"Local\\QuillaWS-") + hex;
}

}  // namespace

FolderClaim claim_working_directory() {
    FolderClaim claim;
    try {
        const std::wstring name = mutex_name(full_path(widen(kSettingsFileName)));
        SetLastError(ERROR_SUCCESS);
        claim.mutex.reset(CreateMutexW(nullptr, FALSE, name.c_str()));
        const DWORD error = GetLastError();
        // A copy running with higher rights made the mutex out of reach: it runs too.
        claim.another_copy_runs =
            claim.mutex ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED;
    } catch (...) {
    }
    return claim;
}

}  // namespace quilla
