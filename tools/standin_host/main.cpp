// Entry point of the stand-in host: a development copy of the host application's window
// contract, for trying the overlay and for the end-to-end tests. Exits with 2 on a bad
// command line and 1 when the window cannot be created or the event to hold on cannot be
// opened.
#include <windows.h>

#include "base/code_page_win.h"
#include "base/handles_win.h"
#include "tools/standin_host/main_window.h"
#include "tools/standin_host/options.h"

#include <cstdlib>
#include <string_view>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::vector<std::string_view> args;
    for (int i = 1; i < __argc; ++i) {
        args.emplace_back(__argv[i]);
    }
    const auto options = quilla::standin::parse_options(args);
    if (!options) {
        OutputDebugStringA(quilla::standin::kUsage);
        return 2;
    }
    quilla::UniqueKernelHandle hold;
    if (!options->hold_event.empty()) {
        hold.reset(OpenEventW(SYNCHRONIZE, FALSE, quilla::widen(options->hold_event).c_str()));
        if (!hold) {
            return 1;
        }
    }
    quilla::standin::MainWindow window(*options, instance);
    if (!window.create()) {
        return 1;
    }
    if (hold) {
        // Nothing sent to the windows is answered until the event is set.
        WaitForSingleObject(hold.get(), INFINITE);
    }
    MSG msg{};
    BOOL got = 0;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return got == 0 ? static_cast<int>(msg.wParam) : 1;
}
