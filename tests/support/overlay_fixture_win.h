// What the end-to-end tests share: the rectangles of windows, and a test fixture that runs
// QuillaWS.exe in a fresh working directory, optionally beside the stand-in host, and looks
// at what a user would see.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "ui/item_editor_ids.h"
#include "tests/support/message_box_win.h"
#include "tests/support/screen_win.h"
#include "tools/launch/overlay_process_win.h"
#include "tools/launch/process_win.h"

namespace quilla::e2e {

using launch::ChildProcess;
using launch::read_file;
using launch::ScratchDirectory;
using launch::sync_with;
using launch::to_windows_path;
using launch::wait_until;

inline RECT window_rect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

inline int height_of(HWND hwnd) {
    const RECT r = window_rect(hwnd);
    return r.bottom - r.top;
}

// The overlay's lower-left corner on the lower-left corner of the host's client area.
inline bool anchored(HWND overlay, HWND host) {
    RECT client{};
    GetClientRect(host, &client);
    MapWindowPoints(host, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const RECT o = window_rect(overlay);
    return o.left == client.left && o.bottom == client.bottom;
}

inline bool is_topmost(HWND hwnd) {
    return (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

class OverlayTest : public ::testing::Test {
  protected:
    ~OverlayTest() override {
        overlay_.reset();  // the programs end before their directory goes
        host_.reset();
    }

    // Starts the overlay in the test's directory (under unix_locale_ when set) and waits
    // for its window.
    HWND start_overlay() {
        overlay_ = launch::start_overlay_process(to_windows_path(QUILLA_EXE_PATH), dir_.path(),
                                                 unix_locale_);
        EXPECT_TRUE(overlay_->started()) << overlay_->error();
        HWND hwnd = launch::wait_for_overlay_window(*overlay_);
        EXPECT_NE(hwnd, nullptr) << "the overlay window did not appear";
        return hwnd;
    }

    // Starts the stand-in host with the given arguments (inventory.txt in the test's
    // directory) and waits for its main window.
    HWND start_host(std::vector<std::string> args = {}) {
        args.push_back("--inventory");
        args.push_back("inventory.txt");
        launch::StandinHost host =
            launch::start_standin_host(dir_.path(), args, to_windows_path(STANDIN_HOST_PATH));
        EXPECT_NE(host.main, nullptr) << host.error;
        host_ = std::move(host.process);
        return host.main;
    }

    // With an empty inventory and these settings, starts the stand-in host (with host_args)
    // and then the overlay; their windows, null where one did not come up.
    struct HostAndOverlay {
        HWND host;
        HWND overlay;
    };
    HostAndOverlay start_beside_host(const std::string& settings,
                                     std::vector<std::string> host_args) {
        write_inventory("");
        write_settings(settings);
        HWND host = start_host(std::move(host_args));
        return {host, host ? start_overlay() : nullptr};
    }

    // Closes the overlay as the system would and returns its exit code; fails the test
    // when the process does not exit. last_close_ms_ is the time the close took.
    std::optional<DWORD> close_overlay(HWND hwnd) {
        const launch::Closed closed = launch::close_overlay_process(*overlay_, hwnd);
        last_close_ms_ = closed.took_ms;
        EXPECT_TRUE(closed.exit_code.has_value()) << "the overlay did not exit";
        return closed.exit_code;
    }

    // Runs a menu command and returns once the overlay has handled it. (A posted command
    // followed by a sent message is not enough: the sent one is handled first.)
    static void command(HWND hwnd, int id) {
        DWORD_PTR ignored;
        ASSERT_NE(SendMessageTimeoutA(hwnd, WM_COMMAND, static_cast<WPARAM>(id), 0, SMTO_BLOCK,
                                      launch::deadline_ms(launch::kUsualWaitMs), &ignored),
                  0)
            << "command " << id << " not handled";
    }

    // Windows ending the session (or asking, and going on when ends is false):
    // WM_QUERYENDSESSION, which the overlay allows, then WM_ENDSESSION. Windows may end the
    // program as soon as WM_ENDSESSION returns.
    static void end_session(HWND hwnd, bool ends) {
        DWORD_PTR answer = 0;
        ASSERT_NE(SendMessageTimeoutA(hwnd, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 10000, &answer),
                  0);
        EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
        ASSERT_NE(SendMessageTimeoutA(hwnd, WM_ENDSESSION, ends, 0, SMTO_BLOCK, 30000, &answer), 0)
            << "WM_ENDSESSION not answered";
    }

    // Chooses 設定 and waits for the configuration dialog; null when none opened.
    HWND open_dialog(HWND overlay) {
        command(overlay, kCommandSettings);
        HWND dialog = nullptr;
        EXPECT_TRUE(wait_until([&] {
            return (dialog = overlay_->find_own_window("ConfigDialog")) != nullptr;
        })) << "the dialog did not open";
        return dialog;
    }
    // Chooses アイテムエディタ起動 and returns the editor's window; null when none opened.
    HWND open_editor(HWND overlay) {
        command(overlay, kCommandItemEditor);
        HWND editor = overlay_->find_own_window("ItemEditorDialog");
        EXPECT_NE(editor, nullptr) << "the item editor did not open";
        return editor;
    }
    static void set_text(HWND dialog, int id, const std::string& text) {
        SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Types a name and a value into the editor and presses 適用.
    static void add_entry(HWND editor, const std::string& name, const std::string& value) {
        set_text(editor, kItemEditorNameId, name);
        set_text(editor, kItemEditorValueId, value);
        SendMessageA(GetDlgItem(editor, kItemEditorApplyId), BM_CLICK, 0, 0);
    }
    // Chooses 終了 and answers the box it shows with answer; what the box showed.
    test_support::SeenBox exit_answering(HWND overlay, int answer) {
        return test_support::answer_box(overlay_->process_id(), answer, [&] {
            PostMessageA(overlay, WM_COMMAND, kCommandExit, 0);
        });
    }
    // Presses a button as a click does: posted, so that a box it shows holds no one.
    static void press(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

    void write_settings(const std::string& text) {
        ASSERT_TRUE(dir_.write_file("QuillaWS.txt", text));
    }
    void write_items(const std::string& text) { ASSERT_TRUE(dir_.write_file("items.txt", text)); }
    // The stand-in host re-reads its inventory when the file changes. The replace fails
    // while the host has the file open for a read, so it is tried again until it lands.
    void write_inventory(const std::string& text) {
        ASSERT_TRUE(wait_until([&] { return dir_.write_file("inventory.txt", text); }))
            << "inventory.txt written";
    }
    std::optional<std::string> settings_file() const {
        return read_file(dir_.file("QuillaWS.txt"));
    }
    // The settings file's text, or a text that no check matches when there is none.
    std::string saved_settings() const { return settings_file().value_or("(no settings file)"); }

    // Waits until the overlay shows exactly these lines: its size and its pixels on the
    // screen are those of the program's own drawing of them.
    ::testing::AssertionResult wait_for_lines(HWND hwnd, const std::vector<std::string>& lines,
                                              const DrawColors& colors = kDefaultColors) {
        const DrawnLines want = draw_lines(lines, colors);
        RECT r{};
        std::size_t differing = 0;
        const bool shown = wait_until([&] {
            r = window_rect(hwnd);
            if (r.right - r.left != want.size.width || r.bottom - r.top != want.size.height) {
                return false;
            }
            const std::vector<uint32_t> seen = capture_screen(r);
            differing = 0;
            for (std::size_t i = 0; i < seen.size() && i < want.pixels.size(); ++i) {
                differing += seen[i] != want.pixels[i];
            }
            return seen.size() == want.pixels.size() && differing == 0;
        });
        if (shown) {
            return ::testing::AssertionSuccess();
        }
        auto failure = ::testing::AssertionFailure() << "the overlay did not show the lines";
        for (const std::string& line : lines) {
            failure << " [" << line << "]";
        }
        return failure << ": it is " << r.right - r.left << "x" << r.bottom - r.top << ", they are "
                       << want.size.width << "x" << want.size.height << "; last look: " << differing
                       << " pixels differ";
    }

    ScratchDirectory dir_;
    const char* unix_locale_ = nullptr;  // the overlay's, when not the test's own
    std::unique_ptr<ChildProcess> host_;
    std::unique_ptr<ChildProcess> overlay_;
    ULONGLONG last_close_ms_ = 0;
};

}  // namespace quilla::e2e
