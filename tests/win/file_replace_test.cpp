// Replacing a file in one step, run through stand-in file system calls: the program
// stopped after any one call leaves the old file or the new one, byte for byte; a replace
// refused while another program holds the file is tried again for about two seconds, and
// one refused half way (the new file not moved in) leaves the old file under its name; a
// second save in the middle of the first does not disturb it; the old file's attributes
// stay.
#include "base/file_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/support/fake_clock.h"
#include "tools/launch/process_win.h"

namespace quilla {
namespace {

using launch::read_file;
using launch::ScratchDirectory;
using test_support::FakeClock;

constexpr char kOld[] = "武器,古い剣,3\r\n";
constexpr char kNew[] = "武器,ミスリルブレード,9\r\n盾,白銀の盾,5\r\nお守り,いやしのお守り,\r\n";

// File calls that stop the program after a number of them, fail a write or a replace as
// their script says, and otherwise make the real ones.
class StandInCalls : public FileCalls {
  public:
    enum Target { kNone, kWrite, kReplace };

    int stop_after = -1;  // calls that reach the disk before the program "stops"; -1: never
    int calls = 0;        // calls that reached the disk
    int attempts = 0;     // replaces tried
    Target failing = kNone;
    DWORD error = 0;
    int failures = 0;     // how many times the failing call fails before it works
    bool nested = false;  // whether a second save runs while the first holds its temp file
    std::optional<bool> nested_saved;

    HANDLE create_file(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                       DWORD disposition, DWORD flags, HANDLE templ) override {
        if (stopped()) {
            return INVALID_HANDLE_VALUE;
        }
        HANDLE h = FileCalls::create_file(name, access, share, security, disposition, flags, templ);
        if (h != INVALID_HANDLE_VALUE && nested) {
            nested = false;
            const std::wstring target(name, std::wstring_view(name).find(L".~"));
            nested_saved = replace_file_atomically(target, "second save\r\n");
        }
        return h;
    }

    // Writes at most 7 bytes a call, so that the program can stop half way through the bytes.
    BOOL write_file(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                    LPOVERLAPPED overlapped) override {
        if (stopped() || fails(kWrite)) {
            return FALSE;
        }
        return FileCalls::write_file(file, data, std::min<DWORD>(size, 7), written, overlapped);
    }

    BOOL flush_file(HANDLE file) override { return stopped() ? FALSE : FlushFileBuffers(file); }

    BOOL replace_file(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                      LPVOID exclude, LPVOID reserved) override {
        ++attempts;
        if (stopped()) {
            return FALSE;
        }
        if (failing == kReplace && failures > 0) {
            // What Windows leaves behind when it cannot put the new file in place: for 1176,
            // the old file is gone unless it was given a backup name (then both keep theirs);
            // for 1177, the old file has the backup name.
            if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT && !backup) {
                DeleteFileW(replaced);
            }
            if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 &&
                !(backup && FileCalls::move_file(replaced, backup, MOVEFILE_REPLACE_EXISTING))) {
                DeleteFileW(replaced);
            }
            fails(kReplace);  // counts the failure and sets its error
            return FALSE;
        }
        return FileCalls::replace_file(replaced, replacement, backup, flags, exclude, reserved);
    }

    BOOL move_file(LPCWSTR from, LPCWSTR to, DWORD flags) override {
        return stopped() ? FALSE : FileCalls::move_file(from, to, flags);
    }

    BOOL delete_file(LPCWSTR name) override { return stopped() ? FALSE : DeleteFileW(name); }

  private:
    // True when the program has stopped: the call neither happens nor reports success.
    bool stopped() {
        if (stop_after >= 0 && calls >= stop_after) {
            SetLastError(ERROR_GEN_FAILURE);
            return true;
        }
        ++calls;
        return false;
    }

    bool fails(Target target) {
        if (failing != target || failures == 0) {
            return false;
        }
        --failures;
        SetLastError(error);
        return true;
    }
};

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
        if (old) {
            ASSERT_TRUE(dir.write_file("items.txt", *old));
        }
        StandInCalls counted;
        FakeClock clock;
        ASSERT_TRUE(replace_file_atomically(path, kNew, nullptr, kReplaceRetryMs, counted, clock));
        const int all_calls = counted.calls;
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
            StandInCalls calls;
            calls.stop_after = stop_after;
            replace_file_atomically(path, kNew, nullptr, kReplaceRetryMs, calls, clock);
            const std::optional<std::string> now = read_file(path);
            ASSERT_TRUE(now == old || now == std::string(kNew)) << shown(now);
            seen.insert(shown(now));

            // Whatever the stopped save left behind does not keep the next one from working.
            SaveFailure why = SaveFailure::kOther;
            EXPECT_TRUE(replace_file_atomically(path, kNew, &why));
            EXPECT_EQ(why, SaveFailure::kNone);
            EXPECT_EQ(read_file(path), std::string(kNew));
        }
        EXPECT_EQ(seen, (std::set<std::string>{shown(old), kNew}));
    }
}

