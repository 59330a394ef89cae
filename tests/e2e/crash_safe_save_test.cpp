// Saves that a crash cannot spoil: the program killed at a spread of moments around the
// save of the settings file (as it closes) and of an item file (from the item editor)
// leaves each file whole, either as it was or as the program writes it, byte for byte,
// and the next start reads it.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "app/command_ids.h"
#include "tests/e2e/overlay_fixture_win.h"

namespace quilla::e2e {
namespace {

using CrashSafeSaves = OverlayTest;

// How long after asking for the save the program is killed, in microseconds: from before
// the save begins to well after it has ended (a save takes about a millisecond).
constexpr LONGLONG kKillDelaysUs[] = {0,    100,  200,  300,  400,  600,   800,   1000, 1300,
                                      1600, 2000, 3000, 4000, 6000, 10000, 20000, 50000};

// Waits the given time without giving up the processor, finer than Sleep can.
void spin_for(LONGLONG microseconds) {
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    do {
        QueryPerformanceCounter(&now);
    } while ((now.QuadPart - start.QuadPart) * 1000000 < microseconds * frequency.QuadPart);
}

// Files in a form the program reads but does not write (LF line ends and another order
// of settings, CR LF line ends of items), so that the old file and the new one differ.
constexpr char kOldSettings[] = "Wait=80\nx=120\ny=90\nWeaponText=武器なし\nhook=1\n";
constexpr char kOldItems[] =
    "武器,ミスリルブレード,9\r\n盾,白銀の盾,5\r\nお守り,いやしのお守り,\r\n";

constexpr int kFileNameEdit = 109;
constexpr int kSaveButton = 107;
constexpr int kList = 111;

std::string shown(const std::optional<std::string>& file) {
    return file ? *file : "(no file)";
}

TEST_F(CrashSafeSaves, SettingsFileIsTheOldOrTheNewOneWhereverTheProgramIsKilled) {
    write_settings(kOldSettings);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_EQ(close_overlay(hwnd), 0u);
    const std::optional<std::string> written = settings_file();
    ASSERT_TRUE(written && *written != kOldSettings) << shown(written);

    for (const LONGLONG delay : kKillDelaysUs) {
        SCOPED_TRACE("killed " + std::to_string(delay) + " us after WM_CLOSE");
        write_settings(kOldSettings);
        hwnd = start_overlay();
        ASSERT_NE(hwnd, nullptr);
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        spin_for(delay);
        overlay_->terminate();
        const std::optional<std::string> now = settings_file();
        ASSERT_TRUE(now == std::string(kOldSettings) || now == written) << shown(now);
    }

    hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(window_rect(hwnd).left, 120) << "the next start did not read the file";
    EXPECT_EQ(close_overlay(hwnd), 0u);
    EXPECT_EQ(settings_file(), written);
}

class CrashSafeItemSave : public OverlayTest {
  protected:
    // Starts the program with the old item file and opens the item editor with the file
    // name "items.txt" filled in. Null when something failed.
    HWND start_with_editor() {
        write_items(kOldItems);
        HWND hwnd = start_overlay();
        if (!hwnd) {
            return nullptr;
        }
        command(hwnd, kCommandItemEditor);
        HWND editor = overlay_->find_own_window("ItemEditorDialog");
        if (editor) {
            SendMessageA(GetDlgItem(editor, kFileNameEdit), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>("items.txt"));
        }
        return editor;
    }

    // Asks the editor to save, without waiting for it.
    static void post_save(HWND editor) {
        PostMessageA(editor, WM_COMMAND, MAKEWPARAM(kSaveButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(editor, kSaveButton)));
    }

    // Saves and returns once the editor has.
    static void save(HWND editor) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(editor, WM_COMMAND, MAKEWPARAM(kSaveButton, BN_CLICKED),
                            reinterpret_cast<LPARAM>(GetDlgItem(editor, kSaveButton)), SMTO_BLOCK,
                            10000, &ignored);
    }

    std::optional<std::string> items_file() const { return read_file(dir_.file("items.txt")); }
};

TEST_F(CrashSafeItemSave, ItemFileIsTheOldOrTheNewOneWhereverTheProgramIsKilled) {
    HWND editor = start_with_editor();
    ASSERT_NE(editor, nullptr);
    save(editor);
    const std::optional<std::string> written = items_file();
    ASSERT_TRUE(written && *written != kOldItems) << shown(written);
    overlay_->terminate();

    for (const LONGLONG delay : kKillDelaysUs) {
        SCOPED_TRACE("killed " + std::to_string(delay) + " us after 保存");
        editor = start_with_editor();
        ASSERT_NE(editor, nullptr);
        post_save(editor);
        spin_for(delay);
        overlay_->terminate();
        const std::optional<std::string> now = items_file();
        ASSERT_TRUE(now == std::string(kOldItems) || now == written) << shown(now);
    }

    // The next start reads it: the editor lists its one weapon.
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    command(hwnd, kCommandItemEditor);
    editor = overlay_->find_own_window("ItemEditorDialog");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(SendMessageA(GetDlgItem(editor, kList), LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(close_overlay(hwnd), 0u);
}

}  // namespace
}  // namespace quilla::e2e
