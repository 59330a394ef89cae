// One copy of the program per folder: two copies started in the same working directory
// would share QuillaWS.txt, and whichever ended last would overwrite the other's settings.
// Copies in different folders keep their own settings and run side by side.
#pragma once

#include <windows.h>

#include <vector>

#include "base/handles_win.h"
#include "base/seam.h"

namespace quilla {

// The claim of this copy on its folder, held for as long as the object lives; Windows
// lets go of it when the process ends in any way, so a copy that was killed never keeps
// the next one from starting.
struct FolderClaim {
    std::vector<UniqueKernelHandle> mutexes;
    bool another_copy_runs = false;  // the folder is another copy's: end at once
    // ... and its claim is out of this one's reach (access denied): the copy is another
    // user's, or runs as administrator while this one does not
    bool out_of_reach = false;
};

// The calls the claim makes; tests pass their own.
class FolderClaimCalls {
  public:
    virtual ~FolderClaimCalls() = default;
    virtual HANDLE create_file(LPCWSTR name, DWORD access, DWORD share,
                               LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                               HANDLE template_file) {
        return CreateFileW(name, access, share, security, disposition, flags, template_file);
    }
    virtual BOOL get_file_information_ex(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID out,
                                         DWORD size) {
        return GetFileInformationByHandleEx(file, kind, out, size);
    }
    virtual BOOL get_file_information(HANDLE file, LPBY_HANDLE_FILE_INFORMATION out) {
        return GetFileInformationByHandle(file, out);
    }
    virtual DWORD get_final_path(HANDLE file, LPWSTR out, DWORD size, DWORD flags) {
        return GetFinalPathNameByHandleW(file, out, size, flags);
    }
    virtual HANDLE create_mutex(LPSECURITY_ATTRIBUTES security, BOOL owned, LPCWSTR name) {
        return CreateMutexW(security, owned, name);
    }
    virtual HANDLE open_mutex(DWORD access, BOOL inherit, LPCWSTR name) {
        return OpenMutexW(access, inherit, name);
    }
    virtual int message_box(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
        return MessageBoxW(owner, text, caption, type);
    }
};

// Claims the working directory with named mutexes that every spelling of the folder names
// alike: one named after the folder's identity (its volume's serial number and its file
// identifier), one after its final path as the file system resolves it (drive aliases,
// links, junctions and short names followed, letter case aside). A folder that cannot be
// opened for that is named by the settings file's full path. The names are in the global
// namespace, so copies in other sessions count; where Windows refuses that namespace, in
// the session's. Touches no file. When no mutex can be made, the program runs as before.
FolderClaim claim_working_directory(FolderClaimCalls& calls = system_calls<FolderClaimCalls>());

// Whether this copy must end because the folder is another copy's. Lets go of its own
// claims first; when the other copy is out of reach, a box with no owner says so before it
// returns (the same user's second start ends silently).
bool yield_to_another_copy(FolderClaim& claim,
                           FolderClaimCalls& calls = system_calls<FolderClaimCalls>());

}  // namespace quilla
