// Running programs as a user would, for the tests and the measuring tools alike: a scratch
// working directory, starting a program (the stand-in host, or QuillaWS.exe itself) with
// arguments in it, waiting with a deadline for its windows or its exit, reading the files
// it writes, and ending it by its process id. Files and handles go through the program's
// own helpers. Starting and closing QuillaWS.exe itself: overlay_process_win.h.
//
// Times are DWORD milliseconds, given for an idle machine (see wait_win.h).
//
// Only one stand-in may run at a time (programs share the desktop and look windows up by
// class). Declare the ScratchDirectory before the ChildProcess so the process ends
// before its working directory is removed.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include "base/code_page_win.h"
#include "base/file_win.h"
#include "base/handles_win.h"
#include "base/text.h"
#include "tools/launch/wait_win.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace quilla::launch {

// A path as Windows sees it: an absolute Unix path (as the build gives it under Wine)
// becomes the same path on drive Z:, which Wine maps to the Unix root.
inline std::string to_windows_path(std::string path) {
    if (!path.empty() && path.front() == '/') {
        path.insert(0, "Z:");
    }
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

// Where the stand-in host is: STANDIN_HOST_PATH when the build defines it, else the
// environment variable QUILLA_STANDIN_HOST, else tools\standin_host.exe beside the folder
// of the running program (a test's or a tool's: the build tree's layout).
inline std::string standin_host_path() {
#ifdef STANDIN_HOST_PATH
    return to_windows_path(STANDIN_HOST_PATH);
#else
    if (const char* env = std::getenv("QUILLA_STANDIN_HOST"); env && *env) {
        return to_windows_path(env);
    }
    std::string module(MAX_PATH, '\0');
    for (;;) {
        const DWORD got =
            GetModuleFileNameA(nullptr, module.data(), static_cast<DWORD>(module.size()));
        if (got == 0) {
            return {};
        }
        if (got < module.size()) {
            module.resize(got);
            break;
        }
        module.resize(module.size() * 2);
    }
    const std::filesystem::path own_dir = std::filesystem::path(module).parent_path();
    return (own_dir.parent_path() / "tools" / "standin_host.exe").string();
#endif
}

// A fresh, empty folder under the temporary folder, removed with its contents at the end.
class ScratchDirectory {
  public:
    ScratchDirectory() {
        static std::atomic<unsigned> counter{0};
        std::string base(MAX_PATH + 1, '\0');
        const DWORD got = GetTempPathA(static_cast<DWORD>(base.size()), base.data());
        base.resize(got > 0 && got < base.size() ? got : 0);
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            std::string candidate = base + "quilla-test-" + std::to_string(GetCurrentProcessId()) +
                                    "-" + std::to_string(counter++) + "-" +
                                    std::to_string(GetTickCount());
            if (CreateDirectoryA(candidate.c_str(), nullptr)) {
                path_ = std::move(candidate);
            }
        }
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    ~ScratchDirectory() {
        if (!path_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path_, ignored);
        }
    }

    bool ok() const noexcept { return !path_.empty(); }
    const std::string& path() const noexcept { return path_; }
    std::string file(std::string_view name) const { return path_ + "\\" + std::string(name); }

    // Writes bytes to the named file in one step (a reader polling it never sees half of
    // it), as the program saves its own files. False on any failure.
    bool write_file(std::string_view name, std::string_view bytes) const {
        return replace_file_atomically(file(name), bytes);
    }

    // The names of what the folder holds, in the order the file system lists them.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return out;
        }
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") {
                out.push_back(name);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return out;
    }

  private:
    std::string path_;
};

// A whole file's bytes, or nothing when it cannot be opened.
inline std::optional<std::string> read_file(const std::string& path) {
    return read_file_bytes(widen(path));
}

// One argument quoted for a command line so that the C runtime splits it back unchanged.
inline std::string quote_argument(std::string_view arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string_view::npos) {
        return std::string(arg);
    }
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows; then each one is doubled.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');  // the closing quote follows them
    quoted += '"';
    return quoted;
}

