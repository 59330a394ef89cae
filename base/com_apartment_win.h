// The calling thread's COM apartment, single-threaded, for the lifetime of the object. The
// primary thread holds one for the whole run: the shell's URL handlers that ShellExecuteA
// starts for the download address can need COM.
#pragma once

#include <objbase.h>

namespace quilla {

class ComApartment {
  public:
    ComApartment() noexcept
        : entered_(SUCCEEDED(
              CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (entered_) {
            CoUninitialize();
        }
    }
    // False when the thread was already in another kind of apartment, which then stays.
    bool entered() const noexcept { return entered_; }

  private:
    bool entered_ = false;
};

}  // namespace quilla
