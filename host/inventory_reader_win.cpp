// Sends LB_GETCOUNT, LB_GETTEXTLEN and LB_GETTEXT line by line within the read's limits.
#include "host/inventory_reader_win.h"

#include "base/code_page_win.h"
#include "base/text.h"
#include "host/host_window_win.h"

#include <algorithm>

namespace quilla {
namespace {

// A host that does not answer one message within this time is given up on for the pass.
constexpr UINT kReplyTimeoutMs = 1000;
// The host promises lines of at most kLineBytes; a buffer of at least that many characters
// is never overrun by a line that keeps that promise, even one that changes between the
// length query and the fetch.
// Lines longer than this are skipped rather than fetched.
constexpr LRESULT kMaxLineChars = 1 << 16;
constexpr std::size_t kInitialReserve = 256;

// What became of one message to the inventory window.
enum class Reply { kAnswered, kSilent, kRefused };

struct Answer {
    Reply reply;
    LRESULT result;
};

// Sends a message to the inventory window. kSilent when the window is gone, the host is
// hung or the reply takes too long; kRefused when the system keeps the message from a
// host with higher rights.
Answer ask(InventoryCalls& calls, HWND inventory, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    SetLastError(ERROR_SUCCESS);
    if (!calls.send_timeout(inventory, message, wparam, lparam, SMTO_ABORTIFHUNG, kReplyTimeoutMs,
                            &result)) {
        return {GetLastError() == ERROR_ACCESS_DENIED ? Reply::kRefused : Reply::kSilent, 0};
    }
    return {Reply::kAnswered, static_cast<LRESULT>(result)};
}

enum class Fetch { kLine, kSkip, kStop, kRefused };

Fetch stopped(Reply reply) {
    return reply == Reply::kRefused ? Fetch::kRefused : Fetch::kStop;
}

// Fetches line index into line. kSkip for a line that is unreasonably long; kStop when the
// host stops answering or the list changes under the read (LB_ERR for an index below the
// count, which the list no longer holds, or a line that grew between its length and its
// text); kRefused when the system keeps our messages from it.
Fetch fetch_line(InventoryCalls& calls, HWND inventory, WPARAM index, std::string& line) {
    const Answer length = ask(calls, inventory, LB_GETTEXTLEN, index, 0);
    if (length.reply != Reply::kAnswered) {
        return stopped(length.reply);
    }
    if (length.result < 0) {
        return Fetch::kStop;
    }
    if (length.result > kMaxLineChars) {
        return Fetch::kSkip;
    }
    const std::size_t capacity = std::max(static_cast<std::size_t>(length.result), kLineBytes) + 1;
    std::wstring buffer(capacity, L'\0');
    const Answer copied =
        ask(calls, inventory, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    if (copied.reply != Reply::kAnswered) {
        return stopped(copied.reply);
    }
    if (copied.result < 0 || static_cast<std::size_t>(copied.result) >= capacity) {
        return Fetch::kStop;
    }
    line = narrow({buffer.data(), static_cast<std::size_t>(copied.result)});
    return Fetch::kLine;
}

// How a read that asked for every line ends: kWhole when the list still holds as many
// lines as at its start, kCut when it holds another number (lines came or went during the
// read, so those read may be a mix of two lists) or the host no longer answers.
InventoryReadEnd count_at_end(InventoryCalls& calls, HWND inventory, LRESULT count_at_start) {
    const Answer count = ask(calls, inventory, LB_GETCOUNT, 0, 0);
    if (count.reply == Reply::kRefused) {
        return InventoryReadEnd::kRefused;
    }
    return count.reply == Reply::kAnswered && count.result == count_at_start
               ? InventoryReadEnd::kWhole
               : InventoryReadEnd::kCut;
}

}  // namespace

InventoryRead read_inventory(const InventoryReadLimits& limits, InventoryCalls& calls,
                             Clock& clock) {
    InventoryRead read;
    HWND inventory = find_inventory_window();
    if (!inventory) {
        return read;
    }
    const uint64_t deadline = clock.now_ms() + limits.time_budget_ms;
    const Answer count = ask(calls, inventory, LB_GETCOUNT, 0, 0);
    if (count.reply != Reply::kAnswered) {
        read.end =
            count.reply == Reply::kRefused ? InventoryReadEnd::kRefused : InventoryReadEnd::kCut;
        return read;
    }
    if (count.result <= 0) {
        return read;
    }
    const auto wanted =
        std::min<std::size_t>(static_cast<std::size_t>(count.result), limits.max_lines);
    read.lines.reserve(std::min(wanted, kInitialReserve));
    std::string line;
    for (std::size_t index = 0; index < wanted; ++index) {
        if (clock.now_ms() >= deadline) {
            read.end = InventoryReadEnd::kCut;
            break;
        }
        const Fetch fetched = fetch_line(calls, inventory, static_cast<WPARAM>(index), line);
        if (fetched == Fetch::kStop || fetched == Fetch::kRefused) {
            read.end =
                fetched == Fetch::kRefused ? InventoryReadEnd::kRefused : InventoryReadEnd::kCut;
            break;
        }
        if (fetched == Fetch::kLine) {
            read.lines.push_back(std::move(line));
        }
    }
    if (read.end == InventoryReadEnd::kWhole) {
        read.end = count_at_end(calls, inventory, count.result);
    }
    return read;
}

}  // namespace quilla
