// Loading the settings at start-up (with the inventory window request, the overlay font
// and the item file) and saving them at exit.
#pragma once

#include <windows.h>

#include "base/file_win.h"
#include "base/geometry.h"

namespace quilla {

// Sets every default, reads "QuillaWS.txt", makes the inventory window request when the
// file asks for it, creates the overlay font and loads "items.txt". Returns the saved
// overlay position on the screen (kPositionAbsent for a coordinate the file lacks).
Point load_settings();

// Writes "QuillaWS.txt" from the live settings and where the overlay window's normal
// position lies on the screen. The new file replaces the old one in one step, so a failed
// write leaves the old file whole. A file another program holds is tried again for about
// retry_ms. Does nothing without a window. Returns whether the file was written; *why
// (when given) says why not.
bool save_settings(HWND overlay, SaveFailure* why = nullptr,
                   DWORD retry_ms = kReplaceRetryMs) noexcept;

// Tells the user, in a message box of its own (the overlay window is gone by then), that
// the settings could not be saved, with the settings file's full path and the reason.
void show_settings_save_failure(SaveFailure why) noexcept;

}  // namespace quilla
