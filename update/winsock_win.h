// Owning wrappers for Winsock: the library itself, sockets, their event objects and
// resolved address lists.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include "base/handles_win.h"

namespace quilla {

struct SocketTraits {
    using type = SOCKET;
    static type invalid() noexcept { return INVALID_SOCKET; }
    static void close(type s) noexcept { closesocket(s); }
};
struct AddressListTraits {
    using type = addrinfo*;
    static type invalid() noexcept { return nullptr; }
    static void close(type list) noexcept { freeaddrinfo(list); }
};
struct WsaEventTraits {
    using type = WSAEVENT;
    static type invalid() noexcept { return WSA_INVALID_EVENT; }
    static void close(type event) noexcept { WSACloseEvent(event); }
};
using UniqueSocket = UniqueHandle<SocketTraits>;
using UniqueWsaEvent = UniqueHandle<WsaEventTraits>;
using UniqueAddressList = UniqueHandle<AddressListTraits>;

// The sockets library (version 2.0), started for the lifetime of the object.
class WinsockSession {
  public:
    WinsockSession() noexcept {
        WSADATA data;
        started_ = WSAStartup(MAKEWORD(2, 0), &data) == 0;
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    ~WinsockSession() {
        if (started_) {
            WSACleanup();
        }
    }
    bool started() const noexcept { return started_; }

  private:
    bool started_ = false;
};

}  // namespace quilla
