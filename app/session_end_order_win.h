// The program's place in the order in which Windows tells programs that the session ends.
#pragma once

#include <windows.h>

namespace quilla {

// Windows asks programs at the session's end from the highest shutdown level down; every
// program starts at 0x280. 0x300 is the lowest level of the range set aside for
// applications to be asked first (0x300 to 0x3FF; 0x400 and above are the system's): the
// overlay hears of the end before every program that kept the default, the host among
// them, so the request that gives the host its height back is posted before the host
// hears of the end and saves its size, and the levels above stay free for programs that
// must go earlier still.
inline constexpr DWORD kSessionEndLevel = 0x300;

// Asks to be told of the session's end at kSessionEndLevel; false when Windows refused
// (the program then goes at the default level, as before).
bool ask_to_hear_of_session_end_early();

}  // namespace quilla
