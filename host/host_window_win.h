// The host application's windows as the overlay sees them: finding the main window and the
// inventory window, changing the main window's height, and asking the host to open its
// inventory window.
#pragma once

#include <windows.h>

#include <cstdint>

namespace quilla {

// Window class of the host main window, full version and trial version.
inline constexpr char kHostMainClass[] = "QUILLA_BRISKOLT_APPLICATION";
inline constexpr char kHostTrialMainClass[] = "QUILLA_TRIAL_BRISKOLT_APPLICATION";
// The host's inventory window: a top-level list box with this title.
inline constexpr char kInventoryClass[] = "ListBox";
inline constexpr char kInventoryTitle[] = "クイラ　持ち物ウィンドウ";

// The host main window (the full version first, then the trial version), or null when
// the host is not running.
HWND find_host_main_window() noexcept;

// The host's inventory window, or null when it is not open.
HWND find_inventory_window() noexcept;

// Gives the host window the outer size outer_width x height, keeping its position and
// Z-order. The host applies it asynchronously, on its own thread. False when the request
// could not be made.
bool resize_host_height(HWND host, int32_t outer_width, int32_t height) noexcept;

// Puts the host main window back to the base height of its outer width, when its width
// has one and its height differs from it. Does nothing without a host.
void restore_host_height() noexcept;

// Asks a running host whose inventory window is closed to open it: brings the host to the
// foreground with F3 held in the shared input state, waits up to 100 polls of 1 ms for
// the inventory window, then gives F3 back its previous state. Does nothing without a
// host or with the inventory window already open.
void request_inventory_window() noexcept;

}  // namespace quilla
