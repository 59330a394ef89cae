// Reads the host's inventory list box from another process. Each line is fetched in the
// wide form into a buffer sized from the line's own length and converted to the ANSI code
// page: Wine hands the ANSI form of a cross-process LB_GETTEXT back as UTF-16, and no
// fixed-size buffer is left for a long line to overrun.
#include "host/inventory_reader_win.h"

#include "host/host_window_win.h"

#include <algorithm>
#include <optional>

namespace quilla {
namespace {

// A host that does not answer one message within this time is given up on for the pass.
constexpr UINT kReplyTimeoutMs = 1000;
// The host promises lines of at most 255 bytes; a buffer of at least this many characters
// is never overrun by a line that keeps that promise, even one that changes between the
// length query and the fetch.
constexpr std::size_t kMinLineChars = 255;
// Lines longer than this are skipped rather than fetched.
constexpr LRESULT kMaxLineChars = 1 << 16;
constexpr std::size_t kInitialReserve = 256;

// Sends a message to the inventory window and returns its result; nothing when the window
// is gone, the host is hung or the reply takes too long.
std::optional<LRESULT> ask(HWND inventory, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(inventory, message, wparam, lparam, SMTO_ABORTIFHUNG, kReplyTimeoutMs,
                             &result)) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

std::string to_ansi(const wchar_t* text, int length) {
    if (length <= 0) {
        return {};
    }
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return {};
    }
    std::string ansi(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, ansi.data(), bytes, nullptr, nullptr);
    return ansi;
}

enum class Fetch { kLine, kSkip, kStop };

// Fetches line index into line. kSkip for a line the host refuses (LB_ERR) or that is
// unreasonably long, kStop when the host stops answering.
Fetch fetch_line(HWND inventory, WPARAM index, std::string& line) {
    const std::optional<LRESULT> length = ask(inventory, LB_GETTEXTLEN, index, 0);
    if (!length) {
        return Fetch::kStop;
    }
    if (*length < 0 || *length > kMaxLineChars) {
        return Fetch::kSkip;
    }
    const std::size_t capacity = std::max(static_cast<std::size_t>(*length), kMinLineChars) + 1;
    std::wstring buffer(capacity, L'\0');
    const std::optional<LRESULT> copied =
        ask(inventory, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    if (!copied) {
        return Fetch::kStop;
    }
    if (*copied < 0 || static_cast<std::size_t>(*copied) >= capacity) {
        return Fetch::kSkip;
    }
    line = to_ansi(buffer.data(), static_cast<int>(*copied));
    return Fetch::kLine;
}

}  // namespace

std::vector<std::string> read_inventory_lines(const InventoryReadLimits& limits) {
    std::vector<std::string> lines;
    HWND inventory = find_inventory_window();
    if (!inventory) {
        return lines;
    }
    const ULONGLONG deadline = GetTickCount64() + limits.time_budget_ms;
    const std::optional<LRESULT> count = ask(inventory, LB_GETCOUNT, 0, 0);
    if (!count || *count <= 0) {
        return lines;
    }
    const auto wanted = std::min<std::size_t>(static_cast<std::size_t>(*count), limits.max_lines);
    lines.reserve(std::min(wanted, kInitialReserve));
    std::string line;
    for (std::size_t index = 0; index < wanted && GetTickCount64() < deadline; ++index) {
        const Fetch fetched = fetch_line(inventory, static_cast<WPARAM>(index), line);
        if (fetched == Fetch::kStop) {
            break;
        }
        if (fetched == Fetch::kLine) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

}  // namespace quilla
