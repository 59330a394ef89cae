// One copy of the program per folder: two copies started in the same working directory
// would share QuillaWS.txt, and whichever ended last would overwrite the other's settings.
// Copies in different folders keep their own settings and run side by side.
#pragma once

#include "base/handles_win.h"

namespace quilla {

// The claim of this copy on its folder, held for as long as the object lives; Windows
// lets go of it when the process ends in any way, so a copy that was killed never keeps
// the next one from starting.
struct FolderClaim {
    UniqueKernelHandle mutex;
    bool another_copy_runs = false;  // the folder is another copy's: end at once
};

// Claims the working directory with a mutex in the session's namespace named after the
// settings file's full path (letter case aside, as the file system treats it). Touches no
// file. When the mutex cannot be made for another reason, the program runs as before.
FolderClaim claim_working_directory();

}  // namespace quilla
