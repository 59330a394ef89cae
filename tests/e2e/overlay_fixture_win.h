// A test fixture that runs QuillaWS.exe in a fresh working directory, optionally beside
// the stand-in host, and looks at what a user would see.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/overlay_window_win.h"
#include "tests/e2e/e2e_support_win.h"
#include "tests/e2e/screen_win.h"

namespace quilla::e2e {

class OverlayTest : public ::testing::Test {
  protected:
    ~OverlayTest() override {
        overlay_.reset();  // the programs end before their directory goes
        host_.reset();
    }

    // Starts the overlay in the test's directory and waits for its window.
    HWND start_overlay() {
        overlay_ = std::make_unique<ChildProcess>(to_windows_path(QUILLA_EXE_PATH),
                                                  std::vector<std::string>{}, dir_.path());
        EXPECT_TRUE(overlay_->started()) << overlay_->error();
        HWND hwnd = nullptr;
        wait_until(
            [&] { return (hwnd = overlay_->find_own_window(kOverlayClassName)) != nullptr; });
        EXPECT_NE(hwnd, nullptr) << "the overlay window did not appear";
        return hwnd;
    }

    // Starts the stand-in host with the given arguments (inventory.txt in the test's
    // directory) and waits for its main window.
    HWND start_host(std::vector<std::string> args = {}) {
        args.push_back("--inventory");
        args.push_back("inventory.txt");
        host_ =
            std::make_unique<ChildProcess>(to_windows_path(STANDIN_HOST_PATH), args, dir_.path());
        EXPECT_TRUE(host_->started()) << host_->error();
        HWND hwnd = host_->wait_for_main_window(20000);
        EXPECT_NE(hwnd, nullptr) << "the stand-in host did not appear";
        return hwnd;
    }

    // Closes the overlay as the system would and returns its exit code; fails the test
    // when the process does not exit.
    std::optional<DWORD> close_overlay(HWND hwnd) {
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        auto code = overlay_->wait_exit(30000);
        EXPECT_TRUE(code.has_value()) << "the overlay did not exit";
        return code;
    }

    // Runs a menu command and returns once the overlay has handled it. (A posted command
    // followed by a sent message is not enough: the sent one is handled first.)
    static void command(HWND hwnd, int id) {
        DWORD_PTR ignored;
        ASSERT_NE(SendMessageTimeoutA(hwnd, WM_COMMAND, static_cast<WPARAM>(id), 0, SMTO_BLOCK,
                                      10000, &ignored),
                  0)
            << "command " << id << " not handled";
    }

    // Returns once the window's thread has handled everything posted to it before.
    static void flush(HWND hwnd) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored);
    }

    void write_settings(const std::string& text) {
        ASSERT_TRUE(dir_.write_file("QuillaWS.txt", text));
    }
    void write_items(const std::string& text) { ASSERT_TRUE(dir_.write_file("items.txt", text)); }
    // The stand-in host re-reads its inventory when the file changes. The replace fails
    // while the host has the file open for a read, so it is tried again until it lands.
    void write_inventory(const std::string& text) {
        ASSERT_TRUE(wait_until([&] { return dir_.write_file("inventory.txt", text); }));
    }
    std::optional<std::string> settings_file() const {
        return read_file(dir_.file("QuillaWS.txt"));
    }

    // Waits until the overlay window has the size of these lines in the default font.
    bool wait_for_lines(HWND hwnd, const std::vector<std::string>& lines) {
        const Extent want = overlay_extent(lines);
        return wait_until([&] {
            const RECT r = window_rect(hwnd);
            return r.right - r.left == want.width && r.bottom - r.top == want.height;
        });
    }

    ScratchDirectory dir_;
    std::unique_ptr<ChildProcess> host_;
    std::unique_ptr<ChildProcess> overlay_;
};

}  // namespace quilla::e2e
