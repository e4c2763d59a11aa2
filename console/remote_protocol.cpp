#include "console/remote_protocol.h"

namespace portwand {

namespace {

int nextSecond(int second) {
    return second == 59 ? 0 : second + 1;
}

}  // namespace

RemoteProtocol::RemoteProtocol(SerialLink& link, const std::u16string& currentPort,
                               ConsoleFeedback& feedback, Clock& clock)
    : link_(link), currentPort_(currentPort), feedback_(feedback), clock_(clock) {}

void RemoteProtocol::sendKey(RemoteKey key) {
    if (!open(Caller::Button))
        return;
    bool written = writeFrame(keyFrame(key));
    link_.close();
    if (!written)
        reportWriteFailure(Caller::Button);
}

void RemoteProtocol::sendClockField(ClockField field) {
    // One reading before the port opens: both frames carry the moment of the press.
    std::uint8_t value = clockValue(field, clock_.now());
    if (!open(Caller::Button))
        return;
    bool written = writePair(field, value);
    link_.close();
    if (!written)
        reportWriteFailure(Caller::Button);
}

void RemoteProtocol::armSeconds() {
    LocalTime time = clock_.now();
    armedSecond_ = nextSecond(time.second);
    // A press late in a second may see the next tick only after the boundary has passed.
    if (1000 - time.millisecond <= kBoundaryWaitMs)
        sendAtArmedBoundary(time);
}

void RemoteProtocol::secondsTick() {
    if (armedSecond_ == kDisarmed)
        return;
    LocalTime time = clock_.now();
    if (time.second == armedSecond_) {
        transferSeconds(time.second);
    } else if (nextSecond(time.second) == armedSecond_ &&
               1000 - time.millisecond <= kBoundaryWaitMs) {
        sendAtArmedBoundary(time);
    }
}

void RemoteProtocol::sendAtArmedBoundary(const LocalTime& time) {
    // The port opens before the wait, so that the first byte leaves as the second begins.
    bool opened = open(Caller::Timer);
    clock_.beginFineResolution();
    LocalTime current = time;
    while (current.second == time.second) {
        int remainingMs = 1000 - current.millisecond;
        if (remainingMs > kPollBeforeBoundaryMs)
            clock_.sleepMs(remainingMs - kPollBeforeBoundaryMs);
        current = clock_.now();
    }
    clock_.endFineResolution();
    if (current.second == armedSecond_) {
        finishSecondsTransfer(opened, current.second);
    } else if (opened) {
        // The clock jumped elsewhere meanwhile: nothing is sent, the arming waits for its second.
        link_.close();
    }
}

void RemoteProtocol::transferSeconds(int second) {
    armedSecond_ = kDisarmed;
    finishSecondsTransfer(open(Caller::Timer), second);
}

void RemoteProtocol::finishSecondsTransfer(bool opened, int second) {
    // The arming is used up whatever happens next.
    armedSecond_ = kDisarmed;
    if (!opened)
        return;
    bool written = writePair(ClockField::Seconds, std::uint8_t(second));
    link_.close();
    if (!written)
        reportWriteFailure(Caller::Timer);
}

bool RemoteProtocol::open(Caller caller) {
    if (openAndReport(link_, currentPort_, feedback_) == LinkStatus::Opened)
        return true;
    if (caller == Caller::Button)
        feedback_.showPortUnavailable();
    return false;
}

bool RemoteProtocol::writeFrame(const RemoteFrame& frame) {
    for (std::uint8_t byte : frame) {
        if (!link_.writeByte(byte))
            return false;
    }
    return true;
}

bool RemoteProtocol::writePair(ClockField field, std::uint8_t value) {
    if (!writeFrame(checkFrame(value)))
        return false;
    pauseBetweenFrames();
    return writeFrame(valueFrame(field, value));
}

void RemoteProtocol::pauseBetweenFrames() {
    clock_.beginFineResolution();
    clock_.sleepMs(kPairPauseMs);
    clock_.endFineResolution();
}

void RemoteProtocol::reportWriteFailure(Caller caller) {
    feedback_.showLinkStatus(LinkStatus::Failed);
    if (caller == Caller::Button)
        feedback_.showPortUnavailable();
}

}  // namespace portwand
