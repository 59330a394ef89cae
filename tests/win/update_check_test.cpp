// The "情報" command's update check and boxes against a worklist server on 127.0.0.1 that
// the test runs itself, reached through QUILLA_UPDATE_SERVER.
#include "update/version_information_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "update/build_constants.h"
#include "update/update_check_win.h"
#include "update/update_server.h"
#include "update/winsock_win.h"

namespace quilla {
namespace {

// Serves one connection at a free port, named by QUILLA_UPDATE_SERVER while it exists:
// reads the request, sends reply, then closes or (hold) keeps the connection open until
// the server goes. With listening false nothing listens on the port.
class WorklistServer {
  public:
    WorklistServer(std::string reply, bool hold, bool listening) {
        listener_.reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof address;
        EXPECT_EQ(bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), size), 0);
        getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &size);
        host_ = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        SetEnvironmentVariableA(kUpdateServerVariable, host_.c_str());
        if (!listening || listen(listener_.get(), 1) != 0) {
            listener_.reset();
            return;
        }
        thread_ = std::thread([this, reply, hold] {
            fd_set set;
            do {
                FD_ZERO(&set);
                FD_SET(listener_.get(), &set);
                timeval slice{0, 20000};
                if (select(0, &set, nullptr, nullptr, &slice) > 0) {
                    UniqueSocket client(accept(listener_.get(), nullptr, nullptr));
                    char buffer[256];
                    int got = 0;
                    while (request_.find("\r\n\r\n") == std::string::npos &&
                           (got = recv(client.get(), buffer, sizeof buffer, 0)) > 0) {
                        request_.append(buffer, static_cast<std::size_t>(got));
                    }
                    send(client.get(), reply.data(), static_cast<int>(reply.size()), 0);
                    while (hold && !stop_) {
                        Sleep(20);
                    }
                    return;
                }
            } while (!stop_);
        });
    }
    ~WorklistServer() {
        SetEnvironmentVariableA(kUpdateServerVariable, nullptr);
        request();
    }

    const std::string& host() const { return host_; }
    // What the server received; call it once the check has returned.
    const std::string& request() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        return request_;
    }

  private:
    WinsockSession session_;
    UniqueSocket listener_;
    std::string host_;
    std::atomic<bool> stop_{false};
    std::string request_;
    std::thread thread_;
};

struct SeenBox {
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    std::string buttons;  // "Y", "N", "O" for each of Yes, No and OK the box has
    ULONGLONG shown_at = 0;
};

// Runs show, which opens a message box, while another thread records the box of this
// process that appears within 30 s and presses button in it.
template <typename Show>
SeenBox answer_box(int button, Show show) {
    SeenBox seen;
    std::thread watcher([&] {
        HWND box = nullptr;
        for (int tries = 0; tries < 3000 && !box; ++tries) {
            Sleep(10);
            for (HWND w = nullptr; !box && (w = FindWindowExA(nullptr, w, "#32770", nullptr));) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                box = pid == GetCurrentProcessId() && IsWindowVisible(w) ? w : nullptr;
            }
        }
        seen.shown_at = GetTickCount64();
        char text[512] = {};
        GetWindowTextA(box, text, sizeof text);
        seen.caption = text;
        seen.owner = GetWindow(box, GW_OWNER);
        for (HWND child = nullptr; (child = FindWindowExA(box, child, "Static", nullptr));) {
            GetWindowTextA(child, text, sizeof text);
            seen.text += text;
        }
        for (auto [id, name] : {std::pair{IDYES, "Y"}, {IDNO, "N"}, {IDOK, "O"}}) {
            seen.buttons += GetDlgItem(box, id) ? name : "";
        }
        PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    });
    show();
    watcher.join();
    return seen;
}

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
        const SeenBox box = answer_box(c.button, [&] {
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
