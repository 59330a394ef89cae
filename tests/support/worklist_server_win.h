// Test support for the update check: a worklist server on 127.0.0.1 that the test runs
// itself, named by QUILLA_UPDATE_SERVER (which programs the test starts inherit).
#pragma once

#include "update/winsock_win.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "tools/launch/wait_win.h"
#include "update/update_server.h"

namespace quilla::test_support {

// Serves one connection at a free port, named by QUILLA_UPDATE_SERVER while it exists:
// reads the request, sends reply, then closes or (hold) keeps the connection open until
// the server goes. With listening false nothing listens on the port; it stays bound all
// the same, so no other program can take it while the test runs.
class WorklistServer {
  public:
    WorklistServer(std::string reply, bool hold, bool listening) {
        listener_ = bound_socket(0);
        sockaddr_in address{};
        int size = sizeof address;
        getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        host_ = "127.0.0.1:" + std::to_string(port_);
        SetEnvironmentVariableA(kUpdateServerVariable, host_.c_str());
        if (!listening || listen(listener_.get(), 1) != 0) {
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
                    replied_ = true;
                    launch::wait_until([&] { return !hold || stop_; }, INFINITE / 20);
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

    // True once the server has sent its reply (an empty one too), from any thread.
    bool replied() const { return replied_.load(); }

    // Ends the serving; the port stays bound, with nothing listening on it, until the
    // server goes.
    void stop_listening() {
        request();
        listener_.reset();
        listener_ = bound_socket(port_);
    }

    // What the server received; call it once the check has returned.
    const std::string& request() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        return request_;
    }

  private:
    // A socket bound to the port on 127.0.0.1 (any free port for 0), not listening. The
    // address may be reused: connections this server closed linger on the port.
    static UniqueSocket bound_socket(u_short port) {
        UniqueSocket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        const BOOL reuse = TRUE;
        setsockopt(s.get(), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse),
                   sizeof reuse);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        bind(s.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
        return s;
    }

    WinsockSession session_;
    u_short port_ = 0;
    UniqueSocket listener_;
    std::string host_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> replied_{false};
    std::string request_;
    std::thread thread_;
};

}  // namespace quilla::test_support
