#include "console/remote_protocol.h"

#include <algorithm>

#include "console/second_boundary.h"
#include "console/time_count.h"

namespace portwand {

RemoteProtocol::RemoteProtocol(SerialLink& link, const std::u16string& currentPort,
                               ConsoleFeedback& feedback, Clock& clock)
    : link_(link),
      currentPort_(currentPort),
      feedback_(feedback),
      clock_(clock),
      opener_(link, feedback, clock),
      writer_(link, clock) {}

void RemoteProtocol::trialOpening() {
    if (opener_.open(currentPort_) == LinkStatus::Opened)
        link_.close();
}

void RemoteProtocol::sendKey(RemoteKey key) {
    if (!open(Caller::Button))
        return;
    bool written = writer_.writeFrame(keyFrame(key));
    link_.close();
    if (!written)
        reportWriteFailure(Caller::Button);
}

void RemoteProtocol::sendClockField(ClockField field) {
    // One reading before the port opens: both frames carry the moment of the press.
    std::uint8_t value = clockValue(field, clock_.now());
    if (!open(Caller::Button))
        return;
    bool written = writer_.writePair(field, value);
    link_.close();
    if (!written)
        reportWriteFailure(Caller::Button);
}

void RemoteProtocol::armSeconds(int pressAgeMs) {
    LocalTime time = clock_.now();
    std::int64_t pressMs = millisecondsOf(time) - pressAgeMs;
    std::int64_t pressSteadyMicros = clock_.steadyMicros() - pressAgeMs * 1000LL;
    // Presses within one second arm that second's next one once, even when the first press has
    // been served by the time the second is handled.
    if (pressMs / 1000 == lastArmingPress_.second &&
        pressSteadyMicros - lastArmingPress_.steadyMicros < 1'000'000)
        return;
    lastArmingPress_ = {pressMs / 1000, pressSteadyMicros};
    // A press handled only after the second that followed it had begun (the window was busy with
    // F5 or a slow open) arms the second after the handling, not one a minute away.
    const std::int64_t nowMs = millisecondsOf(time);
    const bool nextSecondBegun = nowMs >= (pressMs / 1000 + 1) * 1000;
    armedSecond_ = localTimeAt((nextSecondBegun ? nowMs : pressMs) + 1000).second;
    startTransferIfDue(time);
}

void RemoteProtocol::secondsTick() {
    if (armedSecond_ == kDisarmed)
        return;
    startTransferIfDue(clock_.now());
}

void RemoteProtocol::startTransferIfDue(const LocalTime& time) {
    std::int64_t openMicros = opener_.openMicros(currentPort_);
    // Somewhat more than last time, for a port whose open time varies; the margin stays small
    // enough that a quick open never makes the window wait a second longer than the port took.
    std::int64_t marginMicros = std::min<std::int64_t>(openMicros / 4, kMaxOpenMarginMs * 1000LL);
    std::int64_t leadMicros = openMicros + marginMicros + kBoundaryWaitMs * 1000LL;
    int untilArmedMs = millisecondsUntilSecond(time, armedSecond_);
    if (untilArmedMs * 1000LL <= leadMicros)
        transferSeconds(untilArmedMs);
}

void RemoteProtocol::transferSeconds(int untilArmedMs) {
    const int armed = armedSecond_;
    // One attempt per arming, whatever happens next.
    armedSecond_ = kDisarmed;
    if (!open(Caller::Timer))
        return;
    LocalTime ready = clock_.now();
    int stillUntilArmedMs = millisecondsUntilSecond(ready, armed);
    LocalTime sending = ready;
    if (stillUntilArmedMs > 0 && stillUntilArmedMs <= untilArmedMs) {
        // Opened before the armed second: its start.
        while (sending.second != armed && stillUntilArmedMs > 0) {
            sending = waitForNextSecond(clock_, sending);
            stillUntilArmedMs -= 1000;
        }
    } else if (stillUntilArmedMs > 0 || ready.millisecond >= kOnTimeMs) {
        // Too late for it: the first start of a second after the port opened.
        sending = waitForNextSecond(clock_, ready);
    }
    bool written = writer_.writePair(ClockField::Seconds, std::uint8_t(sending.second));
    link_.close();
    if (!written)
        reportWriteFailure(Caller::Timer);
}

ClockSyncResult RemoteProtocol::syncClock(const WholeClockControl& control) {
    using Outcome = ClockSyncResult::Outcome;
    if (opener_.open(currentPort_) != LinkStatus::Opened)
        return {Outcome::PortUnavailable, {}};
    WholeClockResult result = writeWholeClock(writer_, clock_, control);
    link_.close();
    switch (result.outcome) {
        case WholeClockResult::Outcome::Written:
            return {Outcome::Done, result.instant};
        case WholeClockResult::Outcome::WriteFailed:
            feedback_.showLinkStatus(LinkStatus::Failed);
            return {Outcome::WriteFailed, result.instant};
        case WholeClockResult::Outcome::ClockStepped:
            return {Outcome::ClockStepped, result.instant};
        case WholeClockResult::Outcome::Stopped:
            break;
    }
    return {Outcome::Stopped, result.instant};
}

bool RemoteProtocol::open(Caller caller) {
    if (opener_.open(currentPort_) == LinkStatus::Opened)
        return true;
    if (caller == Caller::Button)
        feedback_.showPortUnavailable();
    return false;
}

void RemoteProtocol::reportWriteFailure(Caller caller) {
    feedback_.showLinkStatus(LinkStatus::Failed);
    if (caller == Caller::Button)
        feedback_.showPortUnavailable();
}

}  // namespace portwand