struct HeldCase {
    const char* name;
    StandInCalls::Target failing;
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
        {"sharing violation, let go", StandInCalls::kReplace, ERROR_SHARING_VIOLATION, 5, true,
         SaveFailure::kNone, 6},
        {"lock violation, let go", StandInCalls::kReplace, ERROR_LOCK_VIOLATION, 5, true,
         SaveFailure::kNone, 6},
        {"access denied, let go", StandInCalls::kReplace, ERROR_ACCESS_DENIED, 5, true,
         SaveFailure::kNone, 6},
        {"old file not removable, let go", StandInCalls::kReplace, ERROR_UNABLE_TO_REMOVE_REPLACED,
         5, true, SaveFailure::kNone, 6},
        {"new file not movable, let go", StandInCalls::kReplace, ERROR_UNABLE_TO_MOVE_REPLACEMENT,
         5, true, SaveFailure::kNone, 6},
        {"new file not movable, held on", StandInCalls::kReplace, ERROR_UNABLE_TO_MOVE_REPLACEMENT,
         1000, false, SaveFailure::kInUse, kTriesInTheBound},
        {"old file moved aside, new one not moved, let go", StandInCalls::kReplace,
         ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 5, true, SaveFailure::kNone, 6},
        {"old file moved aside, new one not moved, held on", StandInCalls::kReplace,
         ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1000, false, SaveFailure::kInUse, kTriesInTheBound},
        {"let go just in time", StandInCalls::kReplace, ERROR_SHARING_VIOLATION,
         kTriesInTheBound - 1, true, SaveFailure::kNone, kTriesInTheBound},
        {"sharing violation, held on", StandInCalls::kReplace, ERROR_SHARING_VIOLATION, 1000, false,
         SaveFailure::kInUse, kTriesInTheBound},
        {"access denied, held on", StandInCalls::kReplace, ERROR_ACCESS_DENIED, 1000, false,
         SaveFailure::kAccessDenied, kTriesInTheBound},
        {"another error", StandInCalls::kReplace, ERROR_FILE_CORRUPT, 1000, false,
         SaveFailure::kOther, 1},
        {"disk full while writing", StandInCalls::kWrite, ERROR_DISK_FULL, 1, false,
         SaveFailure::kDiskFull, 0},
        // A save given 1 second (the settings at the end of a session): 21 tries.
        {"1 s, let go on the last try", StandInCalls::kReplace, ERROR_SHARING_VIOLATION, 20, true,
         SaveFailure::kNone, 21, 1000},
        {"1 s, held on", StandInCalls::kReplace, ERROR_SHARING_VIOLATION, 1000, false,
         SaveFailure::kInUse, 21, 1000},
    };
    for (const HeldCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory dir;
        const std::string path = dir.file("items.txt");
        ASSERT_TRUE(dir.write_file("items.txt", kOld));
        StandInCalls calls;
        calls.failing = c.failing;
        calls.error = c.error;
        calls.failures = c.failures;
        FakeClock clock;  // moved only by the save's pauses
        const uint64_t start = clock.now_ms();
        SaveFailure why = SaveFailure::kOther;
        EXPECT_EQ(replace_file_atomically(path, kNew, &why, c.retry_ms, calls, clock), c.saved);
        EXPECT_EQ(why, c.why);
        EXPECT_EQ(calls.attempts, c.attempts);
        EXPECT_LE(clock.now_ms() - start, c.retry_ms) << "waited past the bound";
        EXPECT_EQ(read_file(path), std::string(c.saved ? kNew : kOld));
        EXPECT_EQ(dir.names(), std::vector<std::string>{"items.txt"}) << "something left over";
    }
}

TEST(FileReplace, ASecondSaveWhileTheFirstWritesUsesATemporaryFileOfItsOwn) {
    ScratchDirectory dir;
    const std::string path = dir.file("items.txt");
    ASSERT_TRUE(dir.write_file("items.txt", kOld));
    StandInCalls calls;
    calls.nested = true;
    FakeClock clock;
    EXPECT_TRUE(replace_file_atomically(path, kNew, nullptr, kReplaceRetryMs, calls, clock));
    EXPECT_EQ(calls.nested_saved, true);
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
        SaveFailure why = SaveFailure::kOther;
        EXPECT_EQ(replace_file_atomically(path, kNew, &why), c.saved);
        EXPECT_EQ(why, c.saved ? SaveFailure::kNone : SaveFailure::kReadOnly);
        EXPECT_EQ(
            GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
            c.after);
        EXPECT_EQ(read_file(path), std::string(c.saved ? kNew : kOld));
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

}  // namespace
}  // namespace quilla
