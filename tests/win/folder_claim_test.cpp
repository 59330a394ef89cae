// The folder claim through FolderClaimCalls: which names it asks for (the identity, the
// final path, or the path when the folder cannot be opened) and what each namespace's
// answer makes of the start.
#include "app/single_instance_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/folder_claim_name.h"
#include "base/code_page_win.h"
#include "base/file_win.h"

namespace quilla {
namespace {

// What the fake file system reports for the folder.
struct Folder {
    bool opens = true;
    bool has_128_bit_id = true;  // false: Windows 7, GetFileInformationByHandleEx refuses
    bool has_id = true;          // false: a file system that keeps no identifiers
    bool has_final_path = true;
};

// How the fake Windows answers each CreateMutexW, in order of the calls.
enum class Answer {
    kNew,      // made
    kExists,   // made before by another copy
    kDenied,   // access denied, and the mutex is there (another user's copy, or an elevated one)
    kRefused,  // access denied, and no such mutex (the namespace refuses new objects)
    kOther,    // another failure
};

// A file system and Windows that answer as the case says; the mutex calls are noted.
class FakeClaimCalls : public FolderClaimCalls {
  public:
    FakeClaimCalls(Folder folder, std::vector<Answer> answers)
        : folder_(folder), answers_(std::move(answers)) {}

