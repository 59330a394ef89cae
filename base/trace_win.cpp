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

// A source file's name without its folders.
const char* file_name_of(const char* path) noexcept {
    const char* name = path ? path : "";
    for (const char* c = name; *c; ++c) {
        if (*c == '/' || *c == '\\') {
            name = c + 1;
        }
    }
    return name;
}

// The caller's last error stays as it was, for a caller that reads it after the trace.
void emit(std::source_location where, const char* what, bool has_error, DWORD error) noexcept {
    const DWORD last_error = GetLastError();
    wchar_t line[kTraceLineCapacity];
    format_trace_line(line, kTraceLineCapacity, where.file_name(), where.line(), what, has_error,
                      error);
    OutputDebugStringW(line);
    SetLastError(last_error);
}

}  // namespace

std::size_t format_trace_line(wchar_t* buffer, std::size_t capacity, const char* file,
                              uint32_t line, const char* what, bool has_error,
                              DWORD error) noexcept {
    LineWriter writer(buffer, capacity);
    writer.text("QuillaWS: ");
    writer.text(file_name_of(file));
    writer.text(":");
    writer.number(line);
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

bool check(bool ok, const char* call, std::source_location where) noexcept {
    if (!ok) {
        emit(where, call, true, GetLastError());
    }
    return ok;
}

void trace_failure(const char* call, DWORD error, std::source_location where) noexcept {
    emit(where, call, true, error);
}

void trace_exception(std::source_location where) noexcept {
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
