// How 情報 opens the download address: as before when the program runs as a normal user;
// elevated, through the desktop's shell, or in a box when the desktop cannot open it; and
// the desktop's shell starting a program for real.
#include "ui/version_information_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/com_apartment_win.h"
#include "base/handles_win.h"
#include "tests/support/message_box_win.h"
#include "tools/launch/process_win.h"
#include "tools/launch/wait_win.h"

namespace quilla {
namespace {

using test_support::answer_box;
using test_support::SeenBox;

constexpr char kAddress[] = "https://updates.example/works/QuillaWS.zip";

// A program elevated or not, a desktop that opens the address or not; what was opened
// is noted.
class RecordingCalls : public InformationCalls {
  public:
    RecordingCalls(bool elevated, bool desktop_opens)
        : elevated_(elevated), desktop_opens_(desktop_opens) {}
    HINSTANCE shell_execute(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT) override {
        opened.push_back("plain " + narrow(file));
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
    }
    bool runs_elevated() override { return elevated_; }
    bool open_with_desktop_shell(const std::wstring& address) override {
        opened.push_back("desktop " + narrow(address));
        return desktop_opens_;
    }

    std::vector<std::string> opened;  // "plain ADDRESS" / "desktop ADDRESS", in order

  private:
    bool elevated_;
    bool desktop_opens_;
};

TEST(DownloadAddress, NeverOpensItWithAdministratorRights) {
    const std::string box_text =
        "管理者として実行しているため、ブラウザを開きませんでした。\r\n"
        "次のアドレスをブラウザで開いてください。\r\n\r\n" +
        std::string(kAddress) + "\r\n\r\n(Ctrl+C でこのメッセージをコピーできます。)";
    struct Case {
        const char* what;
        bool elevated;
        bool desktop_opens;
        std::vector<std::string> opened;
        bool box;
    } cases[] = {
        {"a normal user: the shell, as before",
         false,
         true,
         {"plain " + std::string(kAddress)},
         false},
        {"elevated: the desktop's shell alone",
         true,
         true,
         {"desktop " + std::string(kAddress)},
         false},
        {"elevated, the desktop cannot: the box",
         true,
         false,
         {"desktop " + std::string(kAddress)},
         true},
    };
    UniqueWindow owner(CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, nullptr, nullptr));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingCalls calls(c.elevated, c.desktop_opens);
        test_support::BoxAnswerer answerer(GetCurrentProcessId(), IDOK);
        open_download_address(owner.get(), kAddress, calls);
        EXPECT_EQ(calls.opened, c.opened);
        const std::vector<SeenBox> seen = answerer.seen();
        ASSERT_EQ(seen.size(), c.box ? 1u : 0u);
        if (c.box) {
            EXPECT_EQ(seen[0].caption, "アップデート");
            EXPECT_EQ(seen[0].text, box_text);
            EXPECT_EQ(seen[0].buttons, "O");
            EXPECT_EQ(seen[0].owner, owner.get());
        }
    }
}

// The real desktop path: the desktop's shell starts a program (the stand-in host, whose
// window the test can find) in its own process.
TEST(DownloadAddress, TheDesktopsShellStartsWhatItIsGiven) {
    const ComApartment com;
    ASSERT_TRUE(com.entered());
    ASSERT_TRUE(open_with_desktop_shell(widen(launch::standin_host_path())));
    HWND started = nullptr;
    ASSERT_TRUE(launch::wait_until([&] {
        return (started = FindWindowA(launch::ChildProcess::kMainClass, nullptr)) != nullptr;
    })) << "the desktop's shell started nothing";
    DWORD process_id = 0;
    GetWindowThreadProcessId(started, &process_id);
    EXPECT_NE(process_id, GetCurrentProcessId());
    const UniqueKernelHandle process(
        OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process_id));
    ASSERT_TRUE(process);
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), launch::deadline_ms(launch::kUsualWaitMs));
}

}  // namespace
}  // namespace quilla
