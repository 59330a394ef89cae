// The program's files on disk. Paths go to the file system as wide characters, so a
// folder whose name holds letters outside code page 932 works as any other; a name the
// program holds in Shift-JIS is widened once (base/code_page_win.h). Reading: whole files,
// and text files saved as UTF-8 taken as the same text in Shift-JIS. Writing: so that a
// crash, a full disk or a failed write never leaves a file half written, the new contents
// go to a file of their own beside it, which then replaces it in one step; a file another
// program holds for a moment is waited for.
#pragma once

#include <windows.h>

#include <optional>
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

// The path made absolute against the working directory (ReplaceFileW is not given a
// relative name everywhere); the path as given when that fails.
std::wstring full_path(const std::wstring& path);

// A whole file's bytes; nothing when it cannot be opened. Others may go on reading,
// writing and replacing it meanwhile.
std::optional<std::string> read_file_bytes(const std::wstring& path);
std::optional<std::string> read_file_bytes(const std::string& sjis_path);

// A text file's contents in Shift-JIS: a file saved as UTF-8 or as UTF-16 with its
// byte-order mark (see classify_text_file) is converted, without the mark; any other is
// returned byte for byte.
std::optional<std::string> read_text_file(const std::wstring& path);

// A short Japanese phrase for the user saying why a save failed.
const char* save_failure_phrase(SaveFailure failure) noexcept;

// The file system calls a save makes, and the clock it waits by. Tests pass their own to
// fail or stop a save after any call; the program always uses the real ones.
struct FileCalls {
    decltype(&GetFileAttributesW) get_attributes = &GetFileAttributesW;
    decltype(&SetFileAttributesW) set_attributes = &SetFileAttributesW;
    decltype(&CreateFileW) create_file = &CreateFileW;
    decltype(&WriteFile) write_file = &WriteFile;
    decltype(&FlushFileBuffers) flush_file = &FlushFileBuffers;
    decltype(&ReplaceFileW) replace_file = &ReplaceFileW;
    decltype(&MoveFileExW) move_file = &MoveFileExW;
    decltype(&DeleteFileW) delete_file = &DeleteFileW;
    decltype(&GetTickCount64) tick_count = &GetTickCount64;
    decltype(&Sleep) sleep = &Sleep;
};

// How long a replace that another program's hold on the file refuses is tried again, in
// milliseconds, and how long it waits between tries.
inline constexpr DWORD kReplaceRetryMs = 2000;
inline constexpr DWORD kReplaceRetryIntervalMs = 50;

// Writes bytes to a temporary file beside path whose name no other save uses at the same
// time ("NAME.~PROCESS-THREAD-N.tmp"), flushes it, and puts it in path's place: over an
// existing file with ReplaceFileW, which keeps the old file's attributes and security,
// else by a move. The replace moves the old file to a backup name beside it
// ("NAME.~PROCESS-THREAD-N.bak"), so that a replace refused half way leaves the old file
// under its own name, and removes the backup once the new file stands. A replace refused
// by a sharing or lock violation or by access denied is tried again every
// kReplaceRetryIntervalMs for about retry_ms. On any failure the old file at path is left
// as it was, the temporary file is removed, false is returned and *why (when given) says
// why; a read-only file or a folder at path is refused before anything is written.
bool replace_file_atomically(const std::wstring& path, std::string_view bytes,
                             SaveFailure* why = nullptr, const FileCalls& calls = FileCalls{},
                             DWORD retry_ms = kReplaceRetryMs) noexcept;
bool replace_file_atomically(const std::string& sjis_path, std::string_view bytes,
                             SaveFailure* why = nullptr, const FileCalls& calls = FileCalls{},
                             DWORD retry_ms = kReplaceRetryMs) noexcept;

}  // namespace quilla
