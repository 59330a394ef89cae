// Collects the chunks, finds this program's worklist line and compares versions.
#include "update/update_response.h"

#include "base/text.h"

namespace quilla {

bool ResponseText::add_chunk(std::string_view received) {
    const std::string_view bytes = received.substr(0, received.find('\0'));
    if (std::optional<std::string> converted = conversion_.to_ansi(bytes)) {
        text_ += *converted;
    }
    if (text_.size() >= kResponseTextLimit) {
        return false;
    }
    const std::size_t marker = text_.find(kWorklistMarker);
    return marker == std::string::npos ||
           text_.find("\r\n", marker + kWorklistMarker.size()) == std::string::npos;
}

std::optional<std::string_view> worklist_version(std::string_view response) {
    const std::size_t marker = response.find(kWorklistMarker);
    if (marker == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view line = response.substr(marker);
    line = line.substr(0, line.find("\r\n"));
    for (int comma = 0; comma < 4; ++comma) {
        const std::size_t at = line.find(',');
        if (at == std::string_view::npos) {
            return std::nullopt;
        }
        line.remove_prefix(at + 1);
    }
    return line.substr(0, line.find(','));
}

int64_t version_weight(std::string_view version) {
    int64_t weight = 0;
    for (int64_t scale : {100, 10, 1}) {
        const std::size_t dot = scale == 1 ? std::string_view::npos : version.find('.');
        weight += scale * parse_decimal_int(version.substr(0, dot));
        version = dot == std::string_view::npos ? std::string_view{} : version.substr(dot + 1);
    }
    return weight;
}

UpdateCheckResult read_update_response(std::string_view response, std::string_view own_version) {
    const std::optional<std::string_view> version = worklist_version(response);
    if (!version) {
        return {};
    }
    if (version_weight(*version) > version_weight(own_version) &&
        version->size() <= kMaxVersionText) {
        return {1, std::string(*version)};
    }
    return {0, {}};
}

}  // namespace quilla