// The ids of the running processes whose executable has this file name.
inline std::set<DWORD> processes_named(const std::wstring& file_name) {
    std::set<DWORD> ids;
    const UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) {
        return ids;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (lstrcmpiW(entry.szExeFile, file_name.c_str()) == 0) {
            ids.insert(entry.th32ProcessID);
        }
    }
    return ids;
}

// A running program (finders for the stand-in host's windows included). Ended with
// TerminateProcess when the object goes away, which also waits until its windows are gone.
class ChildProcess {
  public:
    static constexpr char kMainClass[] = "QUILLA_BRISKOLT_APPLICATION";
    static constexpr char kTrialMainClass[] = "QUILLA_TRIAL_BRISKOLT_APPLICATION";
    static constexpr char kInventoryClass[] = "ListBox";
    static constexpr char kInventoryTitle[] = "クイラ　持ち物ウィンドウ";

    // Starts exe with args in working_dir. Check started(); error() says why not.
    ChildProcess(const std::string& exe, const std::vector<std::string>& args,
                 const std::string& working_dir)
        : ChildProcess(exe, args, widen(working_dir)) {}
    ChildProcess(const std::string& exe, const std::vector<std::string>& args,
                 const std::wstring& working_dir) {
        start(exe, args, working_dir);
    }

    // Starts exe with args in working_dir under the Unix locale (nullptr: as above), which
    // gives it that locale's ANSI code page. Wine starts a program with the Unix locale of
    // the process that starts it, whatever the environment block says, so it is started
    // through /usr/bin/env by the Wine loader, as a Unix program: that start gives no
    // handle, and the program is then found as the one new process of its file name.
    ChildProcess(const std::string& exe, const std::vector<std::string>& args,
                 const std::string& working_dir, const char* unix_locale) {
        if (!unix_locale) {
            start(exe, args, widen(working_dir));
            return;
        }
        char loader[MAX_PATH] = {};
        const DWORD got = GetEnvironmentVariableA("WINELOADER", loader, MAX_PATH);
        if (got == 0 || got >= MAX_PATH) {
            error_ = "WINELOADER is not set: not under Wine";
            return;
        }
        std::string command = "/usr/bin/env " +
                              quote_argument(std::string("LC_ALL=") + unix_locale) + " " +
                              quote_argument(loader) + " " + quote_argument(exe);
        for (const std::string& arg : args) {
            command += ' ';
            command += quote_argument(arg);
        }
        const std::wstring file_name = std::filesystem::path(widen(exe)).filename().wstring();
        const std::set<DWORD> before = processes_named(file_name);
        std::wstring wide_command = widen(command);
        const std::wstring directory = widen(working_dir);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(L"Z:\\usr\\bin\\env", wide_command.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, directory.c_str(), &startup, &info)) {
            error_ = "cannot start " + exe + " under " + unix_locale + " (error " +
                     std::to_string(GetLastError()) + ")";
            return;
        }
        UniqueKernelHandle(info.hThread).reset();
        UniqueKernelHandle(info.hProcess).reset();  // none for a Unix program
        DWORD id = 0;
        wait_until([&] {
            for (const DWORD candidate : processes_named(file_name)) {
                if (before.count(candidate) == 0) {
                    id = candidate;
                    return true;
                }
            }
            return false;
        });
        process_.reset(OpenProcess(
            SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, id));
        if (!process_) {
            error_ = exe + " did not come up under " + unix_locale;
            return;
        }
        process_id_ = id;
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { terminate(); }

    bool started() const noexcept { return static_cast<bool>(process_); }
    const std::string& error() const noexcept { return error_; }
    DWORD process_id() const noexcept { return process_id_; }
    HANDLE process() const noexcept { return process_.get(); }

    // True, with its exit code, once the process has ended.
    bool has_exited(DWORD* exit_code = nullptr) const noexcept {
        if (!process_ || WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) {
            return false;
        }
        if (exit_code) {
            GetExitCodeProcess(process_.get(), exit_code);
        }
        return true;
    }

