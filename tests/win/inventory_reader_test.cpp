// Reading the host's inventory lines: exact Shift-JIS bytes (trail bytes 0x5C included),
// lines longer than 255 bytes, from a list box of this process and across processes from
// the stand-in host, which follows edits of its inventory file; and which limits cut a
// read short.
#include "host/inventory_reader_win.h"

#include "host/host_window_win.h"
#include "tests/support/fake_clock.h"
#include "tests/support/inventory_window_win.h"
#include "tools/launch/process_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace quilla {
namespace {

using launch::ChildProcess;
using launch::ScratchDirectory;
using launch::wait_until;
using test_support::FakeClock;
using test_support::local_inventory;
using test_support::read_inventory_lines;

using Lines = std::vector<std::string>;

// 150 times "表": 300 bytes, every second one the 0x5C trail byte.
std::string long_line() {
    std::string line;
    for (int i = 0; i < 150; ++i) {
        line += "表";
    }
    return line;
}

// Lines whose second bytes are 0x5C ("表", "ソ", "能", "十"), an empty line, a long line.
const Lines& tricky_lines() {
    static const Lines lines = {
        "表示の剣 [竜会] (Ｅ)", "ソード", "", long_line(), "能力の種 (Ｅ金)", "十字架",
    };
    return lines;
}

TEST(ReadInventoryLines, ReturnsTheListBoxLinesInOrder) {
    ASSERT_EQ(find_inventory_window(), nullptr) << "an inventory window is already open";
    const Lines cases[] = {
        {},
        {"やくそう"},
        tricky_lines(),
        {long_line(), long_line() + "x"},
    };
    for (const Lines& lines : cases) {
        SCOPED_TRACE(lines.size());
        const UniqueWindow inventory = local_inventory(lines);
        ASSERT_NE(inventory.get(), nullptr);
        EXPECT_EQ(read_inventory_lines(), lines);
    }
}

TEST(ReadInventoryLines, NoInventoryWindowGivesNoLines) {
    ASSERT_EQ(find_inventory_window(), nullptr) << "an inventory window is already open";
    EXPECT_TRUE(read_inventory_lines().empty());
}

// An in-process list box that claims more lines than it holds (and gives its lines over
// and over for the indexes it does not hold).
struct Misbehaviour {
    LRESULT claimed_count = 0;  // 0: the real count
    WNDPROC list_proc = nullptr;
    WPARAM highest_index_asked = 0;
};

LRESULT CALLBACK misbehaving_list(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* how = static_cast<Misbehaviour*>(GetPropA(hwnd, "misbehaviour"));
    if (msg == LB_GETCOUNT && how->claimed_count != 0) {
        return how->claimed_count;
    }
    if (msg == LB_GETTEXTLEN) {
        how->highest_index_asked = std::max(how->highest_index_asked, wparam);
    }
    if ((msg == LB_GETTEXTLEN || msg == LB_GETTEXT) && how->claimed_count != 0) {
        const LRESULT held = CallWindowProcA(how->list_proc, hwnd, LB_GETCOUNT, 0, 0);
        wparam = held > 0 ? wparam % static_cast<WPARAM>(held) : wparam;
    }
    return CallWindowProcA(how->list_proc, hwnd, msg, wparam, lparam);
}

void misbehave(HWND list, Misbehaviour& how) {
    SetPropA(list, "misbehaviour", &how);
    how.list_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&misbehaving_list)));
}

// A host that takes line_ms of the clock to give each line's length; its messages reach
// the list box.
class SlowLines : public InventoryCalls {
  public:
    SlowLines(FakeClock& clock, uint64_t line_ms) : clock_(clock), line_ms_(line_ms) {}
    LRESULT send_timeout(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT flags,
                         UINT timeout_ms, PDWORD_PTR result) override {
        if (message == LB_GETTEXTLEN) {
            clock_.advance(line_ms_);
        }
        return InventoryCalls::send_timeout(window, message, wparam, lparam, flags, timeout_ms,
                                            result);
    }

  private:
    FakeClock& clock_;
    uint64_t line_ms_;
};

