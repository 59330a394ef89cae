// The COM apartment the primary thread holds: single-threaded while it lives, left as it
// was when the thread was already in another apartment.
#include "base/com_apartment_win.h"

#include <gtest/gtest.h>

#include <thread>

namespace quilla {
namespace {

TEST(ComApartment, EntersASingleThreadedApartmentAndLeavesOnlyWhatItEntered) {
    struct Case {
        const char* what;
        bool thread_in_multithreaded;
        bool entered;
        HRESULT multithreaded_inside;  // CoInitializeEx(multithreaded) while it lives
        HRESULT multithreaded_after;   // and once it is gone
    } cases[] = {
        {"a thread in no apartment", false, true, RPC_E_CHANGED_MODE, S_OK},
        {"a thread in the multithreaded apartment", true, false, S_FALSE, S_FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A thread of its own, so that the test's thread keeps its apartment.
        std::thread([&] {
            const bool was_in = c.thread_in_multithreaded &&
                                SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
            ASSERT_EQ(was_in, c.thread_in_multithreaded);
            {
                const ComApartment apartment;
                EXPECT_EQ(apartment.entered(), c.entered);
                const HRESULT inside = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
                EXPECT_EQ(inside, c.multithreaded_inside);
                if (SUCCEEDED(inside)) {
                    CoUninitialize();
                }
            }
            const HRESULT after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            EXPECT_EQ(after, c.multithreaded_after);
            if (SUCCEEDED(after)) {
                CoUninitialize();
            }
            if (was_in) {
                CoUninitialize();
            }
        }).join();
    }
}

}  // namespace
}  // namespace quilla
