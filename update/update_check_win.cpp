// The update check over Winsock: one IPv4 TCP connection to the update server, the
// worklist request, and the response read in 1024-byte chunks. Non-blocking sockets and
// select() keep the connect, send and receive steps within one shared deadline.
#include "update/update_check_win.h"

#include "update/winsock_win.h"

#include <windows.h>

#include <climits>
#include <cstring>

#include "update/update_host.h"
#include "update/update_server.h"

namespace quilla {
namespace {

class Deadline {
  public:
    explicit Deadline(ULONGLONG ms) noexcept : end_(GetTickCount64() + ms) {}

    // Waits until the socket can be written (or read), at most until the deadline.
    bool wait(SOCKET s, bool for_writing) const noexcept {
        const ULONGLONG now = GetTickCount64();
        if (now >= end_) {
            return false;
        }
        const ULONGLONG left = end_ - now;
        timeval timeout{static_cast<long>(left / 1000), static_cast<long>(left % 1000 * 1000)};
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(s, &ready);
        fd_set failed;  // a failed connect shows here
        FD_ZERO(&failed);
        FD_SET(s, &failed);
        const int count = select(0, for_writing ? nullptr : &ready, for_writing ? &ready : nullptr,
                                 &failed, &timeout);
        return count > 0 && FD_ISSET(s, &ready);
    }

  private:
    ULONGLONG end_;
};

bool would_block() noexcept {
    return WSAGetLastError() == WSAEWOULDBLOCK;
}

UniqueSocket connect_to(const addrinfo& address, uint16_t port, const Deadline& deadline) {
    sockaddr_in target{};
    if (address.ai_family != AF_INET || address.ai_addrlen < sizeof target) {
        return {};
    }
    std::memcpy(&target, address.ai_addr, sizeof target);
    target.sin_port = htons(port);
    UniqueSocket s(socket(address.ai_family, address.ai_socktype, address.ai_protocol));
    u_long non_blocking = 1;
    if (!s || ioctlsocket(s.get(), FIONBIO, &non_blocking) != 0) {
        return {};
    }
    if (connect(s.get(), reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
        return s;
    }
    int error = 0;
    int size = sizeof error;
    if (!would_block() || !deadline.wait(s.get(), true) ||
        getsockopt(s.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0 ||
        error != 0) {
        return {};
    }
    return s;
}

bool send_all(SOCKET s, std::string_view bytes, const Deadline& deadline) {
    while (!bytes.empty()) {
        const int sent = send(s, bytes.data(), static_cast<int>(bytes.size()), 0);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent == 0 || !would_block() || !deadline.wait(s, true)) {
            return false;
        }
    }
    return true;
}

// Reads until the server closes, a receive fails, the deadline passes or the text is
// complete; the text holds what came until then.
void receive_into(SOCKET s, ResponseText& text, const Deadline& deadline) {
    char buffer[1024];
    while (deadline.wait(s, false)) {
        const int got = recv(s, buffer, static_cast<int>(sizeof buffer), 0);
        if (got == SOCKET_ERROR && would_block()) {
            continue;
        }
        if (got <= 0 || !text.add_chunk({buffer, static_cast<std::size_t>(got)})) {
            return;
        }
    }
}

std::string environment_variable(const char* name) {
    std::string value;
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    while (size > value.size()) {  // grows when the variable changed in between
        value.resize(size);
        size = GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
    }
    value.resize(size);
    return value;
}

}  // namespace

std::optional<std::string> utf8_chunk_to_ansi(std::string_view chunk) {
    if (chunk.size() > INT_MAX) {
        return std::nullopt;
    }
    const int length = static_cast<int>(chunk.size());
    const int wide_length = MultiByteToWideChar(CP_UTF8, 0, chunk.data(), length, nullptr, 0);
    if (wide_length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, chunk.data(), length, wide.data(), wide_length) <= 0) {
        return std::nullopt;
    }
    const int ansi_length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
    if (ansi_length <= 0) {
        return std::nullopt;
    }
    std::string ansi(static_cast<std::size_t>(ansi_length), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length, ansi.data(), ansi_length, nullptr,
                            nullptr) <= 0) {
        return std::nullopt;
    }
    return ansi;
}

UpdateCheckResult check_for_update(std::string_view own_version) {
    const std::optional<UpdateServer> server =
        update_server(update_host(), environment_variable(kUpdateServerVariable));
    WinsockSession session;
    if (!server || !session.started()) {
        return {};
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(server->host.c_str(), "http", &hints, &found) != 0) {
        return {};
    }
    UniqueAddressList addresses(found);

    const Deadline deadline(kUpdateCheckTimeoutMs);
    UniqueSocket connection;
    for (const addrinfo* a = addresses.get(); a && !connection; a = a->ai_next) {
        connection = connect_to(*a, server->port, deadline);
    }
    addresses.reset();
    if (!connection || !send_all(connection.get(), worklist_request(*server), deadline)) {
        return {};
    }
    ResponseText text(utf8_chunk_to_ansi);
    receive_into(connection.get(), text, deadline);
    return read_update_response(text.text(), own_version);
}

}  // namespace quilla
