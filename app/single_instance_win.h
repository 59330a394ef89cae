// One copy of the program per folder: two copies started in the same working directory
// would share QuillaWS.txt, and whichever ended last would overwrite the other's settings.
// Copies in different folders keep their own settings and run side by side.
#pragma once

#include <windows.h>

#include <vector>

#include "base/handles_win.h"

namespace quilla {

// The claim of this copy on its folder, held for as long as the object lives; Windows
// lets go of it when the process ends in any way, so a copy that was killed never keeps
// the next one from starting.
struct FolderClaim {
    std::vector<UniqueKernelHandle> mutexes;
    bool another_copy_runs = false;  // the folder is another copy's: end at once
};

// The calls the claim makes; tests pass their own.
struct FolderClaimCalls {
    decltype(&CreateFileW) create_file = &CreateFileW;
    decltype(&GetFileInformationByHandleEx) get_file_information_ex = &GetFileInformationByHandleEx;
    decltype(&GetFileInformationByHandle) get_file_information = &GetFileInformationByHandle;
    decltype(&GetFinalPathNameByHandleW) get_final_path = &GetFinalPathNameByHandleW;
    decltype(&CreateMutexW) create_mutex = &CreateMutexW;
    decltype(&OpenMutexW) open_mutex = &OpenMutexW;
};

// Claims the working directory with named mutexes that every spelling of the folder names
// alike: one named after the folder's identity (its volume's serial number and its file
// identifier), one after its final path as the file system resolves it (drive aliases,
// links, junctions and short names followed, letter case aside). A folder that cannot be
// opened for that is named by the settings file's full path. The names are in the global
// namespace, so copies in other sessions count; where Windows refuses that namespace, in
// the session's. Touches no file. When no mutex can be made, the program runs as before.
FolderClaim claim_working_directory(const FolderClaimCalls& calls = FolderClaimCalls{});

}  // namespace quilla
