// A player's first hour: an items.txt written in Notepad as UTF-8, the first weapon added
// in the item editor to an empty table, a second start in the same folder (by any of its
// spellings), and a folder named with a letter outside code page 932.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "tests/support/overlay_fixture_win.h"
#include "tests/support/test_process_win.h"
#include "tests/support/control_text_win.h"
#include "tests/support/drive_alias_win.h"
#include "tests/support/keys_win.h"
#include "tests/support/message_box_win.h"
#include "ui/item_editor_ids.h"

namespace quilla::e2e {
namespace {

class FirstRun : public OverlayTest {
  protected:
    // Starts a copy in folder while the fixture's copy (window first) runs in dir_: the copy
    // must end at once with exit code 0, the first go on, and every file stay as it was.
    void expect_second_start_ends(const std::wstring& folder, HWND first) {
        const std::optional<std::string> settings = settings_file();
        const std::vector<std::string> names = dir_.names();
        ChildProcess second(to_windows_path(QUILLA_EXE_PATH), {}, folder);
        ASSERT_TRUE(second.started()) << second.error();
        EXPECT_EQ(second.wait_exit(), 0u);
        EXPECT_FALSE(overlay_->has_exited()) << "the first copy ran all through the second";
        EXPECT_TRUE(IsWindow(first));
        EXPECT_EQ(settings_file(), settings);
        EXPECT_EQ(dir_.names(), names);
    }
};

constexpr char kInventory[] = "やくそう\r\nミスリルブレード [竜竜会] (Ｅ)\r\n白銀の盾 (Ｅ金)\r\n";

std::string utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

TEST_F(FirstRun, AnItemsFileSavedAsUtf8IsRecognisedOnScreen) {
    write_items("\xEF\xBB\xBF" + utf8(u8"武器,ミスリルブレード,5\r\n武器印,竜,1\r\n武器印,会,2\r\n"
                                      u8"盾,白銀の盾,3\r\n"));
    write_inventory(kInventory);
    ASSERT_NE(start_host(), nullptr);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(wait_for_lines(
        hwnd, {"ミスリルブレード[竜竜会○○○○○○○]", "★白銀の盾 [○○○○○○○○○○]", "なし"}));
    close_overlay(hwnd);
}

// Without items.txt nothing is recognised; 適用 with no row selected adds the weapon,
// which the overlay shows on its next pass and 保存 writes.
TEST_F(FirstRun, ApplyOnTheEmptyWeaponTableMakesTheOverlayShowTheWeapon) {
    write_inventory("やくそう\r\nミスリルブレード (Ｅ)\r\n");
    ASSERT_NE(start_host(), nullptr);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(wait_for_lines(hwnd, {"なし", "なし", "なし"}));

    command(hwnd, kCommandItemEditor);
    HWND editor = overlay_->find_own_window("ItemEditorDialog", "アイテムエディタ");
    ASSERT_NE(editor, nullptr);
    add_entry(editor, "ミスリルブレード", "5");
    EXPECT_TRUE(wait_for_lines(hwnd, {"ミスリルブレード [○○○○○○○○○○]", "なし", "なし"}));
    EXPECT_EQ(SendMessageA(GetDlgItem(editor, kItemEditorListId), LVM_GETNEXTITEM,
                           static_cast<WPARAM>(-1), LVNI_SELECTED),
              -1)
        << "nothing is selected, so the next name typed adds another entry";

    set_text(editor, kItemEditorFileNameId, "items.txt");
    SendMessageA(GetDlgItem(editor, kItemEditorSaveId), BM_CLICK, 0, 0);
    EXPECT_EQ(read_file(dir_.file("items.txt")), std::string("武器,ミスリルブレード,5\n"));
    close_overlay(hwnd);
}

// Entries applied in the item editor and not saved: the end of a Windows session and a
// close by another program end the program without a question (only 終了 asks), and keep
// them in items-unsaved.txt, never in items.txt. The next start offers them back: yes puts
// them in the tables as unsaved changes (the editor lists them, 終了 asks again, and no
// there lets them go for good); no removes the file.
TEST_F(FirstRun, UnsavedEntriesOutliveTheSessionEndOrAnotherProgramsCloseAndAreOfferedBack) {
    for (const bool session_end : {true, false}) {
        SCOPED_TRACE(session_end ? "session end, then yes" : "another program's close, then no");
        HWND hwnd = start_overlay();
        ASSERT_NE(hwnd, nullptr);
        HWND editor = open_editor(hwnd);
        ASSERT_NE(editor, nullptr);
        add_entry(editor, "ミスリルブレード", "5");
        ASSERT_EQ(ListView_GetItemCount(GetDlgItem(editor, kItemEditorListId)), 1);
        if (session_end) {
            end_session(hwnd, true);  // a question would hold the overlay's thread, and it
            EXPECT_EQ(overlay_->wait_exit(), 0u) << "did not exit, or not with code 0";
        } else {
            EXPECT_EQ(close_overlay(hwnd), 0u);
        }
        EXPECT_FALSE(read_file(dir_.file("items.txt")).has_value());
        EXPECT_EQ(read_file(dir_.file("items-unsaved.txt")),
                  std::optional<std::string>("武器,ミスリルブレード,5\n"));

        overlay_ = launch::start_overlay_process(to_windows_path(QUILLA_EXE_PATH), dir_.path());
        const test_support::SeenBox offer =
            test_support::answer_box(overlay_->process_id(), session_end ? IDYES : IDNO, [] {});
        EXPECT_EQ(
            offer.text,
            "前回の終了のとき、保存していなかったアイテムの表の変更を items-unsaved.txt に"
            "残しました。\r\n表に戻しますか？（［いいえ］を選ぶと、このファイルを削除します）");
        hwnd = launch::wait_for_overlay_window(*overlay_);
        ASSERT_NE(hwnd, nullptr);
        if (session_end) {
            editor = open_editor(hwnd);
            ASSERT_NE(editor, nullptr);
            EXPECT_EQ(ListView_GetItemCount(GetDlgItem(editor, kItemEditorListId)), 1);
            const test_support::SeenBox exit = exit_answering(hwnd, IDNO);
            EXPECT_EQ(exit.text, "保存していない変更があります。\r\nitems.txt に保存しますか？");
        } else {
            EXPECT_FALSE(read_file(dir_.file("items-unsaved.txt")).has_value());
            PostMessageA(hwnd, WM_COMMAND, kCommandExit, 0);  // nothing to ask
        }
        EXPECT_EQ(overlay_->wait_exit(), 0u);
        EXPECT_FALSE(read_file(dir_.file("items.txt")).has_value());
        EXPECT_FALSE(read_file(dir_.file("items-unsaved.txt")).has_value());
    }
}

// The editor's list as the keyboard works it, typed where the focus is: a click on a row
// leaves the focus in the list, the down arrow moves the selection down the rows (the
// edits following) and Delete removes the selected entry, never a digit of the value box.
TEST_F(FirstRun, TheArrowKeysAndDeleteWorkTheEditorsList) {
    write_items("武器,鉄の剣,2\n武器,鉄の斧,3\n武器,銅の剣,4\n");
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    HWND editor = open_editor(hwnd);
    ASSERT_NE(editor, nullptr);
    HWND list = GetDlgItem(editor, kItemEditorListId);
    const auto edits = [&] {
        return test_support::control_text(GetDlgItem(editor, kItemEditorNameId)) + "=" +
               test_support::control_text(GetDlgItem(editor, kItemEditorValueId));
    };
    ASSERT_TRUE(test_support::click_list_row(list, 0));
    ASSERT_TRUE(wait_until([&] { return edits() == "鉄の剣=2"; }))
        << "the click selected " << edits();
    const auto type = [&](WORD key) {
        ASSERT_TRUE(test_support::send_key(key));
        ASSERT_TRUE(test_support::send_key(key, KEYEVENTF_KEYUP));
        launch::sync_with(editor);
    };
    type(VK_DOWN);
    EXPECT_TRUE(wait_until([&] { return edits() == "鉄の斧=3"; })) << edits();
    type(VK_DOWN);
    EXPECT_TRUE(wait_until([&] { return edits() == "銅の剣=4"; })) << edits();
    type(VK_DELETE);
    EXPECT_TRUE(wait_until([&] { return ListView_GetItemCount(list) == 2; }))
        << "Delete did not remove the entry";
    const test_support::SeenBox exit = exit_answering(hwnd, IDYES);
    EXPECT_EQ(exit.text, "保存していない変更があります。\r\nitems.txt に保存しますか？");
    EXPECT_EQ(overlay_->wait_exit(), 0u);
    EXPECT_EQ(read_file(dir_.file("items.txt")),
              std::optional<std::string>("武器,鉄の剣,2\n武器,鉄の斧,3\n"));
}

// A second start where a copy runs ends at once with exit code 0, with no window and no
// file read or written, while the first goes on; a copy in another folder runs beside
// it; and a copy that was killed keeps no one from starting.
TEST_F(FirstRun, ASecondStartInTheSameFolderEndsAtOnceWithoutTouchingTheFiles) {
    const std::string settings = "x=40\r\ny=50\r\nWait=100\r\n";
    write_settings(settings);
    HWND first = start_overlay();
    ASSERT_NE(first, nullptr);
    expect_second_start_ends(widen(dir_.path()), first);
    EXPECT_EQ(settings_file(), settings);

    ScratchDirectory other;
    ChildProcess beside(to_windows_path(QUILLA_EXE_PATH), {}, other.path());
    ASSERT_TRUE(beside.started()) << beside.error();
    EXPECT_NE(launch::wait_for_overlay_window(beside), nullptr)
        << "a copy in another folder runs beside the first";
    beside.terminate();

    overlay_->terminate();
    EXPECT_NE(start_overlay(), nullptr) << "a killed copy blocks the next start";
}

// The folder is recognised by what the file system says it is: a second start through a
// second drive letter mapped to it, through its short name or in other letter case ends at
// once; a folder inside it, reached through the same drive letter, is another folder.
TEST_F(FirstRun, ASecondStartThroughAnotherSpellingOfTheFolderEndsAtOnce) {
    write_settings("x=40\r\ny=50\r\n");
    const test_support::DriveAlias alias(widen(dir_.path()));
    ASSERT_TRUE(alias.ok()) << alias.error();
    HWND first = start_overlay();
    ASSERT_NE(first, nullptr);

    std::wstring short_name(MAX_PATH, L'\0');
    short_name.resize(GetShortPathNameW(widen(dir_.path()).c_str(), short_name.data(),
                                        static_cast<DWORD>(short_name.size())));
    ASSERT_FALSE(short_name.empty());
    ASSERT_NE(short_name, widen(dir_.path())) << "the folder has no short name";
    std::wstring upper_case = widen(dir_.path());
    CharUpperBuffW(upper_case.data(), static_cast<DWORD>(upper_case.size()));
    ASSERT_NE(upper_case, widen(dir_.path()));

    const struct {
        const char* what;
        std::wstring folder;
    } spellings[] = {
        {"a second drive letter", alias.root()},
        {"the short name", short_name},
        {"upper case", upper_case},
    };
    for (const auto& spelling : spellings) {
        SCOPED_TRACE(spelling.what);
        expect_second_start_ends(spelling.folder, first);
    }

    const std::wstring inner = alias.root() + L"inner";
    ASSERT_TRUE(CreateDirectoryW(inner.c_str(), nullptr));
    ChildProcess beside(to_windows_path(QUILLA_EXE_PATH), {}, inner);
    ASSERT_TRUE(beside.started()) << beside.error();
    EXPECT_NE(launch::wait_for_overlay_window(beside), nullptr)
        << "a copy in a folder inside it runs beside the first";
    beside.terminate();
}

// In a folder whose name holds a letter outside code page 932, the settings are saved at
// exit (a failure would hold the program in its box).
TEST_F(FirstRun, AFolderNamedOutsideTheCodePageKeepsItsSettings) {
    const std::wstring folder = test_support::folder_outside_code_page(dir_);
    ASSERT_FALSE(folder.empty());
    ChildProcess overlay(to_windows_path(QUILLA_EXE_PATH), {}, folder);
    ASSERT_TRUE(overlay.started()) << overlay.error();
    HWND hwnd = launch::wait_for_overlay_window(overlay);
    ASSERT_NE(hwnd, nullptr);
    const launch::Closed closed = launch::close_overlay_process(overlay, hwnd);
    EXPECT_EQ(closed.exit_code, 0u);
    const std::optional<std::string> saved = read_file_bytes(folder + L"\\QuillaWS.txt");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->rfind("x=0\r\ny=0\r\n", 0), 0u);
}

}  // namespace
}  // namespace quilla::e2e