    HANDLE create_file(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                       DWORD disposition, DWORD flags, HANDLE tmpl) override {
        if (!folder_.opens) {
            SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        return CreateFileW(name, access, share, sa, disposition, flags, tmpl);
    }

    BOOL get_file_information_ex(HANDLE, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID out,
                                 DWORD) override {
        if (kind != FileIdInfo || !folder_.has_128_bit_id) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        FILE_ID_INFO info{};
        info.VolumeSerialNumber = 0x12345678;
        for (BYTE i = 0; i < 16 && folder_.has_id; ++i) {
            info.FileId.Identifier[i] = static_cast<BYTE>(i + 1);
        }
        std::memcpy(out, &info, sizeof info);
        return TRUE;
    }

    BOOL get_file_information(HANDLE, LPBY_HANDLE_FILE_INFORMATION out) override {
        *out = {};
        out->dwVolumeSerialNumber = 0x12345678;
        out->nFileIndexHigh = folder_.has_id ? 0x10 : 0;
        out->nFileIndexLow = folder_.has_id ? 0x2A : 0;
        return TRUE;
    }

    DWORD get_final_path(HANDLE, LPWSTR out, DWORD size, DWORD) override {
        const std::wstring path = L"\\\\?\\C:\\Games\\Quilla";
        if (!folder_.has_final_path) {
            SetLastError(ERROR_NOT_SUPPORTED);
            return 0;
        }
        if (size <= path.size()) {
            return static_cast<DWORD>(path.size() + 1);
        }
        std::memcpy(out, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        return static_cast<DWORD>(path.size());
    }

    HANDLE create_mutex(LPSECURITY_ATTRIBUTES, BOOL, LPCWSTR name) override {
        calls.push_back("create " + narrow(name));
        last_answer_ = answers_.empty() ? Answer::kNew : answers_.front();
        if (!answers_.empty()) {
            answers_.erase(answers_.begin());
        }
        if (last_answer_ == Answer::kNew || last_answer_ == Answer::kExists) {
            HANDLE handle = CreateEventW(nullptr, FALSE, FALSE, nullptr);  // a handle to close
            SetLastError(last_answer_ == Answer::kExists ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
            return handle;
        }
        SetLastError(last_answer_ == Answer::kOther ? ERROR_INVALID_HANDLE : ERROR_ACCESS_DENIED);
        return nullptr;
    }

    HANDLE open_mutex(DWORD, BOOL, LPCWSTR name) override {
        calls.push_back("open " + narrow(name));
        SetLastError(last_answer_ == Answer::kDenied ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
        return nullptr;
    }

    int message_box(HWND owner, LPCWSTR text, LPCWSTR caption, UINT) override {
        calls.push_back((owner ? "owned box " : "box ") + narrow(caption) + ": " + narrow(text));
        return IDOK;
    }

    std::vector<std::string> calls;  // "create NAME" / "open NAME" / "box CAPTION: TEXT"

  private:
    Folder folder_;
    std::vector<Answer> answers_;
    Answer last_answer_ = Answer::kNew;
};

TEST(FolderClaim, NamesTheFolderByWhatTheFileSystemSaysAndFallsBackPerNamespace) {
    const std::string id = "QuillaWS-id-0000000012345678-0102030405060708090a0b0c0d0e0f10";
    const std::string index = "QuillaWS-id-0000000012345678-2a000000100000000000000000000000";
    const std::string final_path = "QuillaWS-53edcecd64086a0c";  // \\?\C:\GAMES\QUILLA
    std::wstring settings_path = full_path(L"QuillaWS.txt");
    CharUpperBuffW(settings_path.data(), static_cast<DWORD>(settings_path.size()));
    const std::string path =
        path_claim_name(std::u16string(settings_path.begin(), settings_path.end()));
    const std::string g = "create Global\\";
    const std::string l = "create Local\\";
    struct Case {
        const char* what;
        Folder folder;
        std::vector<Answer> answers;
        std::vector<std::string> calls;
        bool another_copy_runs;
        std::size_t held;
    } cases[] = {
        {"the first copy", {}, {}, {g + id, g + final_path}, false, 2},
        {"Windows 7: the 64-bit index", {true, false}, {}, {g + index, g + final_path}, false, 2},
        {"no identifiers: the final path alone",
         {true, true, false},
         {},
         {g + final_path},
         false,
         1},
        {"no final path: the identity alone", {true, true, true, false}, {}, {g + id}, false, 1},
        {"the folder cannot be opened: the path", {false}, {}, {g + path}, false, 1},
        {"neither is known: the path", {true, true, false, false}, {}, {g + path}, false, 1},
        {"the identity is claimed: ends at once", {}, {Answer::kExists}, {g + id}, true, 0},
        {"the final path is claimed (another spelling's identity differed)",
         {},
         {Answer::kNew, Answer::kExists},
         {g + id, g + final_path},
         true,
         1},
        {"a copy of another user or with higher rights holds it: says why",
         {},
         {Answer::kNew, Answer::kDenied},
         {g + id, g + final_path, "open Global\\" + final_path,
          "box Quilla WS: "
          "このフォルダでは、ほかのユーザまたは別の権限（管理者として実行など）で"
          "起動した Quilla WS が動いています。設定ファイルが同じになるため、こちらは終了します。"},
         true,
         1},
        {"the global namespace refused: the session's",
         {},
         {Answer::kRefused, Answer::kNew, Answer::kRefused, Answer::kNew},
         {g + id, "open Global\\" + id, l + id, g + final_path, "open Global\\" + final_path,
          l + final_path},
         false,
         2},
        {"another failure there: the session's",
         {},
         {Answer::kOther, Answer::kNew, Answer::kNew},
         {g + id, l + id, g + final_path},
         false,
         2},
        {"claimed in the session's namespace",
         {},
         {Answer::kRefused, Answer::kExists},
         {g + id, "open Global\\" + id, l + id},
         true,
         0},
        {"no namespace takes it: runs as before",
         {false},
         {Answer::kRefused, Answer::kOther},
         {g + path, "open Global\\" + path, l + path},
         false,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeClaimCalls fakes(c.folder, c.answers);
        FolderClaim claim = claim_working_directory(fakes);
        EXPECT_EQ(claim.mutexes.size(), c.held);
        EXPECT_EQ(yield_to_another_copy(claim, fakes), c.another_copy_runs);
        EXPECT_EQ(fakes.calls, c.calls);
        EXPECT_EQ(claim.mutexes.empty(), c.another_copy_runs || c.held == 0) << "not let go";
    }
}

TEST(FolderClaim, OneFolderIsOneClaimAndAnotherFolderIsAnother) {
    // The real calls, in this process: the claim holds the folder against a second one.
    const FolderClaim first = claim_working_directory();
    ASSERT_FALSE(first.another_copy_runs);
    ASSERT_FALSE(first.mutexes.empty());
    EXPECT_TRUE(claim_working_directory().another_copy_runs);

    wchar_t temp[MAX_PATH + 1];
    ASSERT_NE(GetTempPathW(MAX_PATH + 1, temp), 0u);
    wchar_t previous[MAX_PATH + 1];
    ASSERT_NE(GetCurrentDirectoryW(MAX_PATH + 1, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryW(temp));
    const FolderClaim elsewhere = claim_working_directory();
    SetCurrentDirectoryW(previous);
    EXPECT_FALSE(elsewhere.another_copy_runs);
}

}  // namespace
}  // namespace quilla