TEST(ReadInventoryLines, StopsAtTheLineLimitAndWhenItsTimeIsSpent) {
    ASSERT_EQ(find_inventory_window(), nullptr) << "an inventory window is already open";
    {
        SCOPED_TRACE("a host that claims two billion lines");
        const Lines held = {"やくそう", "ソード (Ｅ)"};
        Misbehaviour claims{2'000'000'000};  // outlives the window it is attached to
        const UniqueWindow inventory = local_inventory(held);
        misbehave(inventory.get(), claims);
        // The default line cap, with a time budget that only bounds a hang: 4096 questions
        // can take longer than the default 2 seconds on a busy machine.
        const InventoryRead read = read_inventory(
            {InventoryReadLimits{}.max_lines, launch::deadline_ms(launch::kUsualWaitMs)});
        ASSERT_EQ(read.lines.size(), 4096u);
        EXPECT_EQ(read.lines.front(), held[0]);
        EXPECT_EQ(read.lines.back(), held[1]);
        EXPECT_EQ(read.end, InventoryReadEnd::kWhole) << "the line cap cuts no real inventory";
        EXPECT_EQ(claims.highest_index_asked, 4095u);
    }
    {
        SCOPED_TRACE("a host that answers every line slowly");
        // Each line takes 600 ms: a line is asked for only while the budget is not spent.
        // With 500 ms each line takes longer than the whole budget: the first line is read
        // (the budget is not spent when it is asked for), then the budget is spent.
        struct Case {
            uint32_t budget_ms;
            Lines lines;
        };
        const Case cases[] = {
            {500, {"line 0"}},
            {600, {"line 0"}},            // spent when the second line is due
            {601, {"line 0", "line 1"}},  // 1 ms left for the second line
        };
        const Lines held = {"line 0", "line 1", "line 2"};
        const UniqueWindow inventory = local_inventory(held);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.budget_ms);
            FakeClock clock;
            SlowLines slow(clock, 600);
            const InventoryRead read = read_inventory({4096, c.budget_ms}, slow, clock);
            EXPECT_EQ(read.lines, c.lines);
            EXPECT_EQ(read.end, InventoryReadEnd::kCut);
        }
    }
}

// A list that the host rebuilds while it is read, answered by stand-in calls: from
// `before` until `change_after` line texts have been given, then from `after`. An index the
// list does not hold, and the index `refused` for the message `refused_message`, get LB_ERR
// as a list box gives it.
struct ChangingList {
    Lines before;
    Lines after;
    int change_after = INT_MAX;
    UINT refused_message = 0;
    WPARAM refused = 0;
};

class ChangingCalls : public InventoryCalls {
  public:
    explicit ChangingCalls(const ChangingList& list) : list_(list) {}

    LRESULT send_timeout(HWND, UINT message, WPARAM index, LPARAM buffer, UINT, UINT,
                         PDWORD_PTR result) override {
        const Lines& now = texts_given_ < list_.change_after ? list_.before : list_.after;
        const bool held =
            index < now.size() && !(message == list_.refused_message && index == list_.refused);
        LRESULT answer = LB_ERR;
        if (message == LB_GETCOUNT) {
            ++counts_asked;
            answer = static_cast<LRESULT>(now.size());
        } else if (message == LB_GETTEXTLEN && held) {
            answer = static_cast<LRESULT>(now[index].size());
        } else if (message == LB_GETTEXT && held) {
            // ASCII lines: each byte is one wide character.
            auto* out = reinterpret_cast<wchar_t*>(buffer);
            std::copy(now[index].begin(), now[index].end(), out);
            out[now[index].size()] = L'\0';
            answer = static_cast<LRESULT>(now[index].size());
            ++texts_given_;
        }
        *result = static_cast<DWORD_PTR>(answer);
        return TRUE;
    }

    int counts_asked = 0;

  private:
    const ChangingList& list_;
    int texts_given_ = 0;
};

