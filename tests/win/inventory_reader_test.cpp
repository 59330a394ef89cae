// Reading the host's inventory lines: exact Shift-JIS bytes (trail bytes 0x5C included),
// lines longer than 255 bytes, from a list box of this process and across processes from
// the stand-in host, which follows edits of its inventory file.
#include "host/inventory_reader_win.h"

#include "host/host_window_win.h"
#include "tests/support/test_process_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quilla {
namespace {

using test_support::ChildProcess;
using test_support::ScratchDirectory;
using test_support::wait_until;

using Lines = std::vector<std::string>;

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kChangeTimeoutMs = 5000;

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

TEST(InventoryReaderSetup, SourceLiteralsAreShiftJis) {
    EXPECT_EQ(std::string("表ソ能"), "\x95\x5c\x83\x5c\x94\x5c");
    EXPECT_EQ(long_line().size(), 300u);
    EXPECT_EQ(GetACP(), 932u) << "run under the Japanese code page (LC_ALL=ja_JP.UTF-8)";
}

// A top-level list box with the inventory title in this process.
class LocalInventory {
  public:
    explicit LocalInventory(const Lines& lines) {
        hwnd_ = CreateWindowExA(0, kInventoryClass, kInventoryTitle, WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        for (const std::string& line : lines) {
            SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        }
    }
    LocalInventory(const LocalInventory&) = delete;
    LocalInventory& operator=(const LocalInventory&) = delete;
    ~LocalInventory() {
        if (hwnd_) {
            DestroyWindow(hwnd_);
        }
    }
    HWND get() const noexcept { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

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
        LocalInventory inventory(lines);
        ASSERT_NE(inventory.get(), nullptr);
        EXPECT_EQ(read_inventory_lines(), lines);
    }
}

TEST(ReadInventoryLines, NoInventoryWindowGivesNoLines) {
    ASSERT_EQ(find_inventory_window(), nullptr) << "an inventory window is already open";
    EXPECT_TRUE(read_inventory_lines().empty());
}

// The stand-in host, started with an inventory file in a scratch folder.
class StandinInventory : public ::testing::Test {
  protected:
    void start(const std::string& file_bytes) {
        ASSERT_TRUE(dir_.ok());
        ASSERT_TRUE(dir_.write_file("inventory.txt", file_bytes));
        process_ = std::make_unique<ChildProcess>(test_support::standin_host_path(),
                                                  std::vector<std::string>{}, dir_.path());
        ASSERT_TRUE(process_->started()) << process_->error();
        inventory_ = process_->wait_for_inventory_window(kStartTimeoutMs);
        ASSERT_NE(inventory_, nullptr) << "the stand-in did not open its inventory window";
    }

    // Waits until the reader returns expected; on a timeout the test fails with the last
    // lines read.
    void expect_lines(const Lines& expected) {
        Lines last;
        const bool matched = wait_until(
            [&] {
                last = read_inventory_lines();
                return last == expected;
            },
            kChangeTimeoutMs);
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
    EXPECT_TRUE(wait_until([] { return find_inventory_window() == nullptr; }, kChangeTimeoutMs));
    EXPECT_TRUE(read_inventory_lines().empty());
    EXPECT_NE(process_->find_main_window(), nullptr) << "closing the inventory ended the host";
}

}  // namespace
}  // namespace quilla
