// Item files on disk: saving replaces the file in one step, a failed save keeps the old
// file, Shift-JIS file names work, and the start-up read fills the live tables.
#include "items/item_file_win.h"

#include <gtest/gtest.h>

#include "base/code_page_win.h"
#include "tests/support/test_process_win.h"

namespace quilla {
namespace {

using launch::ScratchDirectory;
using test_support::InWorkingDirectory;

std::string read_all(const std::string& path) {
    return launch::read_file(path).value_or("<missing>");
}

ItemTables sample_tables() {
    ItemTables t;
    set(t, Category::kWeapon, "ミスリルブレード", 5);
    set(t, Category::kShield, "白銀の盾", -2);
    set(t, Category::kWeaponSeal, "竜", 1);
    set(t, Category::kShieldSeal, "表", 3);  // 0x5C trail byte
    set(t, Category::kAmulet, "いやしのお守り", 0);
    return t;
}

TEST(ItemFileOnDisk, WriteThenStartupReadReproducesEveryTable) {
    ScratchDirectory dir;
    ASSERT_TRUE(dir.ok());
    ASSERT_TRUE(write_item_file(dir.file("items.txt"), sample_tables()));
    EXPECT_EQ(read_all(dir.file("items.txt")),
              "武器,ミスリルブレード,5\n盾,白銀の盾,-2\n武器印,竜,1\n盾印,表,3\n"
              "お守り,いやしのお守り,\n");
    ItemDatabase db;
    InWorkingDirectory cwd(dir.path());
    EXPECT_EQ(load_startup_items(db, L"items.txt"), ReadOutcome::kWhole);
    EXPECT_EQ(*db.snapshot(), sample_tables());
    EXPECT_FALSE(db.unsaved());
}

// A save refused up front (read-only, a folder in the way) and one whose temporary file
// is written but whose replace fails (the file held by another program for longer than
// the save waits): the old file stays whole and nothing is left beside it.
TEST(ItemFileOnDisk, AFailedSaveKeepsTheOldFileWhole) {
    enum Way { kReadOnly, kHeld, kFolder };
    const struct {
        const char* name;
        Way way;
        SaveFailure why;
    } cases[] = {
        {"read-only", kReadOnly, SaveFailure::kReadOnly},
        {"held without delete sharing", kHeld, SaveFailure::kInUse},
        {"a folder in the way", kFolder, SaveFailure::kOther},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory dir;
        const std::string path = dir.file("items.txt");
        if (c.way == kFolder) {
            ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
        } else {
            ASSERT_TRUE(dir.write_file("items.txt", "武器,古い剣,3\n"));
        }
        if (c.way == kReadOnly) {
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        UniqueFile hold = c.way == kHeld ? test_support::hold_file(path) : UniqueFile();
        ASSERT_EQ(static_cast<bool>(hold), c.way == kHeld);
        SaveFailure why = SaveFailure::kNone;
        EXPECT_FALSE(write_item_file(path, sample_tables(), &why));
        EXPECT_EQ(why, c.why);
        hold.reset();
        if (c.way != kFolder) {
            EXPECT_EQ(read_all(path), "武器,古い剣,3\n");
        }
        EXPECT_EQ(dir.names(), std::vector<std::string>{"items.txt"}) << "something left over";
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(ItemFileOnDisk, ShiftJisFileNamesWork) {
    ScratchDirectory dir;
    const std::string path = dir.file("装備表.txt");  // 0x5C trail byte in the name
    ASSERT_TRUE(write_item_file(path, sample_tables()));
    ItemTables loaded;
    load_item_file_into(widen(path), loaded);
    EXPECT_EQ(loaded, sample_tables());
}

// items.txt saved as UTF-8, with or without the byte-order mark, or as UTF-16 (either byte
// order) with its mark, reads as the same names in Shift-JIS; a Shift-JIS file reads byte
// for byte. A name Shift-JIS cannot hold matches
// nothing, and the lines around it still count.
TEST(ItemFileOnDisk, AFileSavedAsUtf8ReadsAsTheSameText) {
    const std::string utf8_lines = reinterpret_cast<const char*>(
        u8"武器,ミスリルブレード,5\r\n盾,白銀の盾,-2\r\n武器印,竜,1\r\n盾印,表,3\r\n"
        u8"お守り,いやしのお守り,\r\n武器,José の剣,2\r\n");
    // The same lines as UTF-16 in either byte order, after its byte-order mark.
    const std::wstring wide_lines =
        L"武器,ミスリルブレード,5\r\n盾,白銀の盾,-2\r\n武器印,竜,1\r\n盾印,表,3\r\n"
        L"お守り,いやしのお守り,\r\n武器,Jos\u00e9 の剣,2\r\n";
    const auto utf16 = [&](bool big_endian) {
        std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
        for (const wchar_t unit : wide_lines) {
            const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
            bytes += big_endian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    };
    const struct {
        const char* what;
        std::string bytes;
        bool utf8;  // converted from Unicode, the line with é too
    } cases[] = {
        {"UTF-8 with the mark", "\xEF\xBB\xBF" + utf8_lines, true},
        {"UTF-8 without the mark", utf8_lines, true},
        {"UTF-16 little-endian with the mark", utf16(false), true},
        {"UTF-16 big-endian with the mark", utf16(true), true},
        {"Shift-JIS",
         "武器,ミスリルブレード,5\n盾,白銀の盾,-2\n武器印,竜,1\n盾印,表,3\n"
         "お守り,いやしのお守り,\n",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDirectory dir;
        ASSERT_TRUE(dir.write_file("items.txt", c.bytes));
        ItemDatabase db;
        InWorkingDirectory cwd(dir.path());
        EXPECT_EQ(load_startup_items(db, L"items.txt"), ReadOutcome::kWhole);
        ItemTables got = *db.snapshot();
        if (c.utf8) {  // the line with é, under whatever name the conversion gave it
            EXPECT_EQ(std::erase_if(got.weapon, [](const auto& e) { return e.first[0] == 'J'; }),
                      1u);
        }
        EXPECT_EQ(got, sample_tables());
    }
}

// In a folder named with a letter outside code page 932: a save by relative name lands
// there, and a file is read back from its wide path.
TEST(ItemFileOnDisk, AFolderNamedOutsideTheCodePageWorks) {
    ScratchDirectory dir;
    const std::wstring folder = test_support::folder_outside_code_page(dir);
    ASSERT_FALSE(folder.empty());
    {
        InWorkingDirectory cwd(folder);
        SaveFailure why = SaveFailure::kOther;
        EXPECT_TRUE(write_item_file("items.txt", sample_tables(), &why));
        EXPECT_EQ(why, SaveFailure::kNone);
    }
    ItemTables loaded;
    load_item_file_into(folder + L"\\items.txt", loaded);
    EXPECT_EQ(loaded, sample_tables());
}

}  // namespace
}  // namespace quilla
