// What the end-to-end tests need to run the real QuillaWS.exe as a user would: a fresh
// working directory per test, starting and closing the program, finding its window,
// reading its files, and waiting for conditions with deadlines.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
// <thread> brings the std::chrono clocks and durations. <chrono> itself is not included:
// its C++20 formatting part holds a micro sign that code page 932 cannot encode.
#include <thread>

namespace quilla::e2e {

// A build-time Linux path as Wine sees it (drive Z: is the Linux root).
inline std::string windows_path(const std::string& unix_path) {
    std::string out = "Z:" + unix_path;
    for (char& c : out) {
        if (c == '/') {
            c = '\\';
        }
    }
    return out;
}

// Polls condition every few milliseconds until it holds or the deadline passes.
inline bool wait_until(const std::function<bool()>& condition,
                       std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline bool write_file(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

inline std::optional<std::string> read_file(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(h);
    return bytes;
}

// A directory of its own for one test, removed with everything in it afterwards.
class TempDir {
  public:
    TempDir() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static int counter = 0;
        for (;;) {
            path_ = std::string(base) + "quilla-e2e-" + std::to_string(GetCurrentProcessId()) +
                    "-" + std::to_string(++counter);
            if (CreateDirectoryA(path_.c_str(), nullptr)) {
                break;
            }
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() { remove_tree(path_); }

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

    // Writes the file beside its place, then moves it there, so a program polling it
    // never reads half of it.
    bool write_file_atomically(const std::string& name, const std::string& bytes) const {
        const std::string temp = file(name + ".tmp");
        return write_file(temp, bytes) &&
               MoveFileExA(temp.c_str(), file(name).c_str(), MOVEFILE_REPLACE_EXISTING);
    }

  private:
    static void remove_tree(const std::string& dir) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = data.cFileName;
                if (name == "." || name == "..") {
                    continue;
                }
                const std::string full = dir + "\\" + name;
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    remove_tree(full);
                } else {
                    DeleteFileA(full.c_str());
                }
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(dir.c_str());
    }

    std::string path_;
};

// A started program; ended by process id when the test lets go of it.
class Process {
  public:
    Process(const std::string& exe, const std::string& arguments, const std::string& directory) {
        std::string command = "\"" + exe + "\" " + arguments;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           directory.c_str(), &si, &pi)) {
            process_ = pi.hProcess;
            CloseHandle(pi.hThread);
            id_ = pi.dwProcessId;
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        if (process_) {
            if (!exited()) {
                TerminateProcess(process_, 99);
                WaitForSingleObject(process_, 5000);
            }
            CloseHandle(process_);
        }
    }

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    bool exited() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

    // The exit code once the process has ended within the timeout; nothing otherwise.
    std::optional<DWORD> wait_exit(std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
        if (!process_ ||
            WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
            return std::nullopt;
        }
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        return code;
    }

    // The first visible top-level window of this process with the given class.
    HWND find_window(const char* class_name) const {
        struct Search {
            DWORD pid;
            const char* cls;
            HWND found;
        } search{id_, class_name, nullptr};
        EnumWindows(
            [](HWND hwnd, LPARAM lp) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                char cls[256] = {};
                GetClassNameA(hwnd, cls, sizeof cls);
                if (pid == s->pid && lstrcmpA(cls, s->cls) == 0) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

  private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

inline RECT window_rect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

}  // namespace quilla::e2e
