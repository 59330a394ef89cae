// Loading the settings at start-up (with the inventory window request, the overlay font
// and the item file) and saving them at exit.
#pragma once

#include <windows.h>

#include "base/file_win.h"
#include "base/geometry.h"

namespace quilla {

struct LoadedSettings {
    // The saved overlay position on the screen (kPositionAbsent for a coordinate the file
    // lacks).
    Point saved;
    // A settings file is there but could not be read (another program held it for longer
    // than the read waits, or a read failed): the program runs with the defaults and the
    // file is never written over.
    bool file_unreadable = false;
};

// Sets every default, reads "QuillaWS.txt" (waiting kReplaceRetryMs for a file another
// program holds), makes the inventory window request when the file asks for it, creates
// the overlay font and loads "items.txt".
LoadedSettings load_settings();

// Writes "QuillaWS.txt" from the live settings and where the overlay window's normal
// position lies on the screen. The new file replaces the old one in one step, so a failed
// write leaves the old file whole. A file another program holds is tried again for about
// retry_ms. Does nothing without a window. Returns whether the file was written; *why
// (when given) says why not.
bool save_settings(HWND overlay, SaveFailure* why = nullptr, DWORD retry_ms = kReplaceRetryMs,
                   Clock& clock = system_clock()) noexcept;

// Tells the user, in a message box of its own (the overlay window is gone by then), that
// the settings could not be saved, with the settings file's full path and the reason.
void show_settings_save_failure(SaveFailure why) noexcept;

// Tells the user, in the same kind of box, that the settings were not saved because the
// settings file could not be read at start, with its full path.
void show_settings_left_unread() noexcept;

}  // namespace quilla
