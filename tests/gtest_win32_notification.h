// GoogleTest's Notification for the MinGW build. The win32 thread model that the programs are
// built with has no std::mutex or std::condition_variable, which GoogleTest's own Notification
// uses; it serves only GoogleTest's tests of its own threads, so a flag that is waited on in a
// loop does.
#pragma once

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
  public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { notified_.store(true); }
    void WaitForNotification() {
        while (!notified_.load()) {
        }
    }

  private:
    std::atomic<bool> notified_{false};
};

}  // namespace testing::internal
