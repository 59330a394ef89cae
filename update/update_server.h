// Where the update check connects: the built-in update server on its HTTP port, or the server
// that the environment variable QUILLA_UPDATE_SERVER names (tests, a local worklist).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quilla {

inline constexpr char kUpdateServerVariable[] = "QUILLA_UPDATE_SERVER";
// The update server's port, unless QUILLA_UPDATE_SERVER names another.
inline constexpr uint16_t kUpdatePort = 80;

struct UpdateServer {
    std::string host;             // looked up and connected to
    uint16_t port = kUpdatePort;  // in host byte order
    std::string host_header;      // the value of the request's Host header
};

// The built-in host's server when override_value is empty; otherwise the server it names,
// "host" or "host:port" (port 1 to 65535), with the Host header carrying the value as
// given. Nothing when the value is malformed.
std::optional<UpdateServer> update_server(std::string_view built_in_host,
                                          std::string_view override_value);

// The request sent to the server, byte for byte.
std::string worklist_request(const UpdateServer& server);

// When the connection attempt to one of `remaining` addresses still to try must give up,
// starting at now_ms with the whole check ending at end_ms: each gets an equal share of
// what is left, so one address that never answers leaves time for the others. The last
// one gets all that is left; with no time left, now_ms.
uint64_t connect_deadline(uint64_t now_ms, uint64_t end_ms, uint64_t remaining);

// The address of the download, opened in the browser when the user accepts it.
std::string download_address(std::string_view host);

}  // namespace quilla
