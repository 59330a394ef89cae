// Opening an address as the desktop's user: what the "情報" command does when the program
// runs with administrator rights, so the browser it opens never has them.
#pragma once

#include <string>

namespace quilla {

// True when the program runs elevated (with administrator rights under UAC), or when
// Windows cannot say (then the safe side).
bool runs_elevated();

// Asks the desktop's shell (the program that shows the desktop, running as the desktop's
// user) to open the address, as a double click there would. False when there is no such
// shell or it refused; the address is then not opened. Needs the calling thread's COM
// apartment (base/com_apartment_win.h); the calls wait for the shell to answer them while
// serving the messages sent to this thread.
bool open_with_desktop_shell(const std::wstring& address);

}  // namespace quilla
