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

TEST(Trace, FormatsTheSourceFileAndLineWhatAndTheErrorCode) {
    struct Case {
        const char* file;
        uint32_t line;
        const char* what;
        bool has_error;
        DWORD error;
        const wchar_t* text;
    };
    const Case cases[] = {
        {"/work/ui/item_editor_win.cpp", 12, "SetTimer", true, 0,
         L"QuillaWS: item_editor_win.cpp:12: SetTimer (error 0)\n"},
        {"C:\\src\\base\\file_win.cpp", 300, "MoveFileExW", true, 32,
         L"QuillaWS: file_win.cpp:300: MoveFileExW (error 32)\n"},
        {"pass.cpp", 0, "out of memory", false, 5, L"QuillaWS: pass.cpp:0: out of memory\n"},
        {"w.h", 4294967295u, "x", true, 4294967295u,
         L"QuillaWS: w.h:4294967295: x (error 4294967295)\n"},
        {"\x7f\x80.cpp", 1, "caf\xe9", false, 0, L"QuillaWS: \x7f?.cpp:1: caf?\n"},
        {nullptr, 1, nullptr, false, 0, L"QuillaWS: :1: \n"},
    };
    for (const Case& c : cases) {
        wchar_t buffer[kTraceLineCapacity];
        const std::size_t length = format_trace_line(buffer, kTraceLineCapacity, c.file, c.line,
                                                     c.what, c.has_error, c.error);
        EXPECT_EQ(std::wstring(buffer), c.text);
        EXPECT_EQ(length, std::wstring(c.text).size());
    }
}

TEST(Trace, CutsALongLineToItsBufferAndAlwaysEndsIt) {
    wchar_t buffer[12];
    EXPECT_EQ(format_trace_line(buffer, 12, "where.cpp", 1, "what", true, 5), 11u);
    EXPECT_EQ(std::wstring(buffer), L"QuillaWS: w");
    EXPECT_EQ(format_trace_line(buffer, 1, "where.cpp", 1, "what", true, 5), 0u);
    EXPECT_EQ(buffer[0], L'\0');
    buffer[0] = L'z';
    EXPECT_EQ(format_trace_line(buffer, 0, "where.cpp", 1, "what", true, 5), 0u);
    EXPECT_EQ(buffer[0], L'z');
}

// A failed call is traced where it was checked, with the last error, which stays as it
// was; a call that succeeded leaves no line.
TEST(Trace, AFailedCallReachesADebuggerFromWhereItWasCheckedWithTheLastErrorKept) {
    Listener listener;
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_TRUE(check(true, "CloseHandle"));
    const int line = __LINE__ + 1;
    EXPECT_FALSE(check(false, "DeleteFileW"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    trace_failure("MoveFileExW", ERROR_SHARING_VIOLATION);
    EXPECT_EQ(listener.heard(), L"QuillaWS: trace_test.cpp:" + std::to_wstring(line) +
                                    L": DeleteFileW (error 5)\n"
                                    L"QuillaWS: trace_test.cpp:" +
                                    std::to_wstring(line + 2) + L": MoveFileExW (error 32)\n");
}

TEST(Trace, AnExceptionIsNamedByItsKind) {
    Listener listener;
    const int line = __LINE__ + 4;
    try {
        throw std::bad_alloc();
    } catch (...) {
        trace_exception();
    }
    try {
        throw std::runtime_error("broken");
    } catch (...) {
        trace_exception();
    }
    try {
        throw 7;
    } catch (...) {
        trace_exception();
    }
    trace_exception();
    const auto at = [&](int offset) {
        return L"QuillaWS: trace_test.cpp:" + std::to_wstring(line + offset) + L": ";
    };
    EXPECT_EQ(listener.heard(), at(0) + L"out of memory\n" + at(5) + L"broken\n" + at(10) +
                                    L"unknown exception\n" + at(12) + L"unknown exception\n");
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
    const std::wstring heard = listener.heard();
    EXPECT_EQ(heard.rfind(L"QuillaWS: window_class_win.h:", 0), 0u);
    EXPECT_TRUE(heard.ends_with(L": out of memory\n"));
    DestroyWindow(hwnd);
}

}  // namespace
}  // namespace quilla
