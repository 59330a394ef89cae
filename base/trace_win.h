// One line to a debugger for each failure the program goes on past: a caught exception or a
// Win32 call whose failure it skips. Seen in a debugger or a debug-output viewer; nothing
// goes to disk and nothing else changes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <source_location>

namespace quilla {

// The most characters of a trace line, its terminating null included; a longer line is cut.
inline constexpr std::size_t kTraceLineCapacity = 256;

// Writes "QuillaWS: FILE:LINE: what (error N)" and a line end into buffer, FILE being the
// source file's name without its folders; cut to capacity - 1 characters and always
// null-terminated (nothing for a capacity of 0); without has_error the " (error N)" part is
// left out. Bytes beyond ASCII become '?'. Returns the number of characters written, the
// null not counted.
std::size_t format_trace_line(wchar_t* buffer, std::size_t capacity, const char* file,
                              uint32_t line, const char* what, bool has_error,
                              DWORD error) noexcept;

// Checks a Win32 call's result: false (the call failed) reports call, the call's name, with
// the thread's last error at where, the caller's place in the source. Returns ok, so that
// a caller that goes on past the failure cannot forget its trace:
//     if (!check(SetTimer(window, id, ms, nullptr) != 0, "SetTimer")) { ... }
bool check(bool ok, const char* call,
           std::source_location where = std::source_location::current()) noexcept;

// Reports a failed Win32 call (call) with its error code at where. Both reports leave the
// thread's last error as they found it.
void trace_failure(const char* call, DWORD error = GetLastError(),
                   std::source_location where = std::source_location::current()) noexcept;

// Reports the exception being handled, called inside a catch block: "out of memory" for
// std::bad_alloc, the text of another std::exception, else (or outside a catch block)
// "unknown exception".
void trace_exception(std::source_location where = std::source_location::current()) noexcept;

}  // namespace quilla
