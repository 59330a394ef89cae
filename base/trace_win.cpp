// Trace lines built on the stack, without allocating, and handed to OutputDebugStringW.
#include "base/trace_win.h"

#include <exception>
#include <new>

namespace quilla {
namespace {

class LineWriter {
  public:
    LineWriter(wchar_t* buffer, std::size_t capacity) noexcept
        : buffer_(buffer), capacity_(capacity) {}

    void text(const char* text) noexcept {
        for (; text && *text; ++text) {
            const auto byte = static_cast<unsigned char>(*text);
            put(byte < 0x80 ? static_cast<wchar_t>(byte) : L'?');
        }
    }

    void number(DWORD value) noexcept {
        char digits[11];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (count > 0) {
            put(static_cast<wchar_t>(digits[--count]));
        }
    }

    std::size_t finish() noexcept {
        if (capacity_ > 0) {
            buffer_[length_] = L'\0';
        }
        return length_;
    }

  private:
    void put(wchar_t c) noexcept {
        if (length_ + 1 < capacity_) {
            buffer_[length_++] = c;
        }
    }

    wchar_t* buffer_;
    std::size_t capacity_;
    std::size_t length_ = 0;
};

// The caller's last error stays as it was, for a caller that reads it after the trace.
void emit(const char* where, const char* what, bool has_error, DWORD error) noexcept {
    const DWORD last_error = GetLastError();
    wchar_t line[kTraceLineCapacity];
    format_trace_line(line, kTraceLineCapacity, where, what, has_error, error);
    OutputDebugStringW(line);
    SetLastError(last_error);
}

}  // namespace

std::size_t format_trace_line(wchar_t* buffer, std::size_t capacity, const char* where,
                              const char* what, bool has_error, DWORD error) noexcept {
    LineWriter writer(buffer, capacity);
    writer.text("QuillaWS: ");
    writer.text(where);
    writer.text(": ");
    writer.text(what);
    if (has_error) {
        writer.text(" (error ");
        writer.number(error);
        writer.text(")");
    }
    writer.text("\n");
    return writer.finish();
}

void trace_failure(const char* where, const char* what, DWORD error) noexcept {
    emit(where, what, true, error);
}

void trace_exception(const char* where) noexcept {
    const char* what = "unknown exception";
    try {
        if (std::exception_ptr caught = std::current_exception()) {
            std::rethrow_exception(caught);
        }
    } catch (const std::bad_alloc&) {
        what = "out of memory";
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
    }
    emit(where, what, false, 0);
}

}  // namespace quilla
