// Writing a file so that a crash, a full disk or a failed write never leaves it half
// written: the new contents go to a file of their own beside it, which then replaces it
// in one step. A file another program holds for a moment is waited for.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quilla {

// Why a save failed, in the few kinds the user is told about.
enum class SaveFailure {
    none,
    read_only,      // the user marked the file read-only
    in_use,         // another program held the file for longer than the save waits
    access_denied,  // no right to write there (a folder under Program Files, say)
    disk_full,
    no_folder,  // the folder of the path does not exist
    other,
};

// The path made absolute against the working directory (ReplaceFileA is not given a
// relative name everywhere); the path as given when that fails.
std::string full_path(const std::string& path);

// A short Japanese phrase for the user saying why a save failed.
const char* save_failure_phrase(SaveFailure failure) noexcept;

// The file system calls a save makes, and the clock it waits by. Tests pass their own to
// fail or stop a save after any call; the program always uses the real ones.
struct FileCalls {
    decltype(&GetFileAttributesA) get_attributes = &GetFileAttributesA;
    decltype(&SetFileAttributesA) set_attributes = &SetFileAttributesA;
    decltype(&CreateFileA) create_file = &CreateFileA;
    decltype(&WriteFile) write_file = &WriteFile;
    decltype(&FlushFileBuffers) flush_file = &FlushFileBuffers;
    decltype(&ReplaceFileA) replace_file = &ReplaceFileA;
    decltype(&MoveFileExA) move_file = &MoveFileExA;
    decltype(&DeleteFileA) delete_file = &DeleteFileA;
    decltype(&GetTickCount64) tick_count = &GetTickCount64;
    decltype(&Sleep) sleep = &Sleep;
};

// How long a replace that another program's hold on the file refuses is tried again, in
// milliseconds, and how long it waits between tries.
inline constexpr DWORD kReplaceRetryMs = 2000;
inline constexpr DWORD kReplaceRetryIntervalMs = 50;

// Writes bytes to a temporary file beside path whose name no other save uses at the same
// time, flushes it, and puts it in path's place: over an existing file with ReplaceFileA,
// which keeps the old file's attributes and security, else by a move. A replace refused
// by a sharing or lock violation or by access denied is tried again every
// kReplaceRetryIntervalMs for about retry_ms. On any failure the old file at path
// is left as it was, the temporary file is removed, false is returned and *why (when
// given) says why; a read-only file or a folder at path is refused before anything is
// written.
bool replace_file_atomically(const std::string& path, std::string_view bytes,
                             SaveFailure* why = nullptr, const FileCalls& calls = FileCalls{},
                             DWORD retry_ms = kReplaceRetryMs) noexcept;

}  // namespace quilla
