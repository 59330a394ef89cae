// One line to a debugger for each failure the program goes on past: a caught exception or a
// Win32 call whose failure it skips. Seen in a debugger or a debug-output viewer; nothing
// goes to disk and nothing else changes.
#pragma once

#include <windows.h>

#include <cstddef>

namespace quilla {

// The most characters of a trace line, its terminating null included; a longer line is cut.
inline constexpr std::size_t kTraceLineCapacity = 256;

// Writes "QuillaWS: where: what (error N)" and a line end into buffer, cut to capacity - 1
// characters and always null-terminated (nothing for a capacity of 0); without has_error the "
// (error N)" part is left out. Bytes beyond ASCII in where or what become '?'. Returns the number
// of characters written, the null not counted.
std::size_t format_trace_line(wchar_t* buffer, std::size_t capacity, const char* where,
                              const char* what, bool has_error, DWORD error) noexcept;

// Reports a failed Win32 call (what) at where, with its error code. Both reports leave the
// thread's last error as they found it.
void trace_failure(const char* where, const char* what, DWORD error = GetLastError()) noexcept;

// Reports the exception being handled, called inside a catch block: "out of memory" for
// std::bad_alloc, the text of another std::exception, else (or outside a catch block)
// "unknown exception".
void trace_exception(const char* where) noexcept;

}  // namespace quilla