    // The exit code once the process has ended within timeout_ms (stretched by the load
    // factor); nothing otherwise.
    std::optional<DWORD> wait_exit(DWORD timeout_ms = kUsualWaitMs) const noexcept {
        DWORD code = 0;
        if (!process_ ||
            WaitForSingleObject(process_.get(), deadline_ms(timeout_ms)) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process_.get(), &code)) {
            return std::nullopt;
        }
        return code;
    }

    // This process's window of the given class (and title, when given), or null.
    HWND find_own_window(const char* class_name, const char* title = nullptr) const noexcept {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, class_name, title)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process_id_) {
                return window;
            }
        }
        return nullptr;
    }

    HWND find_main_window() const noexcept {
        HWND main = find_own_window(kMainClass);
        return main ? main : find_own_window(kTrialMainClass);
    }
    HWND find_inventory_window() const noexcept {
        return find_own_window(kInventoryClass, kInventoryTitle);
    }

    // Waits up to timeout_ms (stretched by the load factor) for the window; null on timeout
    // or when the process ended.
    HWND wait_for_main_window(DWORD timeout_ms = kUsualWaitMs) const {
        return wait_for([this] { return find_main_window(); }, timeout_ms);
    }
    HWND wait_for_inventory_window(DWORD timeout_ms = kUsualWaitMs) const {
        return wait_for([this] { return find_inventory_window(); }, timeout_ms);
    }

    // Ends the process by its id and waits (bounded) until it and its windows are gone.
    void terminate() noexcept {
        if (!process_) {
            return;
        }
        if (const UniqueKernelHandle by_id(OpenProcess(PROCESS_TERMINATE, FALSE, process_id_));
            by_id) {
            TerminateProcess(by_id.get(), 1);
        } else {
            TerminateProcess(process_.get(), 1);
        }
        WaitForSingleObject(process_.get(), deadline_ms(kUsualWaitMs));
        wait_until([this] { return !find_main_window() && !find_inventory_window(); });
        process_.reset();
    }

  private:
    void start(const std::string& exe, const std::vector<std::string>& args,
               const std::wstring& working_dir) {
        std::string command = quote_argument(exe);
        for (const std::string& arg : args) {
            command += ' ';
            command += quote_argument(arg);
        }
        std::wstring wide_command = widen(command);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(widen(exe).c_str(), wide_command.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, working_dir.c_str(), &startup, &info)) {
            error_ = "cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")";
            return;
        }
        UniqueKernelHandle(info.hThread).reset();  // only the process is waited for
        process_.reset(info.hProcess);
        process_id_ = info.dwProcessId;
    }

    template <typename Find>
    HWND wait_for(Find find, DWORD timeout_ms) const {
        HWND found = nullptr;
        wait_until(
            [&] {
                found = find();
                return found != nullptr || has_exited();
            },
            timeout_ms, process_.get());
        return found;
    }

    UniqueKernelHandle process_;
    DWORD process_id_ = 0;
    std::string error_;
};

// The stand-in host started in dir with args, once its main window is up.
struct StandinHost {
    std::unique_ptr<ChildProcess> process;  // null when it did not start
    HWND main = nullptr;                    // null when its main window did not appear
    std::string error;                      // why not, when main is null
};

inline StandinHost start_standin_host(const std::string& dir, const std::vector<std::string>& args,
                                      const std::string& exe = standin_host_path()) {
    StandinHost host;
    host.process = std::make_unique<ChildProcess>(exe, args, dir);
    if (!host.process->started()) {
        host.error = host.process->error();
        return host;
    }
    host.main = host.process->wait_for_main_window();
    DWORD code = 0;
    if (!host.main) {
        host.error = host.process->has_exited(&code)
                         ? "the stand-in host exited with " + std::to_string(code)
                         : std::string("the stand-in host's main window did not appear");
    }
    return host;
}

}  // namespace quilla::launch
