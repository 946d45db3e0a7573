// GoogleTest on the Windows build's win32 thread model, whose library (GCC 12) has
// no std::mutex or std::condition_variable. GoogleTest takes its locks from Windows
// itself there, all but Notification, which comes from here instead: this header is
// forced into GoogleTest's own build (scripts/build-windows) and into every test
// (tests/CMakeLists.txt).
#pragma once

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    void Notify() { notified_.store(true); }
    // Only GoogleTest's own thread helpers wait; no test of ours starts a thread.
    void WaitForNotification() {
        while (!notified_.load()) {
        }
    }

private:
    std::atomic<bool> notified_{false};
};

} // namespace testing::internal
