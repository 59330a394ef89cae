// Test support for the update check: a worklist server on 127.0.0.1 that the test runs
// itself, named by QUILLA_UPDATE_SERVER (which programs the test starts inherit), and an
// answerer of the message boxes that the 情報 command shows.
#pragma once

#include "update/winsock_win.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "update/update_server.h"

namespace quilla::test_support {

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
        bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), size);
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
    HWND box = nullptr;
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    std::string buttons;  // "Y", "N", "O" for each of Yes, No and OK the box has
    ULONGLONG shown_at = 0;
};

// Runs show, which makes the process process_id open a message box, while another thread
// records the box that appears within 30 s and presses button in it.
template <typename Show>
SeenBox answer_box(DWORD process_id, int button, Show show) {
    SeenBox seen;
    std::thread watcher([&] {
        HWND box = nullptr;
        for (int tries = 0; tries < 3000 && !box; ++tries) {
            Sleep(10);
            for (HWND w = nullptr; !box && (w = FindWindowExA(nullptr, w, "#32770", nullptr));) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                box = pid == process_id && IsWindowVisible(w) ? w : nullptr;
            }
        }
        if (!box) {
            return;
        }
        seen.box = box;
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

}  // namespace quilla::test_support
