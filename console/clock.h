// The computer's local clock and the waits the protocol needs, injected so that tests run with a
// fixed or stepped clock.
#pragma once

#include <cstdint>

namespace portwand {

struct LocalTime {
    int year;         // four digits
    int month;        // 1..12
    int day;          // 1..31
    int hour;         // 0..23
    int minute;       // 0..59
    int second;       // 0..59
    int millisecond;  // 0..999
};

class Clock {
  public:
    virtual ~Clock() = default;

    virtual LocalTime now() = 0;
    // Microseconds on a count that only moves forwards, whatever happens to the local clock; for
    // measuring how long something took.
    virtual std::int64_t steadyMicros() = 0;
    // Blocks the calling thread for about that many milliseconds.
    virtual void sleepMs(int milliseconds) = 0;
    // Between these two calls the platform's timers (sleeps and the clock's own steps) run at a
    // resolution of 1 ms.
    virtual void beginFineResolution() = 0;
    virtual void endFineResolution() = 0;
};

}  // namespace portwand
