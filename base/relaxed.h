#pragma once
// A value shared between the audio and the user-interface thread.
//
// Each load and store is a single relaxed atomic access: the same machine code
// as a plain access, no ordering, and no data race for the compiler or
// ThreadSanitizer. A single store is the unit of consistency.
#include <atomic>

template <typename T>
class Relaxed {
public:
    constexpr Relaxed() noexcept : v_(T{}) {}
    constexpr Relaxed(T value) noexcept : v_(value) {}
    Relaxed(const Relaxed& other) noexcept : v_(other.load()) {}
    Relaxed& operator=(const Relaxed& other) noexcept { store(other.load()); return *this; }
    Relaxed& operator=(T value) noexcept { store(value); return *this; }

    T load() const noexcept { return v_.load(std::memory_order_relaxed); }
    void store(T value) noexcept { v_.store(value, std::memory_order_relaxed); }
    operator T() const noexcept { return load(); }
    // Takes the value and leaves `value` in its place in one step, so a
    // request raised by another thread in between is not lost.
    T exchange(T value) noexcept { return v_.exchange(value, std::memory_order_relaxed); }

private:
    std::atomic<T> v_;
};
