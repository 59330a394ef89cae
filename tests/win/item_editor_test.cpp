// The item editor on its real window: the controls as laid out, search and next, Apply
// (rename, add), delete, the live tables behind the tabs, save, load, file drops, reset,
// the names offered from the host's lines and the question about unsaved changes, read
// back through the controls and the live item database.
#include "ui/item_editor_win.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/menu_commands_win.h"
#include "base/code_page_win.h"
#include "config/live_settings.h"
#include "ui/config_dialog_win.h"
#include "host/unrecognised_names_win.h"
#include "ui/item_editor_ids.h"
#include "items/item_file.h"
#include "tests/support/common_controls6_win.h"
#include "tests/support/control_text_win.h"
#include "tests/support/inventory_window_win.h"
#include "tests/support/layout_win.h"
#include "tests/support/test_process_win.h"
#include "tests/support/message_box_win.h"

namespace quilla {
namespace {

using launch::ScratchDirectory;
using test_support::InWorkingDirectory;

// The right-click menus the editor showed, through its menu seam: each item's caption and
// whether it was greyed; the stand-in chooses the item whose caption is choice.
struct MenuItemSeen {
    std::string caption;
    bool grayed;
    friend bool operator==(const MenuItemSeen&, const MenuItemSeen&) = default;
};
void PrintTo(const MenuItemSeen& item, std::ostream* os) {
    *os << item.caption << (item.grayed ? " (greyed)" : "");
}
class ChoosingMenu : public ItemEditorCalls {
  public:
    BOOL track_popup_menu(HMENU menu, UINT, int, int, int, HWND, const RECT*) override {
        seen.clear();
        UINT chosen = 0;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t caption[256] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), caption, 256, MF_BYPOSITION);
            const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            const bool grayed = (state & MF_SEPARATOR) == 0 && (state & MF_GRAYED) != 0;
            seen.push_back({narrow(caption), grayed});
            if (!choice.empty() && narrow(caption) == choice) {
                chosen = GetMenuItemID(menu, i);
            }
        }
        return static_cast<BOOL>(chosen);
    }

    std::vector<MenuItemSeen> seen;  // the last menu shown
    std::string choice;
};

// Weapons in byte order: 鉄の剣, 鉄の斧, 銅の剣, 木の剣.
ItemTables sample_tables() {
    ItemTables t;
    t.weapon = {{"木の剣", 1}, {"鉄の剣", 2}, {"鉄の斧", 3}, {"銅の剣", 4}};
    set(t, Category::kShield, "白銀の盾", 5);
    set(t, Category::kWeaponSeal, "竜", 1);
    set(t, Category::kShieldSeal, "表", 2);
    set(t, Category::kAmulet, "いやしのお守り", 0);
    return t;
}

class ItemEditorWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        item_database().replace(sample_tables());
        item_database().mark_saved(sample_tables());  // as read at start
        editor_ = open_item_editor(owner_);
        ASSERT_NE(editor_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner_);  // and the editor it owns
        item_database().replace({});
        item_database().mark_saved({});
    }

    // A new editor window that offers names and whose right-click menu menu_ answers.
    void reopen(OfferedNames names) {
        DestroyWindow(editor_);
        editor_ = open_item_editor(owner_, names, menu_);
        ASSERT_NE(editor_, nullptr);
    }
    // A right-click in the list: on row, or below the rows when row is -1.
    void right_click(int row) const {
        HWND list = control(kItemEditorListId);
        RECT area{};
        GetClientRect(list, &area);
        POINT at{5, area.bottom - 5};
        if (row >= 0) {
            RECT item{};
            ListView_GetItemRect(list, row, &item, LVIR_BOUNDS);
            at = {item.left + 5, (item.top + item.bottom) / 2};
        }
        ClientToScreen(list, &at);
        SendMessageA(editor_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list),
                     MAKELPARAM(at.x, at.y));
    }
    std::string caption() const { return test_support::control_text(editor_); }
    HWND control(int id) const { return GetDlgItem(editor_, id); }
    void click(int id) const { SendMessageA(control(id), BM_CLICK, 0, 0); }
    void type(int id, const std::string& text) const { SetWindowTextA(control(id), text.c_str()); }
    std::string text(int id) const { return test_support::control_text(control(id)); }
    // The list's rows as "name=value", asked of the list as it paints them.
    std::vector<std::string> rows() const {
        std::vector<std::string> out;
        for (int row = 0; row < ListView_GetItemCount(control(kItemEditorListId)); ++row) {
            char name[256] = {}, value[256] = {};
            ListView_GetItemText(control(kItemEditorListId), row, 0, name, sizeof name);
            ListView_GetItemText(control(kItemEditorListId), row, 1, value, sizeof value);
            out.push_back(std::string(name) + "=" + value);
        }
        return out;
    }
    int selected_row() const {
        return static_cast<int>(SendMessageA(control(kItemEditorListId), LVM_GETNEXTITEM,
                                             static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    // As a click on the row does: selected and the list's focused item.
    void select_row(int row) const {
        LVITEMA state{};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(control(kItemEditorListId), LVM_SETITEMSTATE, row,
                     reinterpret_cast<LPARAM>(&state));
    }
    // As a click on a tab does: the selection moves and the editor hears of it.
    void choose_tab(int tab) const {
        SendMessageA(control(kItemEditorTabsId), TCM_SETCURFOCUS, tab, 0);
    }
    ItemTables live() const { return *item_database().snapshot(); }

    HWND owner_ = nullptr;
    HWND editor_ = nullptr;
    ChoosingMenu menu_;  // outlives the editor, which TearDown closes
    ScratchDirectory dir_;
};

TEST_F(ItemEditorWindow, ControlsSitInTheTabControlsDisplayArea) {
    RECT client{}, frame{};
    GetClientRect(editor_, &client);
    GetWindowRect(editor_, &frame);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 400);
    EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
    EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
    EXPECT_EQ(GetWindow(editor_, GW_OWNER), owner_);

    // Its controls in the order they were made, with their texts; each inside the editor
    // and none over another; the file row above the tabs, the other rows on the tab control
    // inside its display area.
    const struct {
        int id;
        const char* class_name;
        const char* text;
    } expected[] = {
        {109, "Edit", "items.txt"},  // the file name: the file the program reads
        {107, "Button", "保存"},    {108, "Button", "読込"},    {100, "SysTabControl32", ""},
        {101, "Edit", ""},  // the search text
        {102, "Button", "探す"},    {105, "Button", "次へ"},    {106, "Button", "初期化"},
        {110, "Edit", ""},  // the name
        {103, "Edit", ""},  // the value
        {104, "Button", "適用"},    {111, "SysListView32", ""},
    };
    HWND tabs = control(100);
    RECT display{};
    GetClientRect(tabs, &display);
    TabCtrl_AdjustRect(tabs, FALSE, &display);
    MapWindowPoints(tabs, editor_, reinterpret_cast<POINT*>(&display), 2);
    HWND child = GetWindow(editor_, GW_CHILD);
    for (const auto& e : expected) {
        SCOPED_TRACE(e.id);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(GetDlgCtrlID(child), e.id);
        char class_name[64] = {};
        GetClassNameA(child, class_name, sizeof class_name);
        EXPECT_EQ(lstrcmpiA(class_name, e.class_name), 0) << class_name;
        EXPECT_EQ(test_support::control_text(child), e.text);
        const RECT at = test_support::rect_in_parent(child);
        EXPECT_EQ(test_support::wholly_inside(at, display), &e - expected > 3);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
    EXPECT_EQ(test_support::layout_faults(editor_, tabs), std::vector<std::string>{});
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(caption(), "アイテムエディタ");

    // A second open leaves the one window as it is.
    EXPECT_EQ(open_item_editor(owner_), editor_);
    EXPECT_EQ(FindWindowExA(nullptr, editor_, "ItemEditorDialog", nullptr), nullptr);
}

// With the common controls the program's manifest names, each box says what it is for
// while it is empty.
TEST_F(ItemEditorWindow, EachBoxSaysWhatItIsForWhileEmpty) {
    {
        test_support::CommonControls6 controls(dir_);
        ASSERT_TRUE(controls.active());
        reopen(nullptr);
    }
    const struct {
        int id;
        const char* cue;
    } cues[] = {{kItemEditorFileNameId, "ファイル名"},
                {kItemEditorSearchTextId, "探す文字"},
                {kItemEditorNameId, "名前"},
                {kItemEditorValueId, "器数"}};
    for (const auto& c : cues) {
        SCOPED_TRACE(c.id);
        wchar_t cue[64] = {};
        EXPECT_TRUE(
            SendMessageW(control(c.id), EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64));
        EXPECT_EQ(narrow(cue), c.cue);
    }
}

TEST_F(ItemEditorWindow, SearchSelectsHitsInNameOrderAndNextStopsAfterTheLast) {
    EXPECT_EQ(rows(), (std::vector<std::string>{"鉄の剣=2", "鉄の斧=3", "銅の剣=4", "木の剣=1"}));
    type(kItemEditorSearchTextId, "の剣");
    struct Step {
        int button;
        int row;  // selected afterwards
        const char* name;
    };
    const Step steps[] = {{kItemEditorSearchId, 0, "鉄の剣"}, {kItemEditorNextId, 2, "銅の剣"},
                          {kItemEditorNextId, 3, "木の剣"},   {kItemEditorNextId, 3, "木の剣"},
                          {kItemEditorNextId, 3, "木の剣"},   {kItemEditorSearchId, 0, "鉄の剣"}};
    for (const Step& step : steps) {
        click(step.button);
        EXPECT_EQ(selected_row(), step.row);
        EXPECT_EQ(text(kItemEditorNameId), step.name);
    }
}

TEST_F(ItemEditorWindow, ApplyMergesOntoAnExistingNameAndNeedsANumber) {
    select_row(1);
    EXPECT_EQ(text(kItemEditorNameId), "鉄の斧");
    type(kItemEditorNameId, "鉄の剣");
    type(kItemEditorValueId, "");
    click(kItemEditorApplyId);
    EXPECT_EQ(rows().size(), 4u);
    EXPECT_EQ(live(), sample_tables());

    type(kItemEditorValueId, "9");
    click(kItemEditorApplyId);
    EXPECT_EQ(rows(), (std::vector<std::string>{"鉄の剣=9", "銅の剣=4", "木の剣=1"}));
    ItemTables want = sample_tables();
    erase(want, Category::kWeapon, "鉄の斧");
    set(want, Category::kWeapon, "鉄の剣", 9);
    EXPECT_EQ(live(), want);

    // The tabs show the live tables, with the change, before and after a save.
    const auto rows_after_tab_change = [&] {
        choose_tab(1);
        EXPECT_EQ(rows(), std::vector<std::string>{"白銀の盾=5"});
        choose_tab(0);
        return rows().size();
    };
    EXPECT_EQ(rows_after_tab_change(), 3u);
    type(kItemEditorFileNameId, dir_.file("saved.txt"));
    click(kItemEditorSaveId);
    EXPECT_EQ(rows_after_tab_change(), 3u);
    ItemTables saved;
    load_item_file(launch::read_file(dir_.file("saved.txt")), saved);
    EXPECT_EQ(saved, want);
}

// With no row selected (after a tab change), 適用 adds the entry to the tab's table, live
// too, and leaves nothing selected and both edits empty, the focus in the name box; an
// empty name or no number adds nothing. Three in a row are three entries.
TEST_F(ItemEditorWindow, ApplyWithNoRowSelectedAddsEntriesOneAfterAnother) {
    select_row(0);
    choose_tab(1);
    ASSERT_EQ(selected_row(), -1);
    ASSERT_EQ(text(kItemEditorNameId), "");
    const struct {
        const char* name;
        const char* value;
        std::vector<std::string> rows;
        const char* name_after;  // edit 110 afterwards
    } steps[] = {
        {"", "4", {"白銀の盾=5"}, ""},
        {"木の盾", "", {"白銀の盾=5"}, "木の盾"},
        {"木の盾", "2", {"白銀の盾=5", "木の盾=2"}, ""},
        {"鉄の盾", "３", {"鉄の盾=3", "白銀の盾=5", "木の盾=2"}, ""},
        {"青銅の盾", "1", {"青銅の盾=1", "鉄の盾=3", "白銀の盾=5", "木の盾=2"}, ""},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name + std::string("/") + step.value);
        type(kItemEditorNameId, step.name);
        type(kItemEditorValueId, step.value);
        click(kItemEditorApplyId);
        EXPECT_EQ(rows(), step.rows);
        EXPECT_EQ(selected_row(), -1);
        EXPECT_EQ(text(kItemEditorNameId), step.name_after);
    }
    EXPECT_EQ(text(kItemEditorValueId), "");
    EXPECT_EQ(GetFocus(), control(kItemEditorNameId));
    ItemTables want = sample_tables();
    set(want, Category::kShield, "木の盾", 2);
    set(want, Category::kShield, "鉄の盾", 3);
    set(want, Category::kShield, "青銅の盾", 1);
    EXPECT_EQ(live(), want);
}

// A rename that sorts the entry elsewhere takes the selection with it, so a second 適用
// (here a new value) changes the renamed entry and no other.
TEST_F(ItemEditorWindow, RenameThenApplyAgainChangesOnlyTheRenamedEntry) {
    select_row(0);
    type(kItemEditorNameId, "木の大剣");  // sorts after 木の剣, the last row
    type(kItemEditorValueId, "5");
    click(kItemEditorApplyId);
    EXPECT_EQ(rows(), (std::vector<std::string>{"鉄の斧=3", "銅の剣=4", "木の剣=1", "木の大剣=5"}));
    EXPECT_EQ(selected_row(), 3);
    EXPECT_EQ(text(kItemEditorNameId), "木の大剣");

    type(kItemEditorValueId, "6");
    click(kItemEditorApplyId);
    EXPECT_EQ(rows(), (std::vector<std::string>{"鉄の斧=3", "銅の剣=4", "木の剣=1", "木の大剣=6"}));
    EXPECT_EQ(selected_row(), 3);
    ItemTables want = sample_tables();
    erase(want, Category::kWeapon, "鉄の剣");
    set(want, Category::kWeapon, "木の大剣", 6);
    EXPECT_EQ(live(), want);
}

// A save that fails says so in a box of the editor's own, with the name as typed and why;
// the tables stay as they were, so the user can save again.
TEST_F(ItemEditorWindow, AFailedSaveTellsWhyInABoxOfTheEditorAndKeepsTheTables) {
    enum Way { kReadOnly, kHeld, kNoFolder };
    const struct {
        const char* name;
        Way way;
        const char* text;
    } cases[] = {
        {"read-only", kReadOnly,
         "を保存できませんでした。\r\n読み取り専用のファイルです。ファイルのプロパティで"
         "「読み取り専用」を外してください。"},
        {"held by another program", kHeld,
         "を保存できませんでした。\r\nほかのプログラムが使用中です。そのプログラムを閉じてから、"
         "もう一度試してください。"},
        {"no such folder", kNoFolder,
         "を保存できませんでした。\r\nフォルダが見つかりません。フォルダの名前と場所を"
         "確かめてください。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string old = "武器,古い剣,3\n";
        ASSERT_TRUE(dir_.write_file("items.txt", old));
        const std::string path =
            c.way == kNoFolder ? dir_.file("none\\items.txt") : dir_.file("items.txt");
        if (c.way == kReadOnly) {
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        UniqueFile hold = c.way == kHeld ? test_support::hold_file(path) : UniqueFile();
        type(109, path);
        const test_support::SeenBox box =
            test_support::answer_box(GetCurrentProcessId(), IDOK, [&] { click(107); });
        hold.reset();
        EXPECT_EQ(box.owner, editor_);
        EXPECT_EQ(box.caption, "アイテムエディタ");
        EXPECT_EQ(box.text, path + " " + c.text);
        EXPECT_EQ(box.buttons, "O");
        EXPECT_EQ(launch::read_file(dir_.file("items.txt")), old);
        EXPECT_EQ(live(), sample_tables());
        EXPECT_EQ(rows().size(), 4u);
        SetFileAttributesA(dir_.file("items.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// A drop as the shell makes it: a DROPFILES block in global memory, which the window frees.
template <typename Char>
void drop_files(HWND window, const std::vector<std::basic_string<Char>>& paths) {
    std::basic_string<Char> names;
    for (const auto& path : paths) {
        names.append(path).push_back(Char{});
    }
    const std::size_t bytes = (names.size() + 1) * sizeof(Char);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = sizeof(Char) > 1;
    std::memcpy(drop + 1, names.data(), bytes - sizeof(Char));
    GlobalUnlock(memory);
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// In a folder named with a letter outside code page 932: 保存 by a relative name writes
// there, and a file dropped from there is read.
TEST_F(ItemEditorWindow, SaveAndDropWorkInAFolderNamedOutsideTheCodePage) {
    const std::wstring folder = test_support::folder_outside_code_page(dir_);
    ASSERT_FALSE(folder.empty());
    {
        InWorkingDirectory cwd(folder);
        type(kItemEditorFileNameId, "saved.txt");
        click(kItemEditorSaveId);  // a failure would wait in its box
    }
    ItemTables saved;
    load_item_file(read_file_bytes(folder + L"\\saved.txt"), saved);
    EXPECT_EQ(saved, sample_tables());

    const std::wstring shields = folder + L"\\shields.txt";
    ASSERT_TRUE(replace_file_atomically(shields, "盾,木の盾,2\n"));
    drop_files(editor_, std::vector<std::wstring>{shields});
    ItemTables want = sample_tables();
    want.shield = {{"木の盾", 2}};
    EXPECT_EQ(live(), want);
}

// A file with only shield lines, loaded by name or dropped (whole, by a 258-byte path
// whose first 255 bytes name a weapons file), replaces the shields and keeps the live
// weapons as they are, applied changes too; nothing is selected afterwards. Two files
// dropped at once do nothing.
TEST_F(ItemEditorWindow, LoadAndDropReplaceTheFilesCategoriesOnly) {
    const std::string cut = dir_.file(std::string(258 - dir_.path().size() - 4, 'x'));
    const std::string whole = cut + "abc";
    ASSERT_TRUE(dir_.write_file("weapons.txt", "武器,別の剣,1\n"));
    ASSERT_TRUE(dir_.write_file("shields.txt", "盾,木の盾,2\n"));
    ASSERT_TRUE(CopyFileA(dir_.file("weapons.txt").c_str(), cut.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(dir_.file("shields.txt").c_str(), whole.c_str(), FALSE));
    ItemTables want = sample_tables();
    want.shield = {{"木の盾", 2}};
    set(want, Category::kWeapon, "鉄の剣", 7);

    const auto apply_seven = [&] {
        select_row(0);
        type(kItemEditorValueId, "7");
        click(kItemEditorApplyId);
        ASSERT_EQ(*find(live(), Category::kWeapon, "鉄の剣"), 7);
        ASSERT_EQ(selected_row(), 0);
    };
    apply_seven();
    drop_files(editor_, std::vector<std::string>{cut, whole});
    EXPECT_EQ(*find(live(), Category::kWeapon, "鉄の剣"), 7);
    drop_files(editor_, std::vector<std::string>{whole});
    EXPECT_EQ(live(), want);
    EXPECT_EQ(selected_row(), -1);
    EXPECT_EQ(text(kItemEditorNameId), "");
    EXPECT_EQ(text(kItemEditorValueId), "");

    apply_seven();
    type(kItemEditorFileNameId, dir_.file("shields.txt"));
    click(kItemEditorLoadId);
    EXPECT_EQ(live(), want);
    EXPECT_EQ(rows()[0], "鉄の剣=7");
    EXPECT_EQ(selected_row(), -1);
    EXPECT_EQ(text(kItemEditorNameId), "");
}

// 初期化 with no items.txt changes nothing and says so.
TEST_F(ItemEditorWindow, ResetRereadsItemsTxtAndChangesNothingWhenItIsMissing) {
    InWorkingDirectory cwd(dir_.path());
    const test_support::SeenBox box =
        test_support::answer_box(GetCurrentProcessId(), IDOK, [&] { click(kItemEditorResetId); });
    EXPECT_EQ(box.text,
              "items.txt を読み込めませんでした。ファイルの名前と場所を確かめてください。");
    EXPECT_EQ(live(), sample_tables());
    EXPECT_EQ(rows().size(), 4u);

    ASSERT_TRUE(dir_.write_file(kItemFileName, "武器,新しい剣,6\nお守り,別のお守り,\n"));
    select_row(2);
    click(kItemEditorResetId);
    EXPECT_EQ(selected_row(), -1);
    EXPECT_EQ(text(kItemEditorNameId), "");
    EXPECT_EQ(text(kItemEditorValueId), "");
    ItemTables want;
    want.weapon = {{"新しい剣", 6}};
    want.amulet = sample_tables().amulet;
    EXPECT_EQ(live(), want);
    EXPECT_EQ(rows(), std::vector<std::string>{"新しい剣=6"});
}

// The Delete key on the list and 削除 in its right-click menu remove the selected entry,
// shown and live, and leave nothing selected; without a row they do nothing.
TEST_F(ItemEditorWindow, DeleteWithTheKeyAndFromTheMenu) {
    reopen(nullptr);
    HWND list = control(kItemEditorListId);
    select_row(1);
    SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(rows(), (std::vector<std::string>{"鉄の剣=2", "銅の剣=4", "木の剣=1"}));
    EXPECT_EQ(selected_row(), -1);
    EXPECT_EQ(text(kItemEditorNameId), "");
    SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);  // nothing selected
    EXPECT_EQ(rows().size(), 3u);

    menu_.choice = "削除";
    right_click(2);  // 木の剣, selected by the click
    EXPECT_EQ(menu_.seen, (std::vector<MenuItemSeen>{{"削除", false}}));
    EXPECT_EQ(rows(), (std::vector<std::string>{"鉄の剣=2", "銅の剣=4"}));
    EXPECT_EQ(selected_row(), -1);
    right_click(-1);  // below the rows: 削除 is greyed
    EXPECT_EQ(menu_.seen, (std::vector<MenuItemSeen>{{"削除", true}}));
    EXPECT_EQ(rows().size(), 2u);

    ItemTables want = sample_tables();
    erase(want, Category::kWeapon, "鉄の斧");
    erase(want, Category::kWeapon, "木の剣");
    EXPECT_EQ(live(), want);
}

// A name the item file could not give back is refused at 適用 with a box that says why,
// whether typed, renaming a row, or chosen from the list's menu: one with a comma (the
// file's name ends there), or with a letter Shift-JIS has no form for, named in the box
// (never stored as a look-alike or "?"). Nothing changes.
TEST_F(ItemEditorWindow, ApplyRefusesANameTheItemFileCannotHold) {
    const std::wstring comma =
        widen("名前に半角のカンマ「,」は使えません。items.txt では「,」で名前が終わるためです。");
    const auto outside = [](const wchar_t* letter) {
        return widen("名前の「") + letter +
               widen("」は Shift-JIS にない文字なので使えません。別の文字に置き換えてください。");
    };
    reopen(&unrecognised_host_names);
    const UniqueWindow host = test_support::local_inventory({"剣,改 (Ｅ)"});
    menu_.choice = "剣,改";
    right_click(-1);
    ASSERT_EQ(text(kItemEditorNameId), "剣,改");
    const struct {
        const char* what;
        const wchar_t* name;  // typed; null: the name chosen from the menu
        int row;              // selected, or -1 to add
        std::wstring text;
    } cases[] = {
        {"chosen from the menu", nullptr, -1, comma},
        {"typed, renaming a row", L"鉄の剣,改", 0, comma},
        {"a letter with an accent", L"Épée", -1, outside(L"É")},
        {"the wave dash, renaming a row", L"剣〜", 1, outside(L"〜")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.row >= 0) {
            select_row(c.row);
        }
        if (c.name) {
            SetWindowTextW(control(kItemEditorNameId), c.name);
        }
        type(kItemEditorValueId, "3");
        const test_support::SeenBox box = test_support::answer_box(
            GetCurrentProcessId(), IDOK, [&] { click(kItemEditorApplyId); });
        EXPECT_EQ(box.owner, editor_);
        EXPECT_EQ(box.wide_text, c.text);
        EXPECT_EQ(live(), sample_tables());
        EXPECT_EQ(rows().size(), 4u);
    }
}

// The list works like a list. A click (driven in the order Windows sends its steps: the
// list takes the focus, then selects the row, then tells of the click) fills the edits
// and leaves the focus in the list, so that the keys, sent where the focus is, work the
// list: Delete removes the selected entry, the arrows move the selection. Enter and a
// search hit move the focus to the value.
TEST_F(ItemEditorWindow, SelectingARowLeavesTheFocusInTheList) {
    HWND list = control(kItemEditorListId);
    const auto key = [](WORD virtual_key) {
        SendMessageA(GetFocus(), WM_KEYDOWN, virtual_key, 0);
        SendMessageA(GetFocus(), WM_KEYUP, virtual_key, 0);
    };
    SetFocus(list);
    select_row(1);
    NMITEMACTIVATE clicked{};
    clicked.hdr = {list, static_cast<UINT_PTR>(kItemEditorListId), static_cast<UINT>(NM_CLICK)};
    clicked.iItem = 1;
    SendMessageA(editor_, WM_NOTIFY, kItemEditorListId, reinterpret_cast<LPARAM>(&clicked));
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(text(kItemEditorNameId), "鉄の斧");
    EXPECT_EQ(text(kItemEditorValueId), "3");

    key(VK_DELETE);
    EXPECT_EQ(rows(), (std::vector<std::string>{"鉄の剣=2", "銅の剣=4", "木の剣=1"}));
    EXPECT_EQ(GetFocus(), list);

    select_row(0);
    key(VK_DOWN);
    key(VK_DOWN);
    EXPECT_EQ(selected_row(), 2);
    EXPECT_EQ(text(kItemEditorNameId), "木の剣");
    EXPECT_EQ(GetFocus(), list);
    key(VK_RETURN);
    EXPECT_EQ(GetFocus(), control(kItemEditorValueId));

    SetFocus(list);
    type(kItemEditorSearchTextId, "銅");
    click(kItemEditorSearchId);
    EXPECT_EQ(selected_row(), 1);
    EXPECT_EQ(GetFocus(), control(kItemEditorValueId));
}

// The menu offers the names the overlay cannot recognise among a stand-in host's lines;
// one chosen goes into the name box for a new entry, the focus into the value box.
TEST_F(ItemEditorWindow, OffersTheNamesOfTheHostsUnrecognisedLines) {
    reopen(&unrecognised_host_names);
    menu_.choice = "";
    const std::vector<MenuItemSeen> no_host = {
        {"削除", true}, {"", false}, {"（ホストのウィンドウが見つかりません）", true}};
    right_click(-1);
    EXPECT_EQ(menu_.seen, no_host);

    const UniqueWindow host = test_support::local_inventory(
        {"やくそう", "ミスリルブレード [竜竜会炎] (Ｅ)", "白銀の盾 [発見氷] (Ｅ金)",
         "いやしのお守り (Ｅ)", "つるはし [鎌]"});
    ASSERT_TRUE(host);
    select_row(0);
    menu_.choice = "ミスリルブレード";
    right_click(-1);
    EXPECT_EQ(menu_.seen, (std::vector<MenuItemSeen>{
                              {"削除", true}, {"", false}, {"ミスリルブレード", false}}));
    EXPECT_EQ(text(kItemEditorNameId), "ミスリルブレード");
    EXPECT_EQ(text(kItemEditorValueId), "");
    EXPECT_EQ(selected_row(), -1);  // so 適用 adds rather than renames row 0
    EXPECT_EQ(GetFocus(), control(kItemEditorValueId));
    type(kItemEditorValueId, "5");
    click(kItemEditorApplyId);
    EXPECT_EQ(*find(live(), Category::kWeapon, "ミスリルブレード"), 5);

    menu_.choice = "";
    right_click(-1);
    EXPECT_EQ(menu_.seen,
              (std::vector<MenuItemSeen>{
                  {"削除", true}, {"", false}, {"（認識できない装備はありません）", true}}));
    choose_tab(2);  // weapon seals: 竜 is known
    menu_.choice = "炎";
    right_click(-1);
    EXPECT_EQ(menu_.seen, (std::vector<MenuItemSeen>{
                              {"削除", true}, {"", false}, {"会", false}, {"炎", false}}));
    EXPECT_EQ(text(kItemEditorNameId), "炎");
}

// 保存 says it saved in the caption, with no box, until the notice's timer; no file name
// and a file that cannot be read are each told in a box.
TEST_F(ItemEditorWindow, SaveIsToldInTheCaptionAndMistakesInABox) {
    InWorkingDirectory cwd(dir_.path());
    click(kItemEditorSaveId);  // items.txt, the name the box starts with
    EXPECT_EQ(caption(), "items.txt に保存しました");
    ItemTables saved;
    load_item_file(launch::read_file(dir_.file("items.txt")), saved);
    EXPECT_EQ(saved, sample_tables());
    SendMessageA(editor_, WM_TIMER, 1, 0);  // the notice's time is up
    EXPECT_EQ(caption(), "アイテムエディタ");

    const struct {
        const char* file_name;
        int button;
        const char* text;
    } cases[] = {
        {"", kItemEditorSaveId, "ファイル名を入力してください。"},
        {"", kItemEditorLoadId, "ファイル名を入力してください。"},
        {"none.txt", kItemEditorLoadId,
         "none.txt を読み込めませんでした。ファイルの名前と場所を確かめてください。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        type(kItemEditorFileNameId, c.file_name);
        const test_support::SeenBox box =
            test_support::answer_box(GetCurrentProcessId(), IDOK, [&] { click(c.button); });
        EXPECT_EQ(box.owner, editor_);
        EXPECT_EQ(box.caption, "アイテムエディタ");
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(live(), sample_tables());
    }
}

// Closing the editor with a change since the last save asks whether to save it to the
// file in the file name box: yes saves and closes, no closes, cancel keeps the window.
// With nothing unsaved it closes without a question.
TEST_F(ItemEditorWindow, ClosingWithUnsavedChangesAsks) {
    InWorkingDirectory cwd(dir_.path());
    {
        test_support::BoxAnswerer answerer(GetCurrentProcessId(), IDNO);
        SendMessageA(editor_, WM_CLOSE, 0, 0);
        EXPECT_TRUE(answerer.seen().empty());
    }
    EXPECT_FALSE(IsWindow(editor_));

    const struct {
        const char* what;
        int answer;
        bool closed;
        bool written;
    } cases[] = {
        {"cancel", IDCANCEL, false, false},
        {"no", IDNO, true, false},
        {"yes", IDYES, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(dir_.file("items.txt").c_str());
        item_database().replace(sample_tables());
        reopen(nullptr);
        select_row(0);
        type(kItemEditorValueId, "9");
        click(kItemEditorApplyId);
        const test_support::SeenBox box = test_support::answer_box(
            GetCurrentProcessId(), c.answer, [&] { SendMessageA(editor_, WM_CLOSE, 0, 0); });
        EXPECT_EQ(box.owner, editor_);
        EXPECT_EQ(box.text, "保存していない変更があります。\r\nitems.txt に保存しますか？");
        EXPECT_EQ(box.buttons, "YN");
        EXPECT_EQ(IsWindow(editor_) == FALSE, c.closed);
        EXPECT_EQ(*find(live(), Category::kWeapon, "鉄の剣"), 9);
        const std::optional<std::string> file = launch::read_file(dir_.file("items.txt"));
        EXPECT_EQ(file.has_value(), c.written);
        if (file) {
            ItemTables saved;
            load_item_file(file, saved);
            EXPECT_EQ(saved, live());
        }
    }
}

// 終了 asks the same question (cancel keeps the program), while the overlay closed by
// another program's WM_CLOSE asks nothing.
TEST_F(ItemEditorWindow, ExitAsksAboutUnsavedChangesAndAnotherProgramsCloseDoesNot) {
    select_row(0);
    type(kItemEditorValueId, "9");
    click(kItemEditorApplyId);
    const CommandTarget target{owner_, nullptr, {0, 0}};
    const test_support::SeenBox box = test_support::answer_box(
        GetCurrentProcessId(), IDCANCEL, [&] { run_menu_command(target, kCommandExit); });
    EXPECT_EQ(box.owner, editor_);
    EXPECT_TRUE(IsWindow(owner_));
    EXPECT_TRUE(IsWindow(editor_));

    test_support::BoxAnswerer answerer(GetCurrentProcessId(), IDNO);
    SendMessageA(owner_, WM_CLOSE, 0, 0);  // as another program would
    EXPECT_TRUE(answerer.seen().empty());
    EXPECT_FALSE(IsWindow(editor_));
}

// アイテムエディタ起動 and 設定 bring their window, open already, to the front.
TEST_F(ItemEditorWindow, OpeningCommandsBringTheOpenWindowToTheFront) {
    const UniqueWindow other(CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                             50, nullptr, nullptr, GetModuleHandleA(nullptr),
                                             nullptr));
    const CommandTarget target{owner_, nullptr, {0, 0}};
    ASSERT_NE(open_config_dialog(owner_, display_settings()), nullptr);
    const struct {
        int command;
        HWND window;
    } cases[] = {{kCommandItemEditor, editor_}, {kCommandSettings, config_dialog_window()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        SetForegroundWindow(other.get());
        ASSERT_EQ(GetForegroundWindow(), other.get());
        run_menu_command(target, c.command);
        EXPECT_EQ(GetForegroundWindow(), c.window);
    }
    EXPECT_EQ(FindWindowExA(nullptr, editor_, "ItemEditorDialog", nullptr), nullptr);
}

}  // namespace
}  // namespace quilla
