// Test support beside running programs (tools/launch/process_win.h): folders and files as
// other programs and users leave them (a folder named outside code page 932, a path
// longer than MAX_PATH, a file another program holds), the working directory for a
// while, and the ANSI code pages a program is started under.
#pragma once

#include <windows.h>

#include "base/code_page_win.h"
#include "base/handles_win.h"
#include "tools/launch/process_win.h"

#include <ostream>
#include <string>
#include <vector>

namespace quilla::test_support {

// A folder in dir named with a letter outside code page 932 ("Josée"), as a user folder
// such as C:\Users\José is; its wide path, or an empty one when it could not be made.
inline std::wstring folder_outside_code_page(const launch::ScratchDirectory& dir) {
    std::wstring path = widen(dir.path()) + L"\\Jos\u00e9e";
    return CreateDirectoryW(path.c_str(), nullptr) ? path : std::wstring();
}

// The working directory set to dir for the lifetime of the object, then put back.
class InWorkingDirectory {
  public:
    explicit InWorkingDirectory(const std::wstring& dir) {
        GetCurrentDirectoryW(MAX_PATH, previous_);
        SetCurrentDirectoryW(dir.c_str());
    }
    explicit InWorkingDirectory(const std::string& dir) : InWorkingDirectory(widen(dir)) {}
    InWorkingDirectory(const InWorkingDirectory&) = delete;
    InWorkingDirectory& operator=(const InWorkingDirectory&) = delete;
    ~InWorkingDirectory() { SetCurrentDirectoryW(previous_); }

  private:
    wchar_t previous_[MAX_PATH] = {};
};

// The file opened for reading as a virus scanner, a backup client or an editor may hold
// it: others may read and write it but not delete, rename or replace it while it is open.
inline UniqueFile hold_file(const std::string& path) {
    return UniqueFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The file opened with no sharing at all, as a sync or backup client may hold it for a
// moment: no other program may open it, to read it or otherwise, while it is open.
inline UniqueFile hold_file_exclusively(const std::string& path) {
    return UniqueFile(CreateFileW(widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A chain of folders in dir whose full path is longer than MAX_PATH, made through the
// extended-length form of its path, and removed with what its deepest folder holds at the
// end (before dir, which removes what is shorter). Check ok(); path() is the plain full path.
class LongFolder {
  public:
    explicit LongFolder(const launch::ScratchDirectory& dir, std::size_t at_least = 2 * MAX_PATH) {
        std::wstring path = widen(dir.path());
        while (path.size() < at_least) {
            path += L"\\" + std::wstring(60, L'd') + std::to_wstring(made_.size());
            if (!CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr)) {
                return;
            }
            made_.push_back(path);
        }
        path_ = path;
    }
    LongFolder(const LongFolder&) = delete;
    LongFolder& operator=(const LongFolder&) = delete;
    ~LongFolder() {
        if (!made_.empty()) {
            const std::wstring deepest = L"\\\\?\\" + made_.back();
            WIN32_FIND_DATAW found;
            HANDLE search = FindFirstFileW((deepest + L"\\*").c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                do {
                    DeleteFileW((deepest + L"\\" + found.cFileName).c_str());
                } while (FindNextFileW(search, &found));
                FindClose(search);
            }
        }
        for (auto folder = made_.rbegin(); folder != made_.rend(); ++folder) {
            RemoveDirectoryW((L"\\\\?\\" + *folder).c_str());
        }
    }

    bool ok() const noexcept { return !path_.empty(); }
    const std::wstring& path() const noexcept { return path_; }

  private:
    std::vector<std::wstring> made_;
    std::wstring path_;
};

// An ANSI code page a program can be started under, with the Unix locale that gives it under
// Wine (no locale: the test's own, which gives 932).
struct CodePageLocale {
    unsigned code_page;
    const char* unix_locale;
};

// 932 as the tests run; 1252 as on a western Windows; 65001 as with the UTF-8 option.
inline constexpr CodePageLocale kCodePageLocales[] = {
    {932, nullptr}, {1252, "en_US.UTF-8"}, {65001, "hi_IN.UTF-8"}};

// How a test named by a CodePageLocale shows it: "1252 (en_US.UTF-8)".
inline void PrintTo(const CodePageLocale& locale, std::ostream* out) {
    *out << locale.code_page << " (" << (locale.unix_locale ? locale.unix_locale : "as the test")
         << ")";
}

}  // namespace quilla::test_support
