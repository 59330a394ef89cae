// A value that one thread replaces as a whole and other threads read as immutable
// snapshots. A reader keeps its snapshot for as long as it needs it; the writer never
// changes a published value in place, so a reader never sees a half-made change and
// never waits for more than the pointer swap.
#pragma once

#include <memory>
#include <mutex>
#include <utility>

namespace quilla {

template <typename T>
class Published {
  public:
    explicit Published(T initial = T{}) : value_(std::make_shared<const T>(std::move(initial))) {}
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    // Never throws in use: a lock fails only when misused, and that ends the program.
    std::shared_ptr<const T> snapshot() const noexcept {
        std::lock_guard lock(mutex_);
        return value_;
    }

    // Replaces the value. Writers are serialised with update().
    void publish(T value) {
        std::lock_guard writer(writer_mutex_);
        swap_in(std::move(value));
    }

    // Copies the current value, lets change edit the copy, publishes it. Writers are
    // serialised, so two updates never lose each other's change.
    template <typename Change>
    void update(Change&& change) {
        std::lock_guard writer(writer_mutex_);
        T next = *snapshot();
        change(next);
        swap_in(std::move(next));
    }

  private:
    void swap_in(T value) {
        auto next = std::make_shared<const T>(std::move(value));
        std::lock_guard lock(mutex_);
        value_.swap(next);
        // The lock is released before the old value, which readers may still hold.
    }

    mutable std::mutex mutex_;
    std::mutex writer_mutex_;
    std::shared_ptr<const T> value_;
};

}  // namespace quilla
