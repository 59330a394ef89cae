// Paths longer than MAX_PATH: a save and a read in a folder whose full path is that long,
// and what the user is told when a save fails for a path too long.
#include "base/file_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_process_win.h"

namespace quilla {
namespace {

using launch::ScratchDirectory;
using test_support::LongFolder;

constexpr char kOld[] = "x=10\r\ny=20\r\n";
constexpr char kNew[] = "x=120\r\ny=80\r\nWeaponText=なし\r\n";

// File calls that note every name they are given, in the order given, and make the real
// calls.
class RecordingCalls : public FileCalls {
  public:
    std::vector<std::wstring> named;

    HANDLE create_file(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                       DWORD disposition, DWORD flags, HANDLE templ) override {
        named.push_back(name);
        return FileCalls::create_file(name, access, share, security, disposition, flags, templ);
    }

    DWORD get_attributes(LPCWSTR name) override {
        named.push_back(name);
        return FileCalls::get_attributes(name);
    }

    BOOL replace_file(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                      LPVOID exclude, LPVOID reserved) override {
        named.insert(named.end(), {replaced, replacement, backup});
        return FileCalls::replace_file(replaced, replacement, backup, flags, exclude, reserved);
    }

    BOOL move_file(LPCWSTR from, LPCWSTR to, DWORD flags) override {
        named.insert(named.end(), {from, to});
        return FileCalls::move_file(from, to, flags);
    }

    BOOL delete_file(LPCWSTR name) override {
        named.push_back(name);
        return DeleteFileW(name);
    }
};

// A save (a new file, then over it: the replace, its backup name and the removal of the
// backup) and a read in a folder whose full path is longer than MAX_PATH. Every name the
// file calls are given is in the extended-length form, which Windows needs for such a
// path (Wine would take the plain one too).
TEST(LongPath, ASaveAndAReadInAFolderLongerThanMaxPath) {
    ScratchDirectory dir;
    const LongFolder folder(dir);
    ASSERT_TRUE(folder.ok());
    ASSERT_GT(folder.path().size(), std::size_t{MAX_PATH});
    const std::wstring path = folder.path() + L"\\QuillaWS.txt";
    RecordingCalls calls;

    EXPECT_EQ(read_whole_file(path, kReplaceRetryMs, calls).outcome, ReadOutcome::kNotFound);
    SaveFailure why = SaveFailure::kOther;
    EXPECT_TRUE(replace_file_atomically(path, kOld, &why, kReplaceRetryMs, calls))
        << static_cast<int>(why);
    EXPECT_EQ(read_file_bytes(path), std::string(kOld));
    EXPECT_TRUE(replace_file_atomically(path, kNew, &why, kReplaceRetryMs, calls))
        << static_cast<int>(why);
    const FileRead read = read_whole_text_file(path, kReplaceRetryMs, calls);
    EXPECT_EQ(read.outcome, ReadOutcome::kWhole);
    EXPECT_EQ(read.bytes, kNew);

    EXPECT_GT(calls.named.size(), 8u);
    for (const std::wstring& name : calls.named) {
        EXPECT_EQ(name.rfind(L"\\\\?\\" + folder.path() + L"\\QuillaWS.txt", 0), 0u)
            << "a name not in the extended-length form, " << name.size() << " characters";
    }

    // Nothing is left beside the file.
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((L"\\\\?\\" + folder.path() + L"\\*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        if (found.cFileName[0] != L'.') {
            names.push_back(found.cFileName);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_EQ(names, std::vector<std::wstring>{L"QuillaWS.txt"});
}

// File calls that refuse every open with the error they are given, noting the names
// they were given.
class RefusingCalls : public FileCalls {
  public:
    DWORD error = 0;
    std::vector<std::wstring> created;

    HANDLE create_file(LPCWSTR name, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                       HANDLE) override {
        created.push_back(name);
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
};

// The temporary name's length as the user would count it, without the extended-length
// prefix the file calls are given.
std::size_t plain_length(const std::wstring& name) {
    return name.rfind(L"\\\\?\\", 0) == 0 ? name.size() - 4 : name.size();
}

// A folder that does not exist is "no folder", unless the save's own names are longer
// than the old path limit, where a file system holding to it says the same: then, as for
// a name too long, the path is too long. The edge is the temporary file's name: 259
// characters and 260.
TEST(LongPath, APathTooLongIsNotAMissingFolder) {
    ScratchDirectory dir;
    const std::wstring base = widen(dir.path()) + L"\\";

    // How long the temporary name of a save of base + "a" is.
    RefusingCalls sized;
    sized.error = ERROR_PATH_NOT_FOUND;
    replace_file_atomically(base + L"a", kNew, nullptr, kReplaceRetryMs, sized);
    ASSERT_EQ(sized.created.size(), 1u);
    const std::size_t added = plain_length(sized.created.front()) - (base.size() + 1);

    const struct {
        const char* name;
        DWORD error;
        std::size_t temporary_length;
        SaveFailure why;
    } cases[] = {
        {"not found, 259", ERROR_PATH_NOT_FOUND, 259, SaveFailure::kNoFolder},
        {"not found, 260", ERROR_PATH_NOT_FOUND, 260, SaveFailure::kPathTooLong},
        {"not found, 400", ERROR_PATH_NOT_FOUND, 400, SaveFailure::kPathTooLong},
        {"name too long, 100", ERROR_FILENAME_EXCED_RANGE, 100, SaveFailure::kPathTooLong},
        {"buffer overflow, 100", ERROR_BUFFER_OVERFLOW, 100, SaveFailure::kPathTooLong},
        {"access denied, 400", ERROR_ACCESS_DENIED, 400, SaveFailure::kAccessDenied},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_GT(c.temporary_length, base.size() + added);
        const std::wstring path =
            base + std::wstring(c.temporary_length - base.size() - added, L'a');
        RefusingCalls calls;
        calls.error = c.error;
        SaveFailure why = SaveFailure::kNone;
        EXPECT_FALSE(replace_file_atomically(path, kNew, &why, kReplaceRetryMs, calls));
        EXPECT_EQ(why, c.why);
        ASSERT_EQ(calls.created.size(), 1u);
        EXPECT_EQ(plain_length(calls.created.front()), c.temporary_length);
        EXPECT_EQ(calls.created.front().rfind(L"\\\\?\\", 0), 0u)
            << "not in the extended-length form";
    }
}

TEST(LongPath, EachSaveFailureHasItsOwnPhrase) {
    const struct {
        SaveFailure why;
        const char* phrase;
    } cases[] = {
        {SaveFailure::kReadOnly,
         "読み取り専用のファイルです。ファイルのプロパティで「読み取り専用」を外してください。"},
        {SaveFailure::kInUse,
         "ほかのプログラムが使用中です。そのプログラムを閉じてから、もう一度試してください。"},
        {SaveFailure::kAccessDenied,
         "書き込む権限がありません。フォルダを C:\\Games など書き込める場所へ移してください。"},
        {SaveFailure::kDiskFull,
         "ディスクの空きが足りません。いらないファイルを消して空きを作ってください。"},
        {SaveFailure::kNoFolder,
         "フォルダが見つかりません。フォルダの名前と場所を確かめてください。"},
        {SaveFailure::kPathTooLong,
         "パスが長すぎます。フォルダを C:\\Games など短いパスの場所へ移してください。"},
        {SaveFailure::kOther,
         "書き込みに失敗しました。保存先のフォルダとディスクを確かめてください。"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(save_failure_phrase(c.why), c.phrase) << static_cast<int>(c.why);
    }
}

}  // namespace
}  // namespace quilla
