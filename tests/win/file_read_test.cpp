// Reading a whole file, run through stand-in file system calls: only a file that is not
// there counts as none; a file another program holds (at the open or, by a locked range,
// at a read) is tried again for about two seconds; a read that fails half way is a failed
// read, never the end of the file. The start-up read of the item file is the same read.
#include "base/file_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <thread>

#include "items/item_file_win.h"
#include "tests/support/fake_clock.h"
#include "tests/support/test_process_win.h"

namespace quilla {
namespace {

using launch::ScratchDirectory;
using test_support::FakeClock;

// A settings file with an item line, read by either reader.
constexpr char kFileText[] = "x=120\r\ny=80\r\nWait=250\r\nWeaponText=なし\r\n武器,剣,5\r\n";

// File calls that refuse opens and fail reads as their script says, and otherwise make
// the real ones.
class StandInCalls : public FileCalls {
  public:
    DWORD open_error = 0;
    int open_failures = 0;  // opens refused before one is let through
    DWORD read_error = 0;
    int read_failures = 0;  // opens whose second read fails, after the first gave bytes
    int opens = 0;          // opens tried

    HANDLE create_file(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                       DWORD disposition, DWORD flags, HANDLE templ) override {
        ++opens;
        reads_ = 0;
        if (open_failures > 0) {
            --open_failures;
            SetLastError(open_error);
            return INVALID_HANDLE_VALUE;
        }
        return FileCalls::create_file(name, access, share, security, disposition, flags, templ);
    }

    // Reads at most 7 bytes a call, so that a read can fail half way through the file.
    BOOL read_file(HANDLE file, LPVOID data, DWORD size, LPDWORD got,
                   LPOVERLAPPED overlapped) override {
        if (++reads_ == 2 && read_failures > 0) {
            --read_failures;
            *got = 0;
            SetLastError(read_error);
            return FALSE;
        }
        return FileCalls::read_file(file, data, std::min<DWORD>(size, 7), got, overlapped);
    }

  private:
    int reads_ = 0;  // reads of the current open
};

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
        {"no file", "other.txt", 0, 0, 0, 0, ReadOutcome::kNotFound, ERROR_FILE_NOT_FOUND, 1},
        {"no folder", "gone\\QuillaWS.txt", 0, 0, 0, 0, ReadOutcome::kNotFound,
         ERROR_PATH_NOT_FOUND, 1},
        {"read at once", "QuillaWS.txt", 0, 0, 0, 0, ReadOutcome::kWhole, ERROR_SUCCESS, 1},
        {"held at the open, let go", "QuillaWS.txt", ERROR_SHARING_VIOLATION, 5, 0, 0,
         ReadOutcome::kWhole, ERROR_SUCCESS, 6},
        {"held at the open, let go on the last try", "QuillaWS.txt", ERROR_SHARING_VIOLATION,
         kTriesInTheBound - 1, 0, 0, ReadOutcome::kWhole, ERROR_SUCCESS, kTriesInTheBound},
        {"held at the open one try longer than the bound", "QuillaWS.txt", ERROR_SHARING_VIOLATION,
         kTriesInTheBound, 0, 0, ReadOutcome::kUnreadable, ERROR_SHARING_VIOLATION,
         kTriesInTheBound},
        {"held at the open throughout", "QuillaWS.txt", ERROR_SHARING_VIOLATION, 1000, 0, 0,
         ReadOutcome::kUnreadable, ERROR_SHARING_VIOLATION, kTriesInTheBound},
        {"held, no wait given", "QuillaWS.txt", ERROR_SHARING_VIOLATION, 1000, 0, 0,
         ReadOutcome::kUnreadable, ERROR_SHARING_VIOLATION, 1, 0},
        {"locked at the open throughout", "QuillaWS.txt", ERROR_LOCK_VIOLATION, 1000, 0, 0,
         ReadOutcome::kUnreadable, ERROR_LOCK_VIOLATION, kTriesInTheBound},
        {"a range locked half way, let go", "QuillaWS.txt", 0, 0, ERROR_LOCK_VIOLATION, 3,
         ReadOutcome::kWhole, ERROR_SUCCESS, 4},
        {"a range locked half way throughout", "QuillaWS.txt", 0, 0, ERROR_LOCK_VIOLATION, 1000,
         ReadOutcome::kUnreadable, ERROR_LOCK_VIOLATION, kTriesInTheBound},
        {"a read failing half way", "QuillaWS.txt", 0, 0, ERROR_IO_DEVICE, 1,
         ReadOutcome::kUnreadable, ERROR_IO_DEVICE, 1},
        {"a placeholder not fetched", "QuillaWS.txt", 0, 0, ERROR_NOT_READY, 1,
         ReadOutcome::kUnreadable, ERROR_NOT_READY, 1},
        {"no right to read", "QuillaWS.txt", ERROR_ACCESS_DENIED, 1000, 0, 0,
         ReadOutcome::kUnreadable, ERROR_ACCESS_DENIED, 1},
    };
    // Each case read as a whole file and as the item file at start, which reads the same
    // way: its tables filled from a whole file, and a file that is there but unreadable
    // remembered.
    ItemTables sword;
    set(sword, Category::kWeapon, "剣", 5);
    for (const Case& c : cases) {
        for (const bool item_file : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (item_file ? ", item file" : ""));
            ScratchDirectory dir;
            ASSERT_TRUE(dir.write_file("QuillaWS.txt", kFileText));
            StandInCalls calls;
            calls.open_error = c.open_error;
            calls.open_failures = c.open_failures;
            calls.read_error = c.read_error;
            calls.read_failures = c.read_failures;
            FakeClock clock;  // moved only by the read's pauses
            const uint64_t start = clock.now_ms();
            const std::wstring path = widen(dir.file(c.file));
            if (item_file) {
                ItemDatabase db;
                EXPECT_EQ(load_startup_items(db, path, c.retry_ms, calls, clock), c.outcome);
                EXPECT_EQ(*db.snapshot(), c.outcome == ReadOutcome::kWhole ? sword : ItemTables{});
                EXPECT_FALSE(db.unsaved());
                EXPECT_EQ(db.item_file_unread(), c.outcome == ReadOutcome::kUnreadable);
            } else {
                const FileRead read = read_whole_file(path, c.retry_ms, calls, clock);
                EXPECT_EQ(read.outcome, c.outcome);
                EXPECT_EQ(read.error, c.error);
                EXPECT_EQ(read.bytes, c.outcome == ReadOutcome::kWhole ? kFileText : "");
            }
            EXPECT_EQ(calls.opens, c.opens);
            EXPECT_EQ(clock.now_ms() - start, (c.opens - 1) * uint64_t{kReplaceRetryIntervalMs});
        }
    }
}

