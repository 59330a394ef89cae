// The configuration dialog: a borderless, modeless 420 x 320 popup, owned by the overlay,
// that edits the overlay font, the three colours, the texts shown when nothing is
// equipped, the refresh interval, the inventory-window request at start-up, the hot-key
// switch and the hot key itself. There is never more than one.
#pragma once

#include <windows.h>

#include "config/live_settings.h"
#include "input/input_poller_win.h"
#include "ui/config_dialog_controls_win.h"

namespace quilla {

inline constexpr char kConfigDialogClass[] = "ConfigDialog";
// Posted to the dialog's owner after Apply or OK has published new display settings, so
// that the owner can wake the render worker; the dialog itself never waits on the worker.
inline constexpr UINT kDisplaySettingsAppliedMessage = WM_APP + 2;

// Opens the dialog on the display settings, owned by owner (the overlay), centred on the
// primary screen, and holds the hot-key switch off until the dialog is destroyed. While a
// dialog exists this does nothing. Returns the dialog that exists after the call (the one
// already open, or the new one); null when it could not be created. Primary thread only.
// The capture timer asks the pad through joystick (a pad that does not answer is asked
// again only after kPadRetryMs on the clock or a device change); both must outlive the
// open dialog.
HWND open_config_dialog(HWND owner, Published<DisplaySettings>& settings,
                        JoystickCalls& joystick = system_calls<JoystickCalls>(),
                        Clock& clock = system_clock());

// The open dialog, or null.
HWND config_dialog_window() noexcept;

}  // namespace quilla
