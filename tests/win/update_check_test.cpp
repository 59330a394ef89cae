// The "情報" command's update check and boxes against a local worklist server, reached
// through QUILLA_UPDATE_SERVER; the chunk converter.
#include "ui/version_information_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "base/code_page_win.h"
#include "tests/support/fake_clock.h"
#include "tests/support/message_box_win.h"
#include "tests/support/worklist_server_win.h"
#include "update/update_host.h"
#include "update/update_check_win.h"

namespace quilla {
namespace {

using test_support::answer_box;
using test_support::SeenBox;
using test_support::WorklistServer;

// A normal user's shell that notes what it was asked to open: (verb, address, show
// command) each time.
class RecordingShell : public InformationCalls {
  public:
    HINSTANCE shell_execute(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                            INT show) override {
        opened.push_back(narrow(verb) + " " + narrow(file) + (parameters || directory ? " +" : "") +
                         (show == SW_SHOWNORMAL ? "" : " hidden"));
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
    }
    bool runs_elevated() override { return false; }

    std::vector<std::string> opened;
};

constexpr uint64_t kStartMs = 1000;

// The check's clock: it stands still until the test moves it to the check's bound, and
// notes the latest time the check read from it.
class BoundClock : public test_support::FakeClock {
  public:
    BoundClock() : FakeClock(kStartMs) {}
    uint64_t now_ms() override {
        const uint64_t now = FakeClock::now_ms();
        latest_read_ = std::max(latest_read_.load(), now);  // read on the check's thread only
        return now;
    }
    void move_to_the_bound() { set(kStartMs + kUpdateCheckTimeoutMs); }
    uint64_t latest_read() const { return latest_read_.load(); }

