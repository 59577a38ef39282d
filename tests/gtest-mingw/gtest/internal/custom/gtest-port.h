// GoogleTest's own place for a build's settings, used by the Windows build
// only. Its compiler's win32-thread runtime (see cmake/mingw-common.cmake) has
// no std::mutex or std::condition_variable, which GoogleTest's Notification
// is made of; everything else GoogleTest locks with on Windows is Win32's.
#ifndef VORBLOX_GTEST_CUSTOM_PORT_H
#define VORBLOX_GTEST_CUSTOM_PORT_H

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

// Only GoogleTest's own thread helpers wait on one; our test programs start
// no threads, so a plain flag does.
class Notification {
public:
    Notification() : notified_(false) {}
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { notified_.store(true); }
    void WaitForNotification()
    {
        while (!notified_.load()) {
        }
    }

private:
    std::atomic<bool> notified_;
};

}  // namespace internal
}  // namespace testing

#endif
