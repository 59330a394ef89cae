// Finding the host's windows, restoring the host's height and asking the host to open its
// inventory window, against windows of this process and against the stand-in host.
#include "host/host_window_win.h"

#include "tests/support/fake_clock.h"
#include "tests/support/local_window_win.h"
#include "tools/launch/process_win.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quilla {
namespace {

using launch::ChildProcess;
using launch::ScratchDirectory;
using launch::sync_with;
using launch::wait_until;
using test_support::local_window;
using test_support::LocalClass;
using test_support::SilentWindow;

// A window's position and size on the screen, as these tests compare them.
struct WindowBox {
    LONG left, top, width, height;
};

std::optional<WindowBox> window_rect(HWND hwnd) {
    RECT r{};
    if (!GetWindowRect(hwnd, &r)) {
        return std::nullopt;
    }
    return WindowBox{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// A stand-in host started in its own scratch folder, its main window found.
struct RunningHost {
    ScratchDirectory dir;
    std::unique_ptr<ChildProcess> process;
    HWND main = nullptr;
};

// Starts a stand-in with args; fails the test (returning null in main) when it does not
// come up.
void start_host(RunningHost& host, const std::vector<std::string>& args) {
    ASSERT_TRUE(host.dir.ok());
    ASSERT_TRUE(host.dir.write_file("inventory.txt", "やくそう\r\n"));
    launch::StandinHost started = launch::start_standin_host(host.dir.path(), args);
    host.process = std::move(started.process);
    host.main = started.main;
    ASSERT_NE(host.main, nullptr) << started.error;
}

TEST(FindHostMainWindow, PrefersTheFullVersionOverTheTrial) {
    ASSERT_EQ(find_host_main_window(), nullptr) << "a host is already running";
    LocalClass trial_class(kHostTrialMainClass);
    LocalClass full_class(kHostMainClass);
    ASSERT_TRUE(trial_class.ok() && full_class.ok());

    const UniqueWindow trial = local_window(kHostTrialMainClass, "trial");
    ASSERT_NE(trial.get(), nullptr);
    EXPECT_EQ(find_host_main_window(), trial.get());
    {
        const UniqueWindow full = local_window(kHostMainClass, "full");
        ASSERT_NE(full.get(), nullptr);
        EXPECT_EQ(find_host_main_window(), full.get());
    }
    EXPECT_EQ(find_host_main_window(), trial.get());
}

TEST(FindHostMainWindow, FindsAStandinOfEitherVersion) {
    const std::vector<std::string> variants[] = {{}, {"--trial"}};
    for (const auto& args : variants) {
        SCOPED_TRACE(args.empty() ? "full version" : "trial version");
        RunningHost host;
        start_host(host, args);
        if (HasFatalFailure()) {
            return;
        }
        char class_name[64] = {};
        GetClassNameA(host.main, class_name, sizeof class_name);
        EXPECT_STREQ(class_name, args.empty() ? kHostMainClass : kHostTrialMainClass);
        EXPECT_EQ(find_host_main_window(), host.main);
    }
}

TEST(FindInventoryWindow, NeedsTheListBoxClassAndTheExactTitle) {
    ASSERT_EQ(find_inventory_window(), nullptr) << "an inventory window is already open";
    {
        const UniqueWindow wrong_class = local_window("Static", kInventoryTitle);
        const UniqueWindow half_width_gap =
            local_window(kInventoryClass, "クイラ 持ち物ウィンドウ");
        const UniqueWindow other_title = local_window(kInventoryClass, "持ち物ウィンドウ");
        ASSERT_NE(wrong_class.get(), nullptr);
        ASSERT_NE(half_width_gap.get(), nullptr);
        ASSERT_NE(other_title.get(), nullptr);
        EXPECT_EQ(find_inventory_window(), nullptr);
    }
    const UniqueWindow inventory = local_window(kInventoryClass, kInventoryTitle);
    ASSERT_NE(inventory.get(), nullptr);
    EXPECT_EQ(find_inventory_window(), inventory.get());
}

TEST(ResizeHostHeight, ChangesOnlyTheHeight) {
    EXPECT_FALSE(resize_host_height(nullptr, 486, 349));

    RunningHost host;
    start_host(host, {"--size", "486x349", "--pos", "120,80"});
    if (HasFatalFailure()) {
        return;
    }
    ASSERT_TRUE(resize_host_height(host.main, 486, 421));
    ASSERT_TRUE(sync_with(host.main));
    EXPECT_TRUE(wait_until([&] {
        auto rect = window_rect(host.main);
        return rect && rect->height == 421;
    }));
    const auto rect = window_rect(host.main);
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->width, 486);
    EXPECT_EQ(rect->left, 120);
    EXPECT_EQ(rect->top, 80);
}

TEST(RestoreHostHeight, ReturnsKnownWidthsToTheirBaseHeightAndLeavesOthers) {
    struct Case {
        const char* size;
        LONG width;
        LONG height_before;
        LONG height_after;
    };
    constexpr Case kCases[] = {
        {"486x400", 486, 400, 349},    // extended by an overlay strip
        {"390x250", 390, 250, 289},    // smaller than its base height
        {"1234x900", 1234, 900, 817},  // the largest size
        {"486x349", 486, 349, 349},    // already at its base height
        {"500x400", 500, 400, 400},    // a width the host never uses
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.size);
        RunningHost host;
        start_host(host, {"--size", c.size, "--pos", "60,40"});
        if (HasFatalFailure()) {
            return;
        }
        const auto before = window_rect(host.main);
        ASSERT_TRUE(before);
        ASSERT_EQ(before->width, c.width);
        ASSERT_EQ(before->height, c.height_before);

        restore_host_height();
        ASSERT_TRUE(sync_with(host.main));
        EXPECT_TRUE(wait_until([&] {
            auto rect = window_rect(host.main);
            return rect && rect->height == c.height_after;
        })) << "height "
            << window_rect(host.main).value_or(WindowBox{}).height;
        const auto after = window_rect(host.main);
        ASSERT_TRUE(after);
        EXPECT_EQ(after->width, c.width);
        EXPECT_EQ(after->left, 60);
        EXPECT_EQ(after->top, 40);
    }
}

// A host as Windows keeps it, for what Wine does not show of another program's window: a
// minimized window's rectangle is its icon's, and its placement holds the size it comes
// back with. The calls made to change its size are recorded.
class FakeHost : public HostWindowCalls {
  public:
    BOOL is_iconic(HWND) override { return iconic; }
    BOOL get_rect(HWND, RECT* r) override {
        *r = rect;
        return TRUE;
    }
    BOOL set_pos(HWND, HWND after, int x, int y, int cx, int cy, UINT flags) override {
        requests.push_back("pos " + std::to_string(cx) + "x" + std::to_string(cy) + " at " +
                           std::to_string(x) + "," + std::to_string(y) + " flags " +
                           std::to_string(flags) + (after ? " after" : ""));
        return TRUE;
    }
    BOOL get_placement(HWND, WINDOWPLACEMENT* p) override {
        if (!placement_readable || p->length != sizeof *p) {
            return FALSE;
        }
        *p = placement;
        return TRUE;
    }
    BOOL set_placement(HWND, const WINDOWPLACEMENT* p) override {
        const RECT& r = p->rcNormalPosition;
        requests.push_back("placement " + std::to_string(r.left) + "," + std::to_string(r.top) +
                           "-" + std::to_string(r.right) + "," + std::to_string(r.bottom) +
                           " flags " + std::to_string(p->flags) + " show " +
                           std::to_string(p->showCmd));
        return TRUE;
    }

