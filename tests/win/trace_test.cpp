// The trace line: its text, and that it reaches whoever listens for debug output (here a
// vectored exception handler, which sees the exceptions OutputDebugStringW raises for a
// debugger) with the caller's last error left as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "base/trace_win.h"
#include "base/window_class_win.h"

namespace quilla {
namespace {

constexpr DWORD kPrintWide = 0x4001000A;    // DBG_PRINTEXCEPTION_WIDE_C
constexpr DWORD kPrintNarrow = 0x40010006;  // DBG_PRINTEXCEPTION_C

// The debug output seen since the listener began; the handler takes no context, so the
// text lives here for the one test that listens at a time.
std::wstring g_heard;

LONG CALLBACK listen(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
    if (record.NumberParameters < 2) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    const auto length = static_cast<std::size_t>(record.ExceptionInformation[0]);
    if (record.ExceptionCode == kPrintWide) {
        const auto* text = reinterpret_cast<const wchar_t*>(record.ExceptionInformation[1]);
        g_heard.append(text, length > 0 ? length - 1 : 0);
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    if (record.ExceptionCode == kPrintNarrow) {
        const auto* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
        for (std::size_t i = 0; i + 1 < length; ++i) {
            g_heard.push_back(static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
        }
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// Listens to debug output while it lives.
class Listener {
  public:
    Listener() : handle_(AddVectoredExceptionHandler(1, &listen)) { g_heard.clear(); }
    ~Listener() { RemoveVectoredExceptionHandler(handle_); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    const std::wstring& heard() const { return g_heard; }

  private:
    void* handle_;
};

TEST(Trace, FormatsWhereWhatAndTheErrorCode) {
    struct Case {
        const char* where;
        const char* what;
        bool has_error;
        DWORD error;
        const wchar_t* line;
    };
    const Case cases[] = {
        {"save", "MoveFileExW", true, 32, L"QuillaWS: save: MoveFileExW (error 32)\n"},
        {"save", "MoveFileExW", true, 0, L"QuillaWS: save: MoveFileExW (error 0)\n"},
        {"pass", "out of memory", false, 5, L"QuillaWS: pass: out of memory\n"},
        {"w", "x", true, 4294967295u, L"QuillaWS: w: x (error 4294967295)\n"},
        {"\x7f\x80", "caf\xe9", false, 0, L"QuillaWS: \x7f?: caf?\n"},
        {nullptr, nullptr, false, 0, L"QuillaWS: : \n"},
    };
    for (const Case& c : cases) {
        wchar_t buffer[kTraceLineCapacity];
        const std::size_t length =
            format_trace_line(buffer, kTraceLineCapacity, c.where, c.what, c.has_error, c.error);
        EXPECT_EQ(std::wstring(buffer), c.line);
        EXPECT_EQ(length, std::wstring(c.line).size());
    }
}

TEST(Trace, CutsALongLineToItsBufferAndAlwaysEndsIt) {
    wchar_t buffer[12];
    EXPECT_EQ(format_trace_line(buffer, 12, "where", "what", true, 5), 11u);
    EXPECT_EQ(std::wstring(buffer), L"QuillaWS: w");
    EXPECT_EQ(format_trace_line(buffer, 1, "where", "what", true, 5), 0u);
    EXPECT_EQ(buffer[0], L'\0');
    buffer[0] = L'z';
    EXPECT_EQ(format_trace_line(buffer, 0, "where", "what", true, 5), 0u);
    EXPECT_EQ(buffer[0], L'z');
}

TEST(Trace, AFailedCallReachesADebuggerWithTheLastErrorKept) {
    Listener listener;
    SetLastError(ERROR_ACCESS_DENIED);
    trace_failure("test", "DeleteFileW");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_NE(listener.heard().find(L"QuillaWS: test: DeleteFileW (error 5)\n"), std::wstring::npos)
        << std::string(listener.heard().begin(), listener.heard().end());
}

TEST(Trace, AnExceptionIsNamedByItsKind) {
    Listener listener;
    try {
        throw std::bad_alloc();
    } catch (...) {
        trace_exception("one");
    }
    try {
        throw std::runtime_error("broken");
    } catch (...) {
        trace_exception("two");
    }
    try {
        throw 7;
    } catch (...) {
        trace_exception("three");
    }
    trace_exception("four");
    EXPECT_EQ(listener.heard(),
              L"QuillaWS: one: out of memory\n"
              L"QuillaWS: two: broken\n"
              L"QuillaWS: three: unknown exception\n"
              L"QuillaWS: four: unknown exception\n");
}

constexpr char kThrowingClass[] = "QuillaTraceThrowingProbe";
constexpr UINT kThrowMessage = WM_APP + 1;

class Thrower {
  public:
    void attach(HWND hwnd) noexcept { hwnd_ = hwnd; }
    HWND window() const noexcept { return hwnd_; }
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == kThrowMessage) {
            throw std::bad_alloc();
        }
        if (message == WM_APP + 2) {
            return 42;
        }
        return DefWindowProcW(hwnd_, message, wparam, lparam);
    }

  private:
    HWND hwnd_ = nullptr;
};

TEST(Trace, AWindowProcedureStopsAnExceptionAndTracesIt) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(
        register_window_class(instance, kThrowingClass, &window_procedure<Thrower>, nullptr));
    Thrower thrower;
    HWND hwnd = CreateWindowExW(0, L"QuillaTraceThrowingProbe", L"", WS_POPUP, 0, 0, 10, 10,
                                nullptr, nullptr, instance, &thrower);
    ASSERT_NE(hwnd, nullptr);
    Listener listener;
    EXPECT_EQ(SendMessageW(hwnd, kThrowMessage, 0, 0), 0);
    EXPECT_EQ(SendMessageW(hwnd, WM_APP + 2, 0, 0), 42);  // the window goes on
    EXPECT_EQ(listener.heard(), L"QuillaWS: window_procedure: out of memory\n");
    DestroyWindow(hwnd);
}

}  // namespace
}  // namespace quilla
