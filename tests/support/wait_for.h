#pragma once
// The tests' one way to wait: until something observable holds (a file, a
// state, a byte count), never for a fixed time. The limit only ends a wait for
// what never comes; the tests assert the condition, not the time it took.
#include <chrono>
#include <thread>

namespace support {

// True once predicate() holds; false when limit passes first.
template <class Predicate>
bool WaitFor(Predicate predicate, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!predicate()) {
        if (std::chrono::steady_clock::now() >= end) return predicate();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

}  // namespace support
