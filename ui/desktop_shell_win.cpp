// The elevation check, and the COM walk from the shell's windows to the desktop's ShellExecute.
#include "ui/desktop_shell_win.h"

#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "base/handles_win.h"
#include "base/trace_win.h"

namespace quilla {
namespace {

// One reference to a COM object, released at the end.
template <typename T>
class ComRef {
  public:
    ComRef() noexcept = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (object_) {
            object_->Release();
        }
    }
    T** put() noexcept { return &object_; }
    void** put_void() noexcept { return reinterpret_cast<void**>(&object_); }
    T* operator->() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

  private:
    T* object_ = nullptr;
};

// A VARIANT cleared at the end.
class Variant {
  public:
    Variant() noexcept { VariantInit(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&value_); }
    VARIANT& get() noexcept { return value_; }

  private:
    VARIANT value_;
};

// A BSTR freed at the end.
class Bstr {
  public:
    explicit Bstr(const std::wstring& text) noexcept
        : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(value_); }
    BSTR get() const noexcept { return value_; }

  private:
    BSTR value_;
};

}  // namespace

bool runs_elevated() {
    HANDLE raw = nullptr;
    if (!check(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw), "OpenProcessToken")) {
        return true;
    }
    const UniqueKernelHandle token(raw);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!check(
            GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size),
            "GetTokenInformation")) {
        return true;
    }
    return elevation.TokenIsElevated != 0;
}

// The shell's windows, the desktop among them; the desktop's browser and its active view;
// the view's automation object, whose application object is the shell's own, in the
// shell's process; its ShellExecute starts the program there, with the shell's rights.
bool open_with_desktop_shell(const std::wstring& address) {
    ComRef<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                windows.put_void()))) {
        return false;
    }
    Variant desktop;
    desktop.get().vt = VT_I4;
    desktop.get().lVal = CSIDL_DESKTOP;
    Variant none;
    long window = 0;
    ComRef<IDispatch> found;
    // S_FALSE, not a failure code, when there is no desktop window.
    if (windows->FindWindowSW(&desktop.get(), &none.get(), SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                              found.put()) != S_OK ||
        !found) {
        return false;
    }
    ComRef<IServiceProvider> services;
    ComRef<IShellBrowser> browser;
    ComRef<IShellView> view;
    ComRef<IDispatch> background;
    ComRef<IShellFolderViewDual> folder_view;
    ComRef<IDispatch> application;
    ComRef<IShellDispatch2> shell;
    if (FAILED(found->QueryInterface(IID_IServiceProvider, services.put_void())) ||
        FAILED(
            services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put_void())) ||
        FAILED(browser->QueryActiveShellView(view.put())) || !view ||
        FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.put_void())) ||
        FAILED(background->QueryInterface(IID_IShellFolderViewDual, folder_view.put_void())) ||
        FAILED(folder_view->get_Application(application.put())) || !application ||
        FAILED(application->QueryInterface(IID_IShellDispatch2, shell.put_void()))) {
        return false;
    }
    const Bstr file(address);
    Variant arguments;
    Variant directory;
    Variant operation;
    operation.get().vt = VT_BSTR;
    operation.get().bstrVal = SysAllocString(L"open");
    Variant show;
    show.get().vt = VT_I4;
    show.get().lVal = SW_SHOWNORMAL;
    return file.get() && operation.get().bstrVal &&
           SUCCEEDED(shell->ShellExecute(file.get(), arguments.get(), directory.get(),
                                         operation.get(), show.get()));
}

}  // namespace quilla
