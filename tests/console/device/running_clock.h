// The clock device as the console's tests see it: a clock that runs by itself and is set by the
// frames that reach it. It counts seconds and carries them into minutes, hours, days, months
// (their real lengths, leap years) and years. A value frame takes effect when its last byte
// arrives, and only after the matching check frame; setting the seconds restarts the current
// second at that moment, setting any other part changes only that part.
//
// Shared by the native tests (instants from the fixed clock) and the device program at the far
// end of the end-to-end tests' serial line (instants from the host's clock).
#pragma once

#include <array>
#include <cstdint>

namespace portwand::device {

struct DeviceTime {
    int year;  // in full: 2000 plus the value sent
    int month, day, hour, minute, second;
    friend bool operator==(const DeviceTime&, const DeviceTime&) = default;
};

class RunningClock {
  public:
    // The clock shows `time` from `atMicros` on, its second just begun there. Instants are
    // microseconds on any count that only moves forwards.
    RunningClock(DeviceTime time, std::int64_t atMicros) : time_(time), secondStart_(atMicros) {}

    // One byte arrives at that instant; instants never go back.
    void receive(std::uint8_t byte, std::int64_t atMicros);
    // What the clock shows at that instant (not before the last byte), and how far into its
    // current second it is.
    DeviceTime at(std::int64_t atMicros) const;
    std::int64_t microsIntoSecond(std::int64_t atMicros) const;
    // Both at once, as microseconds since 1970 of the device's calendar.
    std::int64_t shownMicros(std::int64_t atMicros) const;
    // Every value frame taken, for tests that look at the order.
    int framesTaken() const { return framesTaken_; }

  private:
    void runTo(std::int64_t atMicros);
    void take(int selector, int value, std::int64_t atMicros);

    DeviceTime time_;
    std::int64_t secondStart_;
    std::array<std::uint8_t, 7> frame_{};
    int frameLength_ = 0;
    int check_ = -1;  // the value of the last check frame, until a value frame uses it
    int framesTaken_ = 0;
};

// Whole seconds later, with every carry.
DeviceTime addSeconds(DeviceTime time, std::int64_t seconds);
int daysInMonth(int year, int month);

// Microseconds since 1970 of a calendar reading (whole seconds), and the reading of such a count;
// for comparing the device's clock with the computer's.
std::int64_t microsSince1970(const DeviceTime& time);
DeviceTime deviceTimeAt(std::int64_t microsSince1970);

}  // namespace portwand::device