// The same hold by another handle on the real file, with no sharing: kept on past the
// bound, and let go while the read waits for it. (A locked range held by another handle
// of the same process does not keep Wine from reading: that case is the stand-ins'.)
TEST(FileRead, ARealHoldLetGoWhileTheReadWaitsIsReadWhole) {
    ScratchDirectory dir;
    ASSERT_TRUE(dir.write_file("QuillaWS.txt", kFileText));
    const std::wstring path = widen(dir.file("QuillaWS.txt"));
    UniqueFile held = test_support::hold_file_exclusively(dir.file("QuillaWS.txt"));
    ASSERT_TRUE(held);

    FakeClock bound;
    const uint64_t start = bound.now_ms();
    const FileRead refused =
        read_whole_file(path, kReplaceRetryMs, system_calls<FileCalls>(), bound);
    EXPECT_EQ(refused.outcome, ReadOutcome::kUnreadable);
    EXPECT_EQ(refused.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(bound.now_ms() - start, uint64_t{kReplaceRetryMs});

    // The first pause holds the read until the test has let the file go.
    const UniqueKernelHandle tried(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const UniqueKernelHandle released(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    FakeClock clock;
    bool held_once = false;  // touched only by the reader's pauses
    clock.on_pause = [&](uint32_t) {
        if (!held_once) {
            held_once = true;
            SetEvent(tried.get());
            WaitForSingleObject(released.get(), INFINITE);
        }
    };
    FileRead read;
    std::thread reader(
        [&] { read = read_whole_file(path, kReplaceRetryMs, system_calls<FileCalls>(), clock); });
    const bool seen = WaitForSingleObject(tried.get(), launch::deadline_ms(launch::kUsualWaitMs)) ==
                      WAIT_OBJECT_0;
    held.reset();
    SetEvent(released.get());
    reader.join();
    ASSERT_TRUE(seen) << "the read did not wait for the file";
    EXPECT_EQ(read.outcome, ReadOutcome::kWhole);
    EXPECT_EQ(read.bytes, kFileText);
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
        {"missing.txt", ReadOutcome::kNotFound, ""},
        {"empty.txt", ReadOutcome::kWhole, ""},
        {"folder", ReadOutcome::kUnreadable, ""},
        {"utf8.txt", ReadOutcome::kWhole, "x=1\r\nWeaponText=なし\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FileRead read = read_whole_text_file(widen(dir.file(c.name)), 0);
        EXPECT_EQ(read.outcome, c.outcome);
        EXPECT_EQ(read.bytes, c.text);
        EXPECT_EQ(read_text_file(widen(dir.file(c.name))), c.outcome == ReadOutcome::kWhole
                                                               ? std::optional<std::string>(c.text)
                                                               : std::nullopt);
    }
}

}  // namespace
}  // namespace quilla