    bool iconic = false;
    RECT rect{};
    bool placement_readable = true;
    WINDOWPLACEMENT placement{};
    std::vector<std::string> requests;
};

// A minimized host is measured and resized by its placement's normal rectangle (in
// workspace coordinates, its corner kept), posted to it and leaving it minimized without
// activating it; a restored one by its rectangle. 26118 is 0x6606; the placement flag 4 is
// WPF_ASYNCWINDOWPLACEMENT, show command 7 SW_SHOWMINNOACTIVE.
TEST(RestoreHostHeight, AMinimizedHostIsMeasuredAndResizedByItsPlacement) {
    struct Case {
        const char* what;
        bool iconic;
        RECT rect;
        bool placement_readable;
        UINT placement_flags;
        RECT normal;
        std::optional<Size> outer;
        std::vector<std::string> requests;
    };
    constexpr RECT kIcon{-32000, -32000, -31840, -31972};
    const Case cases[] = {
        {"restored, extended",
         false,
         {100, 50, 586, 450},
         true,
         0,
         {},
         Size{486, 400},
         {"pos 486x349 at 0,0 flags 26118"}},
        {"minimized, extended",
         true,
         kIcon,
         true,
         0,
         {100, 50, 586, 450},
         Size{486, 400},
         {"placement 100,50-586,399 flags 4 show 7"}},
        {"minimized, smaller than its base",
         true,
         kIcon,
         true,
         0,
         {-10, 0, 380, 250},
         Size{390, 250},
         {"placement -10,0-380,289 flags 4 show 7"}},
        {"minimized at its base height",
         true,
         kIcon,
         true,
         0,
         {100, 50, 586, 399},
         Size{486, 349},
         {}},
        {"minimized, of a width the host never uses",
         true,
         kIcon,
         true,
         0,
         {0, 0, 500, 400},
         Size{500, 400},
         {}},
        {"minimized, comes back maximized",
         true,
         kIcon,
         true,
         WPF_RESTORETOMAXIMIZED,
         {100, 50, 586, 450},
         std::nullopt,
         {}},
        {"minimized, placement unreadable",
         true,
         kIcon,
         false,
         0,
         {100, 50, 586, 450},
         std::nullopt,
         {}},
    };
    LocalClass full_class(kHostMainClass);
    ASSERT_TRUE(full_class.ok());
    const UniqueWindow host = local_window(kHostMainClass, "host");
    ASSERT_NE(host.get(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeHost fake;
        fake.iconic = c.iconic;
        fake.rect = c.rect;
        fake.placement_readable = c.placement_readable;
        fake.placement.length = sizeof(WINDOWPLACEMENT);
        fake.placement.flags = c.placement_flags;
        fake.placement.showCmd = c.iconic ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
        fake.placement.rcNormalPosition = c.iconic ? c.normal : c.rect;
        const std::optional<Size> outer = host_outer_size(host.get(), fake);
        EXPECT_EQ(outer.has_value(), c.outer.has_value());
        if (outer && c.outer) {
            EXPECT_EQ(outer->width, c.outer->width);
            EXPECT_EQ(outer->height, c.outer->height);
        }
        restore_host_height(fake);
        EXPECT_EQ(fake.requests, c.requests);
    }
}

bool key_down(BYTE key) {
    std::array<BYTE, 256> keys{};
    return GetKeyboardState(keys.data()) && (keys[key] & 0x80) != 0;
}

void set_key(BYTE key, bool down) {
    std::array<BYTE, 256> keys{};
    GetKeyboardState(keys.data());
    keys[key] = down ? 0x80 : 0;
    SetKeyboardState(keys.data());
}

// A clock for the request that notes each pause and whether F3 was held down during it:
// the system's time and Sleep, or (stepped) its own time, on which every pause lasts a
// scheduler tick of Windows, 16 ms, so that 7 of them pass 100 ms.
class NotingClock : public test_support::FakeClock {
  public:
    explicit NotingClock(bool stepped = false) : stepped_(stepped) {}
    uint64_t now_ms() override { return stepped_ ? FakeClock::now_ms() : GetTickCount64(); }
    void pause(uint32_t ms) override {
        f3_held = f3_held || key_down(VK_F3);
        if (stepped_) {
            FakeClock::pause(16);
        } else {
            FakeClock::pause(ms);
            Sleep(ms);
        }
    }
    bool f3_held = false;  // F3 was held down during a pause

  private:
    bool stepped_;
};

TEST(RequestInventoryWindow, MakesAClosedHostOpenItsInventory) {
    RunningHost host;
    start_host(host, {"--closed"});
    if (HasFatalFailure()) {
        return;
    }
    ASSERT_TRUE(sync_with(host.main));
    ASSERT_EQ(host.process->find_inventory_window(), nullptr) << "--closed opened it anyway";

    NotingClock clock;
    request_inventory_window(clock);

    EXPECT_NE(host.process->wait_for_inventory_window(), nullptr);
    EXPECT_EQ(find_inventory_window(), host.process->find_inventory_window());
    EXPECT_GE(clock.pauses(), 1);
    EXPECT_TRUE(clock.f3_held) << "F3 was not held while waiting";
    EXPECT_FALSE(key_down(VK_F3)) << "F3 was left held down";
}

TEST(RequestInventoryWindow, WaitsOnlyItsTimeAndGivesBackOnlyF3) {
    // A host window of this thread: nothing ever opens, and the request shares its input
    // state without attaching, so what it leaves there can be read here.
    LocalClass full_class(kHostMainClass);
    ASSERT_TRUE(full_class.ok());
    const UniqueWindow host = local_window(kHostMainClass, "host");
    ASSERT_NE(host.get(), nullptr);

    // Every pause lasts a scheduler tick of Windows (7 of them pass 100 ms), and Shift
    // goes down during the wait, as a user's key press would.
    NotingClock clock(true);
    clock.on_pause = [](uint32_t) { set_key(VK_SHIFT, true); };
    request_inventory_window(clock);
    EXPECT_EQ(clock.pauses(), 7);
    EXPECT_TRUE(clock.f3_held) << "F3 was not held while waiting";
    EXPECT_FALSE(key_down(VK_F3)) << "F3 was left held down";
    EXPECT_TRUE(key_down(VK_SHIFT)) << "Shift, pressed during the wait, was undone";
    set_key(VK_SHIFT, false);
}

TEST(RequestInventoryWindow, SkipsAHungHost) {
    // A host window whose thread stops handling messages: it counts as hung once it has
    // not looked at its queue for 5 seconds.
    LocalClass full_class(kHostMainClass);
    ASSERT_TRUE(full_class.ok());
    UniqueKernelHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::atomic<HWND> created{nullptr};
    std::thread hung([&] {
        const UniqueWindow host = local_window(kHostMainClass, "hung host");
        created = host.get();
        // Not forever: a request that does wait on it must end, and fail, rather than hang.
        WaitForSingleObject(release.get(), 20000);
    });
    const bool became_hung =
        wait_until([&] { return created.load() && IsHungAppWindow(created.load()); }, 15000);
    NotingClock clock;
    if (became_hung) {
        request_inventory_window(clock);
    }
    SetEvent(release.get());
    hung.join();
    ASSERT_TRUE(became_hung) << "the host window never counted as hung";
    EXPECT_EQ(clock.pauses(), 0) << "the request waited for a hung host";
}

TEST(RequestInventoryWindow, LeavesABusyHostAloneWithoutWaitingForIt) {
    // A host whose thread has just stopped reading messages: busy, but not yet hung (the
    // system calls it hung only after 5 seconds). It is held until the request has
    // returned, so a request that waits for it in any call does not return in time.
    LocalClass full_class(kHostMainClass);
    ASSERT_TRUE(full_class.ok());
    SilentWindow host(kHostMainClass, "busy host");
    ASSERT_NE(host.get(), nullptr);
    NotingClock clock;
    request_inventory_window(clock);
    EXPECT_TRUE(host.release()) << "the request waited for the busy host";
    EXPECT_EQ(clock.pauses(), 0) << "the request went on with a host that did not answer";
    EXPECT_FALSE(key_down(VK_F3)) << "F3 was left held down";
}

// The calls the request makes, in order, for a host on another thread of this process
// (the thread reads no messages, and no real call reaches it).
class FakeRequest : public HostRequestCalls {
  public:
    FakeRequest(bool answers, HWND host, DWORD host_thread)
        : answers_(answers), host_(host), host_thread_(host_thread) {}

    LRESULT send_timeout(HWND window, UINT message, WPARAM, LPARAM, UINT flags, UINT timeout,
                         PDWORD_PTR result) override {
        calls.push_back("ask " + target(window) + " message " + std::to_string(message) +
                        " flags " + std::to_string(flags) + " within " + std::to_string(timeout) +
                        " ms");
        *result = 0;
        SetLastError(answers_ ? ERROR_SUCCESS : ERROR_TIMEOUT);
        return answers_ ? TRUE : FALSE;
    }
    BOOL set_pos(HWND window, HWND after, int x, int y, int cx, int cy, UINT flags) override {
        calls.push_back("place " + target(window) + (after == HWND_TOP ? " on top" : " elsewhere") +
                        " at " + std::to_string(x) + "," + std::to_string(y) + " size " +
                        std::to_string(cx) + "x" + std::to_string(cy) + " flags " +
                        std::to_string(flags));
        return TRUE;
    }
    BOOL set_foreground(HWND window) override {
        calls.push_back("foreground " + target(window));
        return TRUE;
    }
    BOOL attach_input(DWORD from, DWORD to, BOOL attach) override {
        const bool ours = from == GetCurrentThreadId() && to == host_thread_;
        calls.push_back(std::string(attach ? "attach to" : "detach from") +
                        (ours ? " the host's thread" : " another thread"));
        return TRUE;
    }

    std::vector<std::string> calls;

  private:
    std::string target(HWND window) const { return window == host_ ? "host" : "another window"; }

    bool answers_;
    HWND host_;
    DWORD host_thread_;
};

// A host that answers is asked first, then brought forward with nothing that waits for
// it: the Z-order change posted (16387 is SWP_NOSIZE | SWP_NOMOVE | SWP_ASYNCWINDOWPOS),
// the activation asked for before the input is attached. A host that does not answer
// within 100 ms is asked nothing more. (2 is SMTO_ABORTIFHUNG; WM_NULL is message 0.)
TEST(RequestInventoryWindow, AsksTheHostFirstAndGoesOnOnlyWhenItAnswers) {
    struct Case {
        const char* what;
        bool answers;
        std::vector<std::string> calls;
        int pauses;
    };
    const std::string kAsk = "ask host message 0 flags 2 within 100 ms";
    const Case cases[] = {
        {"a host that answers",
         true,
         {kAsk, "place host on top at 0,0 size 0x0 flags 16387", "foreground host",
          "attach to the host's thread", "detach from the host's thread"},
         7},
        {"a host that does not answer", false, {kAsk}, 0},
    };
    LocalClass full_class(kHostMainClass);
    ASSERT_TRUE(full_class.ok());
    SilentWindow host(kHostMainClass, "host");
    ASSERT_NE(host.get(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeRequest calls(c.answers, host.get(), host.thread_id());
        NotingClock clock(true);
        request_inventory_window(clock, calls);
        EXPECT_EQ(calls.calls, c.calls);
        EXPECT_EQ(clock.pauses(), c.pauses);
        EXPECT_EQ(clock.f3_held, c.answers) << "F3 held while waiting";
        EXPECT_FALSE(key_down(VK_F3)) << "F3 was left held down";
    }
}

}  // namespace
}  // namespace quilla
