// The stand-in host's main window: a plain resizable window of the host's main window
// class that opens the inventory window when it comes to the foreground with F3 held.
#pragma once

#include <windows.h>

#include "base/handles_win.h"
#include "tools/standin_host/inventory_window.h"
#include "tools/standin_host/options.h"

namespace quilla::standin {

class MainWindow {
  public:
    MainWindow(const Options& options, HINSTANCE instance);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Registers the class, creates and shows the window and, unless asked to start closed,
    // opens the inventory window. False when the window could not be created.
    bool create() noexcept;

  private:
    static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    LRESULT handle(UINT msg, WPARAM wparam, LPARAM lparam) noexcept;
    void on_timer(WPARAM id) noexcept;
    void open_inventory_if_f3_held() noexcept;
    void open_inventory() noexcept;
    void paint() noexcept;

    Options options_;
    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    UniqueFont title_font_;
    UniqueFont text_font_;
    InventoryWindow inventory_;
};

}  // namespace quilla::standin
