// Reads QUILLA_UPDATE_SERVER's value, builds the request and the address, shares connect time.
#include "update/update_server.h"

namespace quilla {

std::optional<UpdateServer> update_server(std::string_view built_in_host,
                                          std::string_view override_value) {
    if (override_value.empty()) {
        return UpdateServer{std::string(built_in_host), kUpdatePort, std::string(built_in_host)};
    }
    const std::size_t colon = override_value.find(':');
    const std::string_view host = override_value.substr(0, colon);
    if (host.empty()) {
        return std::nullopt;
    }
    uint32_t port = kUpdatePort;
    if (colon != std::string_view::npos) {
        const std::string_view digits = override_value.substr(colon + 1);
        if (digits.empty() || digits.size() > 5) {
            return std::nullopt;
        }
        port = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            port = port * 10 + static_cast<uint32_t>(c - '0');
        }
        if (port == 0 || port > 65535) {
            return std::nullopt;
        }
    }
    return UpdateServer{std::string(host), static_cast<uint16_t>(port),
                        std::string(override_value)};
}

std::string worklist_request(const UpdateServer& server) {
    return "GET /worklist.txt HTTP/1.1\r\nHost:" + server.host_header + "\r\n\r\n";
}

uint64_t connect_deadline(uint64_t now_ms, uint64_t end_ms, uint64_t remaining) {
    if (now_ms >= end_ms) {
        return now_ms;
    }
    return now_ms + (end_ms - now_ms) / (remaining == 0 ? 1 : remaining);
}

std::string download_address(std::string_view host) {
    return "https://" + std::string(host) + "/works/QuillaWS.zip";
}

}  // namespace quilla
