// The Winsock steps of a check (look-up, connect, send, receive) under one deadline.
#include "update/update_check_win.h"

#include "update/winsock_win.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "base/code_page_win.h"
#include "base/message_wait_win.h"
#include "base/trace_win.h"
#include "update/update_host.h"
#include "update/update_server.h"

namespace quilla {
namespace {

constexpr long kSocketEvents = FD_CONNECT | FD_WRITE | FD_READ | FD_CLOSE;

// A socket and the event its network events are recorded in. The socket is closed first.
struct Connection {
    UniqueWsaEvent event;
    UniqueSocket socket;
};

// Waits until one of the wanted network events has been recorded for the connection, at
// most until the clock reaches end, serving sent messages meanwhile. The events recorded,
// or nothing when the time ran out or the wait failed.
std::optional<WSANETWORKEVENTS> wait_for(const Connection& c, long wanted, Clock& clock,
                                         uint64_t end) {
    while (wait_serving_sent_messages(c.event.get(), clock, end)) {
        WSANETWORKEVENTS recorded{};
        if (WSAEnumNetworkEvents(c.socket.get(), c.event.get(), &recorded) != 0) {
            return std::nullopt;
        }
        if ((recorded.lNetworkEvents & wanted) != 0) {
            return recorded;
        }
    }
    return std::nullopt;
}

// What a lookup's thread shares with the check. A name server that does not answer can
// hold getaddrinfo for far longer than the check's bound, so a check that gives up leaves
// the thread to end by itself: neither waits for the other, and whichever lets go last
// frees the state, the sockets library's use count included.
struct PendingLookup {
    explicit PendingLookup(std::string name) : host(std::move(name)) {}
    const std::string host;
    const WinsockSession session;  // the library stays started until the lookup has ended
    const UniqueKernelHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueAddressList found;  // set before done; freed before the session ends
};

// Looks the host up (IPv4, stream sockets) on a thread of its own while this thread serves
// sent messages, until the clock reaches end. Null when the name does not resolve in time.
UniqueAddressList look_up(const std::string& host, NameLookupCalls& calls, Clock& clock,
                          uint64_t end) {
    const auto lookup = std::make_shared<PendingLookup>(host);
    if (!lookup->session.started() || !lookup->done) {
        return {};
    }
    try {
        std::thread([lookup, &calls] {
            addrinfo hints{};
            hints.ai_family = AF_INET;
            hints.ai_socktype = SOCK_STREAM;
            addrinfo* found = nullptr;
            const int error = calls.get_address_info(lookup->host.c_str(), "http", &hints, &found);
            if (error == 0) {
                lookup->found.reset(found);
            } else {
                trace_failure("getaddrinfo", static_cast<DWORD>(error));
            }
            check(SetEvent(lookup->done.get()), "SetEvent");
        }).detach();
    } catch (...) {
        trace_exception();  // no thread: no lookup, rather than one without a bound
        return {};
    }
    if (!wait_serving_sent_messages(lookup->done.get(), clock, end)) {
        trace_failure("getaddrinfo", WAIT_TIMEOUT);  // still running, or the wait failed
        return {};
    }
    return std::move(lookup->found);
}

bool would_block() noexcept {
    return WSAGetLastError() == WSAEWOULDBLOCK;
}

// A connection to the address, or none when it fails or has not been made when the clock
// reaches end.
Connection connect_to(const addrinfo& address, uint16_t port, Clock& clock, uint64_t end) {
    sockaddr_in target{};
    if (address.ai_family != AF_INET || address.ai_addrlen < sizeof target) {
        return {};
    }
    std::memcpy(&target, address.ai_addr, sizeof target);
    target.sin_port = htons(port);
    Connection c;
    c.event.reset(WSACreateEvent());
    c.socket.reset(socket(address.ai_family, address.ai_socktype, address.ai_protocol));
    // The event selection also makes the socket non-blocking.
    if (!c.event || !c.socket ||
        WSAEventSelect(c.socket.get(), c.event.get(), kSocketEvents) != 0) {
        return {};
    }
    if (connect(c.socket.get(), reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
        return c;
    }
    if (!would_block()) {
        return {};
    }
    const std::optional<WSANETWORKEVENTS> done = wait_for(c, FD_CONNECT, clock, end);
    if (!done || (done->lNetworkEvents & FD_CONNECT) == 0 ||
        done->iErrorCode[FD_CONNECT_BIT] != 0) {
        return {};
    }
    return c;
}

// Tries each address in turn, each within its share of the time left until end.
Connection connect_to_any(const addrinfo* addresses, uint16_t port, Clock& clock, uint64_t end) {
    uint64_t remaining = 0;
    for (const addrinfo* a = addresses; a; a = a->ai_next) {
        ++remaining;
    }
    for (const addrinfo* a = addresses; a; a = a->ai_next, --remaining) {
        Connection c =
            connect_to(*a, port, clock, connect_deadline(clock.now_ms(), end, remaining));
        if (c.socket) {
            return c;
        }
    }
    return {};
}

bool send_all(const Connection& c, std::string_view bytes, Clock& clock, uint64_t end) {
    while (!bytes.empty()) {
        const int sent = send(c.socket.get(), bytes.data(), static_cast<int>(bytes.size()), 0);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent == 0 || !would_block() || !wait_for(c, FD_WRITE | FD_CLOSE, clock, end)) {
            return false;
        }
    }
    return true;
}

// Reads until the server closes, a receive fails, the time runs out or the text is
// complete; the text holds what came until then.
void receive_into(const Connection& c, ResponseText& text, Clock& clock, uint64_t end) {
    char buffer[1024];
    for (;;) {
        const int got = recv(c.socket.get(), buffer, static_cast<int>(sizeof buffer), 0);
        if (got > 0) {
            if (!text.add_chunk({buffer, static_cast<std::size_t>(got)})) {
                return;
            }
        } else if (got == 0 || !would_block() || !wait_for(c, FD_READ | FD_CLOSE, clock, end)) {
            return;
        }
    }
}

std::string environment_variable(const char* name) {
    const std::wstring wide_name = widen(name);
    std::wstring value;
    DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
    while (size > value.size()) {  // grows when the variable changed in between
        value.resize(size);
        size = GetEnvironmentVariableW(wide_name.c_str(), value.data(),
                                       static_cast<DWORD>(value.size()));
    }
    value.resize(size);
    return narrow(value);
}

}  // namespace

std::optional<std::string> utf8_chunk_to_shift_jis(std::string_view chunk) {
    std::string sjis = utf8_to_code_page(chunk);
    if (sjis.empty()) {
        return std::nullopt;  // nothing came of the chunk
    }
    return sjis;
}

namespace {

class ShiftJisChunks final : public ChunkConversion {
  public:
    std::optional<std::string> to_ansi(std::string_view chunk) override {
        return utf8_chunk_to_shift_jis(chunk);
    }
};

}  // namespace

UpdateCheckResult check_for_update(std::string_view own_version, Clock& clock,
                                   NameLookupCalls& lookup) {
    const std::optional<UpdateServer> server =
        update_server(update_host(), environment_variable(kUpdateServerVariable));
    WinsockSession session;
    if (!server || !session.started()) {
        return {};
    }
    const uint64_t end = clock.now_ms() + kUpdateCheckTimeoutMs;
    UniqueAddressList addresses = look_up(server->host, lookup, clock, end);
    if (!addresses) {
        return {};
    }
    const Connection connection = connect_to_any(addresses.get(), server->port, clock, end);
    addresses.reset();
    if (!connection.socket || !send_all(connection, worklist_request(*server), clock, end)) {
        return {};
    }
    ShiftJisChunks conversion;
    ResponseText text(conversion);
    receive_into(connection, text, clock, end);
    return read_update_response(text.text(), own_version);
}

}  // namespace quilla
