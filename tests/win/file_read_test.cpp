// Reading a whole file, run through stand-in file system calls: only a file that is not
// there counts as none; a file another program holds (at the open or, by a locked range,
// at a read) is tried again for about two seconds; a read that fails half way is a failed
// read, never the end of the file.
#include "base/file_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>

#include "tests/support/test_process_win.h"

namespace quilla {
namespace {

using test_support::ScratchDirectory;

constexpr char kSettings[] = "x=120\r\ny=80\r\nWait=250\r\nWeaponText=なし\r\n";

// What the stand-in calls do; one script per case (the calls are plain function pointers).
struct Script {
    DWORD open_error = 0;
    int open_failures = 0;  // opens refused before one is let through
    DWORD read_error = 0;
    int read_failures = 0;      // opens whose second read fails, after the first gave bytes
    int opens = 0;              // opens tried
    int reads = 0;              // reads of the current open
    ULONGLONG now = 1000;       // the clock, advanced only by sleeping
    HANDLE tried = nullptr;     // when given: set at the first sleep, which then waits for
    HANDLE released = nullptr;  // this to be set
};
Script script;

HANDLE WINAPI create_file(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                          DWORD disposition, DWORD flags, HANDLE templ) {
    ++script.opens;
    script.reads = 0;
    if (script.open_failures > 0) {
        --script.open_failures;
        SetLastError(script.open_error);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(name, access, share, security, disposition, flags, templ);
}

// Reads at most 7 bytes a call, so that a read can fail half way through the file.
BOOL WINAPI read_file(HANDLE file, LPVOID data, DWORD size, LPDWORD got, LPOVERLAPPED o) {
    if (++script.reads == 2 && script.read_failures > 0) {
        --script.read_failures;
        *got = 0;
        SetLastError(script.read_error);
        return FALSE;
    }
    return ReadFile(file, data, std::min<DWORD>(size, 7), got, o);
}

ULONGLONG WINAPI tick_count() {
    return script.now;
}

VOID WINAPI sleep(DWORD ms) {
    if (script.tried) {
        SetEvent(script.tried);
        WaitForSingleObject(script.released, INFINITE);
        script.tried = nullptr;
    }
    script.now += ms;
}

FileCalls stand_in_calls() {
    FileCalls calls;
    calls.create_file = &create_file;
    calls.read_file = &read_file;
    calls.tick_count = &tick_count;
    calls.sleep = &sleep;
    return calls;
}

// Two seconds at one try every 50 ms: the first try and 40 more.
constexpr int kTriesInTheBound = 41;

TEST(FileRead, OnlyAMissingFileIsNoneAndAHeldOneIsTriedAgainForAboutTwoSeconds) {
    const struct Case {
        const char* name;
        const char* file;  // the name read, in the scratch folder; the file is there
        DWORD open_error;
        int open_failures;
        DWORD read_error;
        int read_failures;
        ReadOutcome outcome;
        DWORD error;
        int opens;
        DWORD retry_ms = kReplaceRetryMs;
    } cases[] = {
        {"no file", "other.txt", 0, 0, 0, 0, ReadOutcome::not_found, ERROR_FILE_NOT_FOUND, 1},
        {"no folder", "gone\\QuillaWS.txt", 0, 0, 0, 0, ReadOutcome::not_found,
         ERROR_PATH_NOT_FOUND, 1},
        {"read at once", "QuillaWS.txt", 0, 0, 0, 0, ReadOutcome::whole, ERROR_SUCCESS, 1},
        {"held at the open, let go", "QuillaWS.txt", ERROR_SHARING_VIOLATION, 5, 0, 0,
         ReadOutcome::whole, ERROR_SUCCESS, 6},
        {"held at the open, let go on the last try", "QuillaWS.txt", ERROR_SHARING_VIOLATION,
         kTriesInTheBound - 1, 0, 0, ReadOutcome::whole, ERROR_SUCCESS, kTriesInTheBound},
        {"held at the open one try longer than the bound", "QuillaWS.txt", ERROR_SHARING_VIOLATION,
         kTriesInTheBound, 0, 0, ReadOutcome::unreadable, ERROR_SHARING_VIOLATION,
         kTriesInTheBound},
        {"held at the open throughout", "QuillaWS.txt", ERROR_SHARING_VIOLATION, 1000, 0, 0,
         ReadOutcome::unreadable, ERROR_SHARING_VIOLATION, kTriesInTheBound},
        {"held, no wait given", "QuillaWS.txt", ERROR_SHARING_VIOLATION, 1000, 0, 0,
         ReadOutcome::unreadable, ERROR_SHARING_VIOLATION, 1, 0},
        {"locked at the open throughout", "QuillaWS.txt", ERROR_LOCK_VIOLATION, 1000, 0, 0,
         ReadOutcome::unreadable, ERROR_LOCK_VIOLATION, kTriesInTheBound},
        {"a range locked half way, let go", "QuillaWS.txt", 0, 0, ERROR_LOCK_VIOLATION, 3,
         ReadOutcome::whole, ERROR_SUCCESS, 4},
        {"a range locked half way throughout", "QuillaWS.txt", 0, 0, ERROR_LOCK_VIOLATION, 1000,
         ReadOutcome::unreadable, ERROR_LOCK_VIOLATION, kTriesInTheBound},
        {"a read failing half way", "QuillaWS.txt", 0, 0, ERROR_IO_DEVICE, 1,
         ReadOutcome::unreadable, ERROR_IO_DEVICE, 1},
        {"a placeholder not fetched", "QuillaWS.txt", 0, 0, ERROR_NOT_READY, 1,
         ReadOutcome::unreadable, ERROR_NOT_READY, 1},
        {"no right to read", "QuillaWS.txt", ERROR_ACCESS_DENIED, 1000, 0, 0,
         ReadOutcome::unreadable, ERROR_ACCESS_DENIED, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory dir;
        ASSERT_TRUE(dir.write_file("QuillaWS.txt", kSettings));
        script = {};
        script.open_error = c.open_error;
        script.open_failures = c.open_failures;
        script.read_error = c.read_error;
        script.read_failures = c.read_failures;
        const ULONGLONG start = script.now;
        const FileRead read =
            read_whole_file(widen(dir.file(c.file)), stand_in_calls(), c.retry_ms);
        EXPECT_EQ(read.outcome, c.outcome);
        EXPECT_EQ(read.error, c.error);
        EXPECT_EQ(read.bytes, c.outcome == ReadOutcome::whole ? kSettings : "");
        EXPECT_EQ(script.opens, c.opens);
        EXPECT_EQ(script.now - start, (c.opens - 1) * ULONGLONG{kReplaceRetryIntervalMs});
    }
}

// The same hold by another handle on the real file, with no sharing: kept on past the
// bound, and let go while the read waits for it. (A locked range held by another handle
// of the same process does not keep Wine from reading: that case is the stand-ins'.)
TEST(FileRead, ARealHoldLetGoWhileTheReadWaitsIsReadWhole) {
    ScratchDirectory dir;
    ASSERT_TRUE(dir.write_file("QuillaWS.txt", kSettings));
    const std::wstring path = widen(dir.file("QuillaWS.txt"));
    UniqueFile held = test_support::hold_file_exclusively(dir.file("QuillaWS.txt"));
    ASSERT_TRUE(held);
    FileCalls calls;
    calls.tick_count = &tick_count;
    calls.sleep = &sleep;

    script = {};
    const FileRead refused = read_whole_file(path, calls);
    EXPECT_EQ(refused.outcome, ReadOutcome::unreadable);
    EXPECT_EQ(refused.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(script.now - 1000, ULONGLONG{kReplaceRetryMs});

    script = {};
    const UniqueKernelHandle tried(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const UniqueKernelHandle released(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    script.tried = tried.get();
    script.released = released.get();
    FileRead read;
    std::thread reader([&] { read = read_whole_file(path, calls); });
    const bool seen =
        WaitForSingleObject(tried.get(), test_support::deadline_ms(test_support::kUsualWaitMs)) ==
        WAIT_OBJECT_0;
    held.reset();
    SetEvent(released.get());
    reader.join();
    ASSERT_TRUE(seen) << "the read did not wait for the file";
    EXPECT_EQ(read.outcome, ReadOutcome::whole);
    EXPECT_EQ(read.bytes, kSettings);
}

// What the program takes without waiting: a missing file, an empty one, a folder, and a
// text file saved as UTF-8.
TEST(FileRead, TheOutcomesOfRealFiles) {
    ScratchDirectory dir;
    ASSERT_TRUE(dir.write_file("empty.txt", ""));
    ASSERT_TRUE(dir.write_file("utf8.txt",
                               "\xEF\xBB\xBF"
                               "x=1\r\nWeaponText=\xE3\x81\xAA\xE3\x81\x97\r\n"));
    ASSERT_TRUE(CreateDirectoryW(widen(dir.file("folder")).c_str(), nullptr));
    const struct {
        const char* name;
        ReadOutcome outcome;
        const char* text;
    } cases[] = {
        {"missing.txt", ReadOutcome::not_found, ""},
        {"empty.txt", ReadOutcome::whole, ""},
        {"folder", ReadOutcome::unreadable, ""},
        {"utf8.txt", ReadOutcome::whole, "x=1\r\nWeaponText=なし\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FileRead read = read_whole_text_file(widen(dir.file(c.name)), FileCalls{}, 0);
        EXPECT_EQ(read.outcome, c.outcome);
        EXPECT_EQ(read.bytes, c.text);
        EXPECT_EQ(read_text_file(widen(dir.file(c.name))), c.outcome == ReadOutcome::whole
                                                               ? std::optional<std::string>(c.text)
                                                               : std::nullopt);
    }
}

}  // namespace
}  // namespace quilla
