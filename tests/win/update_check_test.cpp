// The "情報" command's update check and boxes against a local worklist server, reached
// through QUILLA_UPDATE_SERVER; the chunk converter.
#include "ui/version_information_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/worklist_server_win.h"
#include "update/update_host.h"
#include "update/update_check_win.h"

namespace quilla {
namespace {

using test_support::answer_box;
using test_support::SeenBox;
using test_support::WorklistServer;

TEST(UpdateCheck, OffersANewerVersionOrShowsTheVersionWithinTheBound) {
    const std::string offer =
        "新たなバージョンが見つかりました。\r\n1.7.0\r\nダウンロードしますか？\r\n("
        "ブラウザが起動してZIPファイルをダウンロードします。\r\n解凍等は各自お願いします。)";
    const std::string version = "QuillaWS\r\nversion:1.6.0";
    const std::string worklist =
        "HTTP/1.1 200 OK\r\n\r\nQuillaBR,a,b,c,9.9.9\r\nQuillaWS,a,b,c,1.7.0,d\r\n";
    const std::string download = "https://" + std::string(update_host()) + "/works/QuillaWS.zip";
    struct Case {
        const char* what;
        std::string reply;
        bool hold;
        bool listening;
        int button;
        std::string text;  // the version box's when not the offer
        std::vector<std::string> opened;
        ULONGLONG within_ms;
    } cases[] = {
        {"newer, No", worklist, true, true, IDNO, offer, {}, kUpdateCheckTimeoutMs / 2},
        {"newer, Yes", worklist, true, true, IDYES, offer, {download}, kUpdateCheckTimeoutMs / 2},
        {"line without CR LF, held", "QuillaWS,a,b,c,1.7.0", true, true, IDNO, offer, {}, 20000},
        {"no worklist, closed",
         "HTTP/1.1 404 Not Found\r\n\r\n",
         false,
         true,
         IDOK,
         version,
         {},
         20000},
        {"nothing listens", "", false, false, IDOK, version, {}, 20000},
        {"stalls", "", true, true, IDOK, version, {}, 20000},
    };
    UniqueWindow owner(CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, nullptr, nullptr));
    for (const Case& c : cases) {
        WorklistServer server(c.reply, c.hold, c.listening);
        std::vector<std::string> opened;
        const ULONGLONG start = GetTickCount64();
        const SeenBox box = answer_box(GetCurrentProcessId(), c.button, [&] {
            show_version_information(owner.get(),
                                     [&](const std::string& url) { opened.push_back(url); });
        });
        EXPECT_LT(box.shown_at - start, c.within_ms) << c.what;
        EXPECT_EQ(
            server.request(),
            c.listening ? "GET /worklist.txt HTTP/1.1\r\nHost:" + server.host() + "\r\n\r\n" : "")
            << c.what;
        const bool offered = c.text == offer;
        EXPECT_EQ(box.caption, offered ? "アップデート" : "バージョン情報") << c.what;
        EXPECT_EQ(box.text, c.text) << c.what;
        EXPECT_EQ(box.buttons, offered ? "YN" : "O") << c.what;
        EXPECT_EQ(box.owner, owner.get()) << c.what;
        EXPECT_EQ(opened, c.opened) << c.what;
    }
}

TEST(UpdateCheck, ConvertsEachChunkByItselfFromUtf8ToShiftJis) {
    EXPECT_EQ(utf8_chunk_to_ansi("\xE6\x83\x85\xE5\xA0\xB1"), "情報");
    const std::string split = *utf8_chunk_to_ansi("a\xE6\x83") + *utf8_chunk_to_ansi("\x85z");
    EXPECT_EQ(split.find("情"), std::string::npos) << split;
    EXPECT_EQ(split.front(), 'a');
    EXPECT_EQ(split.back(), 'z');
}

}  // namespace
}  // namespace quilla
