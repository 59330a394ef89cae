// Parsing the stand-in host's command line. Numbers must be whole decimal values; sizes
// must be positive and not larger than any screen.
#include "tools/standin_host/options.h"

#include "host/base_height.h"

#include <charconv>

namespace quilla::standin {
namespace {

constexpr int32_t kMaxExtent = 16384;

std::optional<int32_t> parse_int(std::string_view text) {
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<int32_t> parse_extent(std::string_view text) {
    const std::optional<int32_t> value = parse_int(text);
    if (!value || *value <= 0 || *value > kMaxExtent) {
        return std::nullopt;
    }
    return value;
}

// "AsepB" split at the first sep into two ints.
template <typename Parse>
bool parse_pair(std::string_view text, char sep, Parse parse, int32_t& a, int32_t& b) {
    const std::size_t at = text.find(sep);
    if (at == std::string_view::npos) {
        return false;
    }
    const std::optional<int32_t> first = parse(text.substr(0, at));
    const std::optional<int32_t> second = parse(text.substr(at + 1));
    if (!first || !second) {
        return false;
    }
    a = *first;
    b = *second;
    return true;
}

bool apply_width(std::string_view text, Options& options) {
    const std::optional<int32_t> width = parse_int(text);
    if (!width) {
        return false;
    }
    const std::optional<int32_t> height = base_height_for_width(*width);
    if (!height) {
        return false;
    }
    options.width = *width;
    options.height = *height;
    return true;
}

// Applies one option that takes a value; false when the name is unknown or the value bad.
bool apply_valued(std::string_view name, std::string_view value, Options& options) {
    if (name == "--width") {
        return apply_width(value, options);
    }
    if (name == "--size") {
        return parse_pair(value, 'x', parse_extent, options.width, options.height);
    }
    if (name == "--pos") {
        return parse_pair(value, ',', parse_int, options.x, options.y);
    }
    if (name == "--slow-inventory") {
        const std::optional<int32_t> ms = parse_int(value);
        if (!ms || *ms < 0) {
            return false;
        }
        options.inventory_reply_delay_ms = *ms;
        return true;
    }
    if (name == "--hold") {
        options.hold_event = std::string(value);
        return !value.empty();
    }
    if (name == "--inventory") {
        options.inventory_path = std::string(value);
        return !value.empty();
    }
    return false;
}

}  // namespace

std::optional<Options> parse_options(const std::vector<std::string_view>& args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--trial") {
            options.trial = true;
        } else if (arg == "--closed") {
            options.closed = true;
        } else if (arg == "--held-inventory") {
            options.inventory_held = true;
        } else if (i + 1 < args.size() && apply_valued(arg, args[i + 1], options)) {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace quilla::standin