// A read of a list that changed under it is cut, so the pass keeps the last whole read:
// an index below the count that the list no longer holds, or another count at the end. A
// list that stays as it is is read whole, the count asked again at the end.
TEST(ReadInventory, AListThatChangesDuringTheReadIsACutRead) {
    struct Case {
        const char* what;
        ChangingList list;
        Lines lines;
        InventoryReadEnd end;
        int counts_asked;
    };
    const Case cases[] = {
        {"unchanged", {{"a", "b", "c"}, {}}, {"a", "b", "c"}, InventoryReadEnd::kWhole, 2},
        {"a line removed in front after the first line",
         {{"a", "b", "c", "d"}, {"b", "c", "d"}, 1},
         {"a", "c", "d"},
         InventoryReadEnd::kCut,
         1},
        {"a line removed after the last line was read",
         {{"a", "b", "c"}, {"a", "b"}, 3},
         {"a", "b", "c"},
         InventoryReadEnd::kCut,
         2},
        {"a line added after the first line",
         {{"a", "b"}, {"a", "x", "b"}, 1},
         {"a", "x"},
         InventoryReadEnd::kCut,
         2},
        {"LB_ERR for the length of a line in the middle",
         {{"a", "b", "c"}, {}, INT_MAX, LB_GETTEXTLEN, 1},
         {"a"},
         InventoryReadEnd::kCut,
         1},
        {"LB_ERR for the text of a line in the middle",
         {{"a", "b", "c"}, {}, INT_MAX, LB_GETTEXT, 1},
         {"a"},
         InventoryReadEnd::kCut,
         1},
    };
    ASSERT_EQ(find_inventory_window(), nullptr) << "an inventory window is already open";
    const UniqueWindow inventory = local_inventory({});
    ASSERT_NE(inventory.get(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChangingCalls changing(c.list);
        const InventoryRead read = read_inventory({}, changing);
        EXPECT_EQ(read.lines, c.lines);
        EXPECT_EQ(read.end, c.end);
        EXPECT_EQ(changing.counts_asked, c.counts_asked);
    }
}

// The stand-in host, started with an inventory file in a scratch folder.
class StandinInventory : public ::testing::Test {
  protected:
    void start(const std::string& file_bytes) {
        ASSERT_TRUE(dir_.ok());
        ASSERT_TRUE(dir_.write_file("inventory.txt", file_bytes));
        launch::StandinHost host = launch::start_standin_host(dir_.path(), {});
        process_ = std::move(host.process);
        ASSERT_NE(host.main, nullptr) << host.error;
        inventory_ = process_->wait_for_inventory_window();
        ASSERT_NE(inventory_, nullptr) << "the stand-in did not open its inventory window";
    }

    // Waits until the reader returns expected; on a timeout the test fails with the last
    // lines read.
    void expect_lines(const Lines& expected) {
        Lines last;
        const bool matched = wait_until([&] {
            last = read_inventory_lines();
            return last == expected;
        });
        EXPECT_TRUE(matched) << ::testing::PrintToString(last);
    }

    ScratchDirectory dir_;  // outlives the process, which runs in it
    std::unique_ptr<ChildProcess> process_;
    HWND inventory_ = nullptr;
};

TEST_F(StandinInventory, ReadsExactBytesAcrossProcesses) {
    // CR LF and LF both end a line; the last line has no ending at all.
    const Lines& lines = tricky_lines();
    const std::string file = lines[0] + "\r\n" + lines[1] + "\n" + lines[2] + "\r\n" + lines[3] +
                             "\r\n" + lines[4] + "\n" + lines[5];
    start(file);
    if (HasFatalFailure()) {
        return;
    }
    EXPECT_EQ(find_inventory_window(), inventory_);
    expect_lines(lines);
}

TEST_F(StandinInventory, FollowsEditsOfTheInventoryFile) {
    start("やくそう\r\n");
    if (HasFatalFailure()) {
        return;
    }
    expect_lines({"やくそう"});

    ASSERT_TRUE(dir_.write_file("inventory.txt", "十字架の盾 [発] (Ｅ)\r\nソード (Ｅ)\r\n"));
    expect_lines({"十字架の盾 [発] (Ｅ)", "ソード (Ｅ)"});

    ASSERT_TRUE(dir_.write_file("inventory.txt", ""));
    expect_lines({});
}

TEST_F(StandinInventory, InventoryClosedByTheUserGivesNoLines) {
    start("やくそう\r\n");
    if (HasFatalFailure()) {
        return;
    }
    expect_lines({"やくそう"});

    PostMessageA(inventory_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wait_until([] { return find_inventory_window() == nullptr; }));
    EXPECT_TRUE(read_inventory_lines().empty());
    EXPECT_NE(process_->find_main_window(), nullptr) << "closing the inventory ended the host";
}

}  // namespace
}  // namespace quilla