  private:
    std::atomic<uint64_t> latest_read_{0};
};

TEST(UpdateCheck, OffersANewerVersionOrShowsTheVersionWithinTheBound) {
    const std::string offer =
        "新たなバージョンが見つかりました。\r\n1.7.0\r\nダウンロードしますか？\r\n("
        "ブラウザが起動してZIPファイルをダウンロードします。\r\n解凍等は各自お願いします。)";
    const std::string version = "QuillaWS\r\nversion:1.6.0";
    const std::string worklist =
        "HTTP/1.1 200 OK\r\n\r\nQuillaBR,a,b,c,9.9.9\r\nQuillaWS,a,b,c,1.7.0,d\r\n";
    const std::string download = "https://" + std::string(update_host()) + "/works/QuillaWS.zip";
    // A check that has its answer shows its box within the bound, its clock standing
    // still; one that waits for more gives up when its clock reaches the bound, which the
    // test moves there once the server has sent its reply, and its box follows at once: a
    // wait looks at the clock at least once a second (the margin is for a busy machine,
    // stretched by the load factor).
    enum Ends { kAnswered, kGivenUp };
    const ULONGLONG kAnsweredWithinMs = kUpdateCheckTimeoutMs;            // of the start
    const ULONGLONG kGivenUpWithinMs = 1000 + launch::deadline_ms(1500);  // of the move
    struct Case {
        const char* what;
        std::string reply;
        bool hold;
        bool listening;
        int button;
        std::string text;  // the version box's when not the offer
        std::vector<std::string> opened;
        Ends ends;
    } cases[] = {
        {"newer, No", worklist, true, true, IDNO, offer, {}, kAnswered},
        {"newer, Yes", worklist, true, true, IDYES, offer, {"open " + download}, kAnswered},
        {"line without CR LF, held", "QuillaWS,a,b,c,1.7.0", true, true, IDNO, offer, {}, kGivenUp},
        {"no worklist, closed",
         "HTTP/1.1 404 Not Found\r\n\r\n",
         false,
         true,
         IDOK,
         version,
         {},
         kAnswered},
        {"nothing listens", "", false, false, IDOK, version, {}, kAnswered},
        {"stalls", "", true, true, IDOK, version, {}, kGivenUp},
    };
    UniqueWindow owner(CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, nullptr, nullptr));
    for (const Case& c : cases) {
        const bool gives_up = c.ends == kGivenUp;
        WorklistServer server(c.reply, c.hold, c.listening);
        RecordingShell shell;
        BoundClock clock;
        std::atomic<bool> shown{false};
        ULONGLONG moved_at = 0;
        // The clock reaches the bound once the server has replied to a check that gives up
        // (the reply is then in the check's socket already), else once the box was shown;
        // at the latest at the deadline, so that a check that waits when it should not
        // never holds the test.
        std::thread mover([&] {
            launch::wait_until([&] { return shown || (gives_up && server.replied()); });
            moved_at = GetTickCount64();
            clock.move_to_the_bound();
        });
        const ULONGLONG start = GetTickCount64();
        const SeenBox box = answer_box(GetCurrentProcessId(), c.button, [&] {
            show_version_information(owner.get(), shell, clock);
            shown = true;
        });
        mover.join();
        ASSERT_NE(box.box, nullptr) << c.what << ": no box";
        if (gives_up) {
            EXPECT_GE(clock.latest_read(), kStartMs + kUpdateCheckTimeoutMs)
                << c.what << ": gave up before the bound";
            EXPECT_LT(box.shown_at - moved_at, kGivenUpWithinMs) << c.what;
        } else {
            EXPECT_LT(box.shown_at - start, kAnsweredWithinMs) << c.what;
        }
        EXPECT_EQ(
            server.request(),
            c.listening ? "GET /worklist.txt HTTP/1.1\r\nHost:" + server.host() + "\r\n\r\n" : "")
            << c.what;
        const bool offered = c.text == offer;
        EXPECT_EQ(box.caption, offered ? "アップデート" : "バージョン情報") << c.what;
        EXPECT_EQ(box.text, c.text) << c.what;
        EXPECT_EQ(box.buttons, offered ? "YN" : "O") << c.what;
        EXPECT_EQ(box.owner, owner.get()) << c.what;
        EXPECT_EQ(shell.opened, c.opened) << c.what;
    }
}

// A name server that answers when the test lets it go (at once if it answers); notes the thread.
class HeldLookup : public NameLookupCalls {
  public:
    explicit HeldLookup(bool answers) : let_go(CreateEventA(nullptr, TRUE, answers, nullptr)) {}
    int get_address_info(PCSTR host, PCSTR service, const ADDRINFOA* hints,
                         PADDRINFOA* found) override {
        thread.reset(OpenThread(SYNCHRONIZE, FALSE, GetCurrentThreadId()));
        let_go_in_time = WaitForSingleObject(let_go.get(), launch::deadline_ms(10000)) == 0;
        return NameLookupCalls::get_address_info(host, service, hints, found);
    }
    UniqueKernelHandle let_go;
    UniqueKernelHandle thread;
    bool let_go_in_time = false;  // rather than when the lookup gave up waiting
};

TEST(UpdateCheck, AnswersSentMessagesAndLeavesPostedOnesWhileWaitingForASilentServerOrNameServer) {
    // A window of this thread, as the overlay is of the primary thread; a message posted
    // to it before the check must still be there after.
    UniqueWindow window(CreateWindowExA(0, "STATIC", "overlay", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr));
    ASSERT_NE(window.get(), nullptr);
    constexpr UINT kPosted = WM_APP + 7;

    // Messages are sent one after the other, each once the last was answered, for as long
    // as the check's bound in real time; then the check's clock reaches the bound. A wait
    // that served them only when it looks at the queue (once a second) could answer about
    // ten in that time, one that serves them at once answers them all.
    constexpr int kSends = 3 * static_cast<int>(kUpdateCheckTimeoutMs / 1000);
    struct Case {
        const char* what;
        bool name_server_answers;
    } cases[] = {{"a silent server", true}, {"a silent name server", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(PostMessageA(window.get(), kPosted, 0, 0));
        WorklistServer server("", true, c.name_server_answers);  // never answers
        HeldLookup lookup(c.name_server_answers);
        UniqueKernelHandle checking(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        BoundClock clock;
        std::atomic<bool> checked{false};
        DWORD_PTR answer = 0;
        bool answered = false;
        bool answered_during_the_check = false;
        int answers = 0;
        std::thread sender([&] {
            WaitForSingleObject(checking.get(), 5000);
            const ULONGLONG start = GetTickCount64();
            for (answered = true;
                 answered && answers < kSends && GetTickCount64() - start < kUpdateCheckTimeoutMs;
                 answers += answered) {
                answered = SendMessageTimeoutA(window.get(), WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL,
                                               5000, &answer) != 0;
            }
            answered_during_the_check = !checked;
            clock.move_to_the_bound();
        });
        SetEvent(checking.get());
        const UpdateCheckResult result = check_for_update("1.6.0", clock, lookup);
        checked = true;
        sender.join();

        EXPECT_EQ(result.result, -1);
        EXPECT_GE(clock.latest_read(), kStartMs + kUpdateCheckTimeoutMs)
            << "the check gave up before the bound";
        ASSERT_TRUE(answered) << "a message sent during the check was not answered within 5 s";
        EXPECT_EQ(answer, 7u);  // "overlay"
        EXPECT_TRUE(answered_during_the_check) << "answered only after the check";
        EXPECT_EQ(answers, kSends) << "sent messages waited";
        EXPECT_EQ(server.request().find("GET /worklist.txt") == 0, c.name_server_answers);
        MSG msg;
        EXPECT_TRUE(PeekMessageA(&msg, window.get(), kPosted, kPosted, PM_REMOVE))
            << "the check took a posted message off the queue";
        SetEvent(lookup.let_go.get());  // a lookup left behind ends by itself
        ASSERT_EQ(WaitForSingleObject(lookup.thread.get(), launch::deadline_ms(10000)), 0u);
        EXPECT_TRUE(lookup.let_go_in_time) << "the check waited for the name server";
    }
}

TEST(UpdateCheck, ConvertsEachChunkByItselfFromUtf8ToShiftJis) {
    EXPECT_EQ(utf8_chunk_to_shift_jis("\xE6\x83\x85\xE5\xA0\xB1"), "情報");
    const std::string split =
        *utf8_chunk_to_shift_jis("a\xE6\x83") + *utf8_chunk_to_shift_jis("\x85z");
    EXPECT_EQ(split.find("情"), std::string::npos) << split;
    EXPECT_EQ(split.front(), 'a');
    EXPECT_EQ(split.back(), 'z');
}

}  // namespace
}  // namespace quilla
