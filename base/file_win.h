// The program's files on disk. Paths go to the file system as wide characters, so a
// folder whose name holds letters outside code page 932 works as any other; a name the
// program holds in Shift-JIS is widened once (base/code_page_win.h). A path is made full
// and given in its extended-length form, so a path longer than MAX_PATH works too.
// Reading: whole files, and text files saved as UTF-8 taken as the same text in Shift-JIS;
// a file that is there but cannot be read is told apart from one that is not there.
// Writing: so that a crash, a full disk or a failed write never leaves a file half
// written, the new contents go to a file of their own beside it, which then replaces it
// in one step. Both wait a moment for a file another program holds.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/clock_win.h"
#include "base/seam.h"

namespace quilla {

// Why a save failed, in the few kinds the user is told about.
enum class SaveFailure {
    kNone,
    kReadOnly,      // the user marked the file read-only
    kInUse,         // another program held the file for longer than the save waits
    kAccessDenied,  // no right to write there (a folder under Program Files, say)
    kDiskFull,
    kNoFolder,     // the folder of the path does not exist
    kPathTooLong,  // the path (or the names the save uses beside it) is too long
    kOther,
};

// The path made absolute against the working directory (ReplaceFileW is not given a
// relative name everywhere); the path as given when that fails.
std::wstring full_path(const std::wstring& path);

// The path as the file calls are given it: full, in its extended-length form (see
// extended_length_path) when it is a drive or network path.
std::wstring file_system_path(const std::wstring& path);

// Whether two paths name the same file: by the file system's identity of each when both
// can be opened for their attributes (which no other program's hold refuses), else by
// their full paths, letter case aside.
bool same_file(const std::wstring& a, const std::wstring& b) noexcept;

// A short Japanese phrase for the user saying why a save failed.
const char* save_failure_phrase(SaveFailure failure) noexcept;

// The file system calls a read and a save make. Tests derive their own to fail or stop
// one after any call; the program always uses the real ones.
class FileCalls {
  public:
    virtual ~FileCalls() = default;
    virtual DWORD get_attributes(LPCWSTR name) { return GetFileAttributesW(name); }
    virtual BOOL set_attributes(LPCWSTR name, DWORD attributes) {
        return SetFileAttributesW(name, attributes);
    }
    virtual HANDLE create_file(LPCWSTR name, DWORD access, DWORD share,
                               LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                               HANDLE templ) {
        return CreateFileW(name, access, share, security, disposition, flags, templ);
    }
    virtual BOOL read_file(HANDLE file, LPVOID data, DWORD size, LPDWORD got,
                           LPOVERLAPPED overlapped) {
        return ReadFile(file, data, size, got, overlapped);
    }
    virtual BOOL write_file(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                            LPOVERLAPPED overlapped) {
        return WriteFile(file, data, size, written, overlapped);
    }
    virtual BOOL flush_file(HANDLE file) { return FlushFileBuffers(file); }
    virtual BOOL replace_file(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                              LPVOID exclude, LPVOID reserved) {
        return ReplaceFileW(replaced, replacement, backup, flags, exclude, reserved);
    }
    virtual BOOL move_file(LPCWSTR from, LPCWSTR to, DWORD flags) {
        return MoveFileExW(from, to, flags);
    }
    virtual BOOL delete_file(LPCWSTR name) { return DeleteFileW(name); }
};

// How long a read or a replace that another program's hold on the file refuses is tried
// again, in milliseconds, and how long it waits between tries.
inline constexpr DWORD kReplaceRetryMs = 2000;
inline constexpr DWORD kReplaceRetryIntervalMs = 50;

// What a read of a whole file found.
enum class ReadOutcome {
    kWhole,       // the file, read to its end
    kNotFound,    // no file there (ERROR_FILE_NOT_FOUND, or ERROR_PATH_NOT_FOUND: no folder)
    kUnreadable,  // a file may be there, but it could not be opened or read to its end
};

struct FileRead {
    ReadOutcome outcome = ReadOutcome::kNotFound;
    std::string bytes;            // the whole file; empty unless the outcome is whole
    DWORD error = ERROR_SUCCESS;  // why the read ended without the whole file
};

// Reads the whole file at path. Others may go on reading, writing and replacing it
// meanwhile. A read that another program refuses (a sharing violation when it is opened,
// a lock violation when it is opened or read) is begun again every
// kReplaceRetryIntervalMs for about retry_ms, as clock measures and waits; any other
// failure to open it or to read it (a failed ReadFile is never taken for the end of the
// file) makes it unreadable at once.
FileRead read_whole_file(const std::wstring& path, DWORD retry_ms = kReplaceRetryMs,
                         FileCalls& calls = system_calls<FileCalls>(),
                         Clock& clock = system_clock()) noexcept;

// As read_whole_file, for a text file: a file saved as UTF-8, or as UTF-16 with its
// byte-order mark (see classify_text_file), is converted to Shift-JIS without the mark; any
// other is returned byte for byte.
FileRead read_whole_text_file(const std::wstring& path, DWORD retry_ms = kReplaceRetryMs,
                              FileCalls& calls = system_calls<FileCalls>(),
                              Clock& clock = system_clock()) noexcept;

// A whole file's bytes read at once, without waiting for a file another program holds,
// or a text file's text (as read_whole_text_file gives it, waiting as it does); nothing
// when it is not there or could not be read whole.
std::optional<std::string> read_file_bytes(const std::wstring& path);
std::optional<std::string> read_text_file(const std::wstring& path);

// Writes bytes to a temporary file beside path whose name no other save uses at the same
// time ("NAME.~PROCESS-THREAD-N.tmp"), flushes it, and puts it in path's place: over an
// existing file with ReplaceFileW, which keeps the old file's attributes and security,
// else by a move. The replace moves the old file to a backup name beside it
// ("NAME.~PROCESS-THREAD-N.bak"), so that a replace refused half way leaves the old file
// under its own name, and removes the backup once the new file stands. A replace refused
// by a sharing or lock violation or by access denied is tried again every
// kReplaceRetryIntervalMs for about retry_ms, as clock measures and waits. On any failure
// the old file at path is left
// as it was, the temporary file is removed, false is returned and *why (when given) says
// why; a read-only file or a folder at path is refused before anything is written.
bool replace_file_atomically(const std::wstring& path, std::string_view bytes,
                             SaveFailure* why = nullptr, DWORD retry_ms = kReplaceRetryMs,
                             FileCalls& calls = system_calls<FileCalls>(),
                             Clock& clock = system_clock()) noexcept;
bool replace_file_atomically(const std::string& sjis_path, std::string_view bytes,
                             SaveFailure* why = nullptr, DWORD retry_ms = kReplaceRetryMs,
                             FileCalls& calls = system_calls<FileCalls>(),
                             Clock& clock = system_clock()) noexcept;

}  // namespace quilla
