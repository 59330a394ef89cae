// Replacing a file in one step, run through stand-in file system calls: the program
// stopped after any one call leaves the old file or the new one, byte for byte; a replace
// refused while another program holds the file is tried again for about two seconds, and
// one refused half way (the new file not moved in) leaves the old file under its name; a
// second save in the middle of the first does not disturb it; the old file's attributes
// stay.
#include "base/file_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/support/test_process_win.h"

namespace quilla {
namespace {

using test_support::read_file;
using test_support::ScratchDirectory;

constexpr char kOld[] = "武器,古い剣,3\r\n";
constexpr char kNew[] = "武器,ミスリルブレード,9\r\n盾,白銀の盾,5\r\nお守り,いやしのお守り,\r\n";

// What the stand-in calls do; one script per case (the calls are plain function pointers).
struct Script {
    int stop_after = -1;  // calls that reach the disk before the program "stops"; -1: never
    int calls = 0;        // calls that reached the disk
    int attempts = 0;     // replaces tried
    enum Target { none, write, replace } failing = none;
    DWORD error = 0;
    int failures = 0;      // how many times the failing call fails before it works
    ULONGLONG now = 1000;  // the clock, advanced only by sleeping
    bool nested = false;   // whether a second save runs while the first holds its temp file
    std::optional<bool> nested_saved;
};
Script script;

// True when the program has stopped: the call neither happens nor reports success.
bool stopped() {
    if (script.stop_after >= 0 && script.calls >= script.stop_after) {
        SetLastError(ERROR_GEN_FAILURE);
        return true;
    }
    ++script.calls;
    return false;
}

bool fails(Script::Target target) {
    if (script.failing != target || script.failures == 0) {
        return false;
    }
    --script.failures;
    SetLastError(script.error);
    return true;
}

HANDLE WINAPI create_file(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                          DWORD disposition, DWORD flags, HANDLE templ) {
    if (stopped()) {
        return INVALID_HANDLE_VALUE;
    }
    HANDLE h = CreateFileW(name, access, share, security, disposition, flags, templ);
    if (h != INVALID_HANDLE_VALUE && script.nested) {
        script.nested = false;
        const std::wstring target(name, std::wstring_view(name).find(L".~"));
        script.nested_saved = replace_file_atomically(target, "second save\r\n");
    }
    return h;
}

// Writes at most 7 bytes a call, so that the program can stop half way through the bytes.
BOOL WINAPI write_file(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED o) {
    if (stopped() || fails(Script::write)) {
        return FALSE;
    }
    return WriteFile(file, data, std::min<DWORD>(size, 7), written, o);
}

BOOL WINAPI flush_file(HANDLE file) {
    return stopped() ? FALSE : FlushFileBuffers(file);
}

BOOL WINAPI replace_file(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                         LPVOID exclude, LPVOID reserved) {
    ++script.attempts;
    if (stopped()) {
        return FALSE;
    }
    if (script.failing == Script::replace && script.failures > 0) {
        // What Windows leaves behind when it cannot put the new file in place: for 1176,
        // the old file is gone unless it was given a backup name (then both keep theirs);
        // for 1177, the old file has the backup name.
        if (script.error == ERROR_UNABLE_TO_MOVE_REPLACEMENT && !backup) {
            DeleteFileW(replaced);
        }
        if (script.error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 &&
            !(backup && MoveFileExW(replaced, backup, MOVEFILE_REPLACE_EXISTING))) {
            DeleteFileW(replaced);
        }
        fails(Script::replace);  // counts the failure and sets its error
        return FALSE;
    }
    return ReplaceFileW(replaced, replacement, backup, flags, exclude, reserved);
}

BOOL WINAPI move_file(LPCWSTR from, LPCWSTR to, DWORD flags) {
    return stopped() ? FALSE : MoveFileExW(from, to, flags);
}

BOOL WINAPI delete_file(LPCWSTR name) {
    return stopped() ? FALSE : DeleteFileW(name);
}
ULONGLONG WINAPI tick_count() {
    return script.now;
}
VOID WINAPI sleep(DWORD ms) {
    script.now += ms;
}

FileCalls stand_in_calls() {
    FileCalls calls;
    calls.create_file = &create_file;
    calls.write_file = &write_file;
    calls.flush_file = &flush_file;
    calls.replace_file = &replace_file;
    calls.move_file = &move_file;
    calls.delete_file = &delete_file;
    calls.tick_count = &tick_count;
    calls.sleep = &sleep;
    return calls;
}

std::string shown(const std::optional<std::string>& file) {
    return file ? *file : "(no file)";
}

// The program stopped after each call in turn (between two writes of the new bytes too),
// then started again and saving once more, as after a crash or a kill.
TEST(FileReplace, StoppedAfterAnyCallLeavesTheOldFileOrTheNewOne) {
    for (const std::optional<std::string>& old :
         {std::optional<std::string>(kOld), std::optional<std::string>()}) {
        SCOPED_TRACE(old ? "over an old file" : "without an old file");
        ScratchDirectory dir;
        const std::string path = dir.file("items.txt");
        script = {};
        if (old) {
            ASSERT_TRUE(dir.write_file("items.txt", *old));
        }
        ASSERT_TRUE(replace_file_atomically(path, kNew, nullptr, stand_in_calls()));
        const int all_calls = script.calls;
        ASSERT_GT(all_calls, 5) << "too few calls to stop between";

        std::set<std::string> seen;
        for (int stop_after = 0; stop_after <= all_calls; ++stop_after) {
            SCOPED_TRACE("stopped after " + std::to_string(stop_after) + " calls");
            for (const std::string& name : dir.names()) {  // so every run makes the same calls
                DeleteFileA(dir.file(name).c_str());
            }
            if (old) {
                ASSERT_TRUE(dir.write_file("items.txt", *old));
            }
            script = {};
            script.stop_after = stop_after;
            replace_file_atomically(path, kNew, nullptr, stand_in_calls());
            const std::optional<std::string> now = read_file(path);
            ASSERT_TRUE(now == old || now == std::string(kNew)) << shown(now);
            seen.insert(shown(now));

            // Whatever the stopped save left behind does not keep the next one from working.
            SaveFailure why = SaveFailure::other;
            EXPECT_TRUE(replace_file_atomically(path, kNew, &why));
            EXPECT_EQ(why, SaveFailure::none);
            EXPECT_EQ(read_file(path), std::string(kNew));
        }
        EXPECT_EQ(seen, (std::set<std::string>{shown(old), kNew}));
    }
}

struct HeldCase {
    const char* name;
    Script::Target failing;
    DWORD error;
    int failures;
    bool saved;
    SaveFailure why;
    int attempts;                      // replaces tried; 0: the replace is never reached
    DWORD retry_ms = kReplaceRetryMs;  // the time the save is given for a held file
};

// Two seconds at one try every 50 ms: the first try and 40 more.
constexpr int kTriesInTheBound = 41;

TEST(FileReplace, AReplaceRefusedWhileTheFileIsHeldIsTriedAgainForTheTimeTheSaveIsGiven) {
    const HeldCase cases[] = {
        {"sharing violation, let go", Script::replace, ERROR_SHARING_VIOLATION, 5, true,
         SaveFailure::none, 6},
        {"lock violation, let go", Script::replace, ERROR_LOCK_VIOLATION, 5, true,
         SaveFailure::none, 6},
        {"access denied, let go", Script::replace, ERROR_ACCESS_DENIED, 5, true, SaveFailure::none,
         6},
        {"old file not removable, let go", Script::replace, ERROR_UNABLE_TO_REMOVE_REPLACED, 5,
         true, SaveFailure::none, 6},
        {"new file not movable, let go", Script::replace, ERROR_UNABLE_TO_MOVE_REPLACEMENT, 5, true,
         SaveFailure::none, 6},
        {"new file not movable, held on", Script::replace, ERROR_UNABLE_TO_MOVE_REPLACEMENT, 1000,
         false, SaveFailure::in_use, kTriesInTheBound},
        {"old file moved aside, new one not moved, let go", Script::replace,
         ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 5, true, SaveFailure::none, 6},
        {"old file moved aside, new one not moved, held on", Script::replace,
         ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1000, false, SaveFailure::in_use, kTriesInTheBound},
        {"let go just in time", Script::replace, ERROR_SHARING_VIOLATION, kTriesInTheBound - 1,
         true, SaveFailure::none, kTriesInTheBound},
        {"sharing violation, held on", Script::replace, ERROR_SHARING_VIOLATION, 1000, false,
         SaveFailure::in_use, kTriesInTheBound},
        {"access denied, held on", Script::replace, ERROR_ACCESS_DENIED, 1000, false,
         SaveFailure::access_denied, kTriesInTheBound},
        {"another error", Script::replace, ERROR_FILE_CORRUPT, 1000, false, SaveFailure::other, 1},
        {"disk full while writing", Script::write, ERROR_DISK_FULL, 1, false,
         SaveFailure::disk_full, 0},
        // A save given 1 second (the settings at the end of a session): 21 tries.
        {"1 s, let go on the last try", Script::replace, ERROR_SHARING_VIOLATION, 20, true,
         SaveFailure::none, 21, 1000},
        {"1 s, held on", Script::replace, ERROR_SHARING_VIOLATION, 1000, false, SaveFailure::in_use,
         21, 1000},
    };
    for (const HeldCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory dir;
        const std::string path = dir.file("items.txt");
        ASSERT_TRUE(dir.write_file("items.txt", kOld));
        script = {};
        script.failing = c.failing;
        script.error = c.error;
        script.failures = c.failures;
        const ULONGLONG start = script.now;
        SaveFailure why = SaveFailure::other;
        EXPECT_EQ(replace_file_atomically(path, kNew, &why, stand_in_calls(), c.retry_ms), c.saved);
        EXPECT_EQ(why, c.why);
        EXPECT_EQ(script.attempts, c.attempts);
        EXPECT_LE(script.now - start, c.retry_ms) << "waited past the bound";
        EXPECT_EQ(read_file(path), std::string(c.saved ? kNew : kOld));
        EXPECT_EQ(dir.names(), std::vector<std::string>{"items.txt"}) << "something left over";
    }
}

TEST(FileReplace, ASecondSaveWhileTheFirstWritesUsesATemporaryFileOfItsOwn) {
    ScratchDirectory dir;
    const std::string path = dir.file("items.txt");
    ASSERT_TRUE(dir.write_file("items.txt", kOld));
    script = {};
    script.nested = true;
    EXPECT_TRUE(replace_file_atomically(path, kNew, nullptr, stand_in_calls()));
    EXPECT_EQ(script.nested_saved, true);
    EXPECT_EQ(read_file(path), std::string(kNew));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"items.txt"});
}

TEST(FileReplace, TheOldFilesAttributesStayAndAReadOnlyFileIsRefused) {
    struct Case {
        DWORD attributes;
        bool saved;
        DWORD after;
    };
    const Case cases[] = {
        {FILE_ATTRIBUTE_HIDDEN, true, FILE_ATTRIBUTE_HIDDEN},
        {FILE_ATTRIBUTE_READONLY, false, FILE_ATTRIBUTE_READONLY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        ScratchDirectory dir;
        const std::string path = dir.file("QuillaWS.txt");
        ASSERT_TRUE(dir.write_file("QuillaWS.txt", kOld));
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), c.attributes));
        SaveFailure why = SaveFailure::other;
        EXPECT_EQ(replace_file_atomically(path, kNew, &why), c.saved);
        EXPECT_EQ(why, c.saved ? SaveFailure::none : SaveFailure::read_only);
        EXPECT_EQ(
            GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
            c.after);
        EXPECT_EQ(read_file(path), std::string(c.saved ? kNew : kOld));
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

}  // namespace
}  // namespace quilla
