#include "console/remote_protocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "tests/console/console_doubles.h"
#include "tests/console/whole_clock_sweep.h"

namespace portwand {
namespace {

using testing::RecordingLink;
using testing::SteppedClock;

class RecordingFeedback : public ConsoleFeedback {
  public:
    std::vector<LinkStatus> statuses;
    int portUnavailable = 0;
    void showLinkStatus(LinkStatus status) override { statuses.push_back(status); }
    void showPortUnavailable() override { ++portUnavailable; }
};

// A protocol on doubles of its own, for tables that need a fresh one per row; every reading of
// its clock takes 200 µs.
struct FreshProtocol {
    SteppedClock clock;
    RecordingLink link{clock};
    std::u16string port = u"COM14";
    RecordingFeedback feedback;
    RemoteProtocol protocol{link, port, feedback, clock};

    FreshProtocol() { clock.setReadingStepMicros(200); }
    std::tuple<SteppedClock&, RecordingLink&, RemoteProtocol&> parts() {
        return {clock, link, protocol};
    }
};

class ProtocolTest : public ::testing::Test {
  protected:
    SteppedClock clock;
    RecordingLink link{clock};
    std::u16string port = u"COM5";
    RecordingFeedback feedback;
    RemoteProtocol protocol{link, port, feedback, clock};

    void TearDown() override {
        EXPECT_TRUE(link.misuse.empty()) << link.misuse.front();
        EXPECT_FALSE(link.isOpen());
        EXPECT_EQ(clock.fineResolutionDepth(), 0);
    }

    // Ticks every 100 ms from now on, as the window's timer does, for at most that many ticks.
    void tickUntilSent(int maxTicks) {
        for (int i = 0; i < maxTicks && link.bytes.empty(); ++i) {
            protocol.secondsTick();
            if (link.bytes.empty())
                clock.advanceMicros(100'000);
        }
    }
    // The clock's time of day, in seconds, when the first byte went out.
    double firstByteSecond() const { return link.bytes.at(0).micros / 1e6; }
};

TEST_F(ProtocolTest, KeyOpensTheCurrentPortWritesOneFrameAndCloses) {
    protocol.sendKey(RemoteKey::Menu);
    EXPECT_EQ(link.opened, std::vector<std::u16string>{u"COM5"});
    EXPECT_EQ(link.text(), "A0059\n\r");
    EXPECT_EQ(link.closes, 1);
    EXPECT_EQ(feedback.statuses, std::vector<LinkStatus>{LinkStatus::Opened});
    EXPECT_EQ(feedback.portUnavailable, 0);
    // The next command uses the port as it is then.
    port = u"COM12";
    protocol.sendKey(RemoteKey::SkinMinus);
    EXPECT_EQ(link.opened.back(), u"COM12");
    EXPECT_EQ(link.text(), "A0059\n\rA0056\n\r");
}

TEST_F(ProtocolTest, ClockPartIsAPairWithAFiftyMillisecondPauseAtFineResolution) {
    clock.setDate(2011, 3, 31);
    clock.setTime(14, 7, 30, 500);
    protocol.sendClockField(ClockField::Minutes);
    ASSERT_EQ(link.text(), "B2056\n\rB0507\n\r");
    // No pause inside a frame, 50 ms between the two frames.
    EXPECT_EQ(link.bytes[6].micros, link.bytes[0].micros);
    EXPECT_EQ(link.bytes[7].micros - link.bytes[6].micros, 50'000);
    EXPECT_EQ(link.bytes[13].micros, link.bytes[7].micros);
    ASSERT_EQ(clock.sleeps.size(), 1u);
    EXPECT_EQ(clock.sleeps[0].milliseconds, 50);
    EXPECT_TRUE(clock.sleeps[0].atFineResolution);
    EXPECT_EQ(link.closes, 1);

    link.bytes.clear();
    protocol.sendClockField(ClockField::Day);
    EXPECT_EQ(link.text(), "B2032\n\rB0331\n\r");
    link.bytes.clear();
    protocol.sendClockField(ClockField::Year);
    EXPECT_EQ(link.text(), "B2052\n\rB0111\n\r");
    link.bytes.clear();
    protocol.sendClockField(ClockField::Hours);
    EXPECT_EQ(link.text(), "B2049\n\rB0414\n\r");
    link.bytes.clear();
    protocol.sendClockField(ClockField::Month);
    EXPECT_EQ(link.text(), "B2060\n\rB0203\n\r");
    EXPECT_EQ(protocol.armedSecond(), RemoteProtocol::kDisarmed);
}

TEST_F(ProtocolTest, ClockPartIsReadOnceBeforeThePortOpens) {
    // Minute 59 turns into minute 0 during the pause; both frames still carry 59.
    clock.setTime(10, 59, 59, 990);
    protocol.sendClockField(ClockField::Minutes);
    EXPECT_EQ(link.text(), "B2004\n\rB0559\n\r");
}

TEST_F(ProtocolTest, FailedOpenOfAButtonCommandSendsNothingAndShowsTheMessage) {
    link.missingPorts.insert(u"COM5");
    protocol.sendKey(RemoteKey::Up);
    protocol.sendClockField(ClockField::Year);
    EXPECT_TRUE(link.bytes.empty());
    EXPECT_EQ(link.closes, 0);
    EXPECT_EQ(feedback.portUnavailable, 2);
    EXPECT_EQ(feedback.statuses, (std::vector<LinkStatus>{LinkStatus::Failed, LinkStatus::Failed}));
    // An empty port name never opens.
    link.missingPorts.clear();
    port = u"";
    protocol.sendKey(RemoteKey::Up);
    EXPECT_TRUE(link.bytes.empty());
    EXPECT_EQ(feedback.portUnavailable, 3);
}

TEST_F(ProtocolTest, FailedWriteEndsTheCommandClosesTheLinkAndReportsTheError) {
    // The fourth byte of the key frame is lost: nothing more of that frame goes out.
    link.failingByte = 3;
    protocol.sendKey(RemoteKey::Down);
    EXPECT_EQ(link.text(), "A00");
    EXPECT_EQ(link.closes, 1);
    EXPECT_EQ(feedback.statuses, (std::vector<LinkStatus>{LinkStatus::Opened, LinkStatus::Failed}));
    EXPECT_EQ(feedback.portUnavailable, 1);
}

TEST_F(ProtocolTest, NoValueFrameFollowsADamagedCheckFrame) {
    clock.setTime(12, 34, 56);
    link.failingByte = 6;  // the last byte of the check frame
    protocol.sendClockField(ClockField::Minutes);
    EXPECT_EQ(link.text(), "B2029\n");
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_EQ(link.closes, 1);
    EXPECT_EQ(feedback.statuses.back(), LinkStatus::Failed);
    EXPECT_EQ(feedback.portUnavailable, 1);
}

TEST_F(ProtocolTest, FailedValueFrameIsReportedToo) {
    clock.setTime(12, 34, 56);
    link.failingByte = 7;  // the first byte of the value frame
    protocol.sendClockField(ClockField::Hours);
    EXPECT_EQ(link.text(), "B2051\n\r");
    EXPECT_EQ(feedback.statuses.back(), LinkStatus::Failed);
    EXPECT_EQ(feedback.portUnavailable, 1);
}

TEST_F(ProtocolTest, ArmingTakesTheNextSecondAndSendsNothingByItself) {
    clock.setTime(9, 0, 41, 200);
    protocol.armSeconds();
    EXPECT_EQ(protocol.armedSecond(), 42);
    EXPECT_TRUE(link.opened.empty());
    // A second press in the same second arms the same second once.
    clock.advanceMicros(300'000);
    protocol.armSeconds();
    EXPECT_EQ(protocol.armedSecond(), 42);
    // A press in a later second re-arms with the then next second.
    clock.setTime(9, 0, 42, 100);
    protocol.armSeconds();
    EXPECT_EQ(protocol.armedSecond(), 43);
    EXPECT_TRUE(link.opened.empty());
}

TEST_F(ProtocolTest, PressHandledAfterItsNextSecondArmsTheSecondAfterTheHandling) {
    clock.setReadingStepMicros(100);
    // Pressed at 41.500 while F5 (or a slow open) kept the window busy; handled at 43.300.
    clock.setTime(9, 0, 43, 300);
    protocol.armSeconds(1800);
    EXPECT_EQ(protocol.armedSecond(), 44);
    tickUntilSent(12);
    ASSERT_EQ(link.text(), "B2019\n\rB0644\n\r");
    EXPECT_GE(firstByteSecond(), 9 * 3600 + 44);
    EXPECT_LT(firstByteSecond(), 9 * 3600 + 44.001);
}

TEST_F(ProtocolTest, TicksSendNothingWhileDisarmed) {
    clock.setTime(9, 0, 0, 0);
    for (int i = 0; i < 30; ++i) {
        protocol.secondsTick();
        clock.advanceMicros(100'000);
    }
    EXPECT_TRUE(link.opened.empty());
}

TEST_F(ProtocolTest, SecondsPairGoesOutAtTheStartOfTheArmedSecondAndDisarms) {
    clock.setReadingStepMicros(200);
    clock.setTime(9, 0, 41, 230);
    protocol.armSeconds();
    tickUntilSent(30);
    ASSERT_EQ(link.text(), "B2021\n\rB0642\n\r");
    // Never before the boundary, and within a millisecond after it.
    double boundary = 9 * 3600 + 42;
    EXPECT_GE(firstByteSecond(), boundary);
    EXPECT_LT(firstByteSecond(), boundary + 0.001);
    EXPECT_EQ(protocol.armedSecond(), RemoteProtocol::kDisarmed);
    EXPECT_EQ(link.closes, 1);
    // The wait and the pause both ran at fine resolution.
    for (const auto& sleep : clock.sleeps)
        EXPECT_TRUE(sleep.atFineResolution);

    // Disarmed: the same second a minute later sends nothing.
    link.bytes.clear();
    clock.setTime(9, 1, 41, 900);
    tickUntilSent(5);
    EXPECT_EQ(link.closes, 1);
}

TEST_F(ProtocolTest, WaitForTheBoundaryNeverSendsEarlyEvenWhenSleepsOvershoot) {
    clock.setReadingStepMicros(50);
    for (std::int64_t overshoot : {0, 900, 1'900, 3'000}) {
        link.bytes.clear();
        clock.setSleepOvershootMicros(overshoot);
        clock.setTime(9, 5, 10, 0);
        clock.advanceMicros(870'000 + overshoot % 7);
        protocol.armSeconds();
        tickUntilSent(30);
        ASSERT_FALSE(link.bytes.empty()) << overshoot;
        double boundary = 9 * 3600 + 5 * 60 + 11;
        EXPECT_GE(firstByteSecond(), boundary) << overshoot;
        EXPECT_LT(firstByteSecond(), boundary + 0.001 + overshoot / 1e6) << overshoot;
        EXPECT_EQ(link.text().substr(0, 14), "B2052\n\rB0611\n\r");
    }
}

TEST_F(ProtocolTest, PressLateInASecondSendsAtTheBoundaryWithoutWaitingForATick) {
    clock.setReadingStepMicros(100);
    clock.setTime(9, 0, 41, 960);
    protocol.armSeconds();
    ASSERT_EQ(link.text(), "B2021\n\rB0642\n\r");
    double boundary = 9 * 3600 + 42;
    EXPECT_GE(firstByteSecond(), boundary);
    EXPECT_LT(firstByteSecond(), boundary + 0.001);
}

TEST_F(ProtocolTest, TickFarFromTheBoundaryLeavesTheTransferToALaterTick) {
    clock.setReadingStepMicros(100);
    clock.setTime(9, 0, 41, 100);
    protocol.armSeconds();
    clock.setTime(9, 0, 41, 700);
    protocol.secondsTick();
    EXPECT_TRUE(link.opened.empty());
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_EQ(protocol.armedSecond(), 42);
}

TEST_F(ProtocolTest, SecondFiftyNineArmsSecondZeroOfTheNextMinute) {
    clock.setReadingStepMicros(100);
    clock.setTime(9, 0, 59, 100);
    protocol.armSeconds();
    EXPECT_EQ(protocol.armedSecond(), 0);
    tickUntilSent(30);
    EXPECT_EQ(link.text(), "B2063\n\rB0600\n\r");
    EXPECT_GE(firstByteSecond(), 9 * 3600 + 60);
}

TEST_F(ProtocolTest, LateTickInsideTheArmedSecondSendsAtTheNextBoundary) {
    clock.setReadingStepMicros(100);
    clock.setTime(9, 0, 20, 500);
    protocol.armSeconds();
    clock.setTime(9, 0, 21, 640);  // the computer was busy across the boundary
    protocol.secondsTick();
    // Sent right at a boundary, with the second it starts.
    EXPECT_EQ(link.text(), "B2041\n\rB0622\n\r");
    EXPECT_GE(firstByteSecond(), 9 * 3600 + 22);
    EXPECT_LT(firstByteSecond(), 9 * 3600 + 22.001);
    EXPECT_EQ(protocol.armedSecond(), RemoteProtocol::kDisarmed);
}

TEST_F(ProtocolTest, MissedSecondWaitsForTheNextMinute) {
    clock.setReadingStepMicros(100);
    clock.setTime(9, 0, 20, 500);
    protocol.armSeconds();
    clock.setTime(9, 0, 22, 10);  // no tick fell inside second 21
    tickUntilSent(600);
    ASSERT_FALSE(link.bytes.empty());
    EXPECT_EQ(link.text().substr(0, 7), "B2042\n\r");
    EXPECT_GE(firstByteSecond(), 9 * 3600 + 60 + 21);
    EXPECT_LT(firstByteSecond(), 9 * 3600 + 60 + 21.001);
}

TEST_F(ProtocolTest, ClockThatJumpsDuringTheWaitSendsTheSecondItThenShows) {
    clock.setTime(9, 0, 20, 500);
    protocol.armSeconds();
    clock.setTime(9, 0, 20, 950);
    clock.setSleepOvershootMicros(3'000'000);  // the sleep lands in second 23
    protocol.secondsTick();
    EXPECT_EQ(link.text().substr(0, 14), "B2040\n\rB0623\n\r");
    EXPECT_EQ(link.opened.size(), 1u);
    EXPECT_EQ(protocol.armedSecond(), RemoteProtocol::kDisarmed);
}

TEST_F(ProtocolTest, PortThatFailsBeforeTheBoundaryUsesTheArmingUpSilently) {
    link.missingPorts.insert(u"COM5");
    clock.setReadingStepMicros(100);
    clock.setTime(9, 0, 20, 500);
    protocol.armSeconds();
    clock.setTime(9, 0, 20, 900);
    protocol.secondsTick();
    EXPECT_EQ(link.opened.size(), 1u);
    EXPECT_TRUE(link.bytes.empty());
    EXPECT_EQ(feedback.statuses, std::vector<LinkStatus>{LinkStatus::Failed});
    EXPECT_EQ(feedback.portUnavailable, 0);
    EXPECT_EQ(protocol.armedSecond(), RemoteProtocol::kDisarmed);
    // Nothing is waited for.
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST_F(ProtocolTest, FailedSecondsTransferIsSilentAndUsesTheArmingUp) {
    link.missingPorts.insert(u"COM5");
    clock.setTime(9, 0, 20, 500);
    protocol.armSeconds();
    clock.setTime(9, 0, 21, 30);
    protocol.secondsTick();
    EXPECT_EQ(link.opened.size(), 1u);
    EXPECT_TRUE(link.bytes.empty());
    EXPECT_EQ(feedback.statuses, std::vector<LinkStatus>{LinkStatus::Failed});
    EXPECT_EQ(feedback.portUnavailable, 0);
    EXPECT_EQ(protocol.armedSecond(), RemoteProtocol::kDisarmed);
    // No retry a minute later.
    clock.setTime(9, 1, 21, 30);
    protocol.secondsTick();
    EXPECT_EQ(link.opened.size(), 1u);
}

TEST_F(ProtocolTest, FailedWriteOfTheSecondsTransferIsSilentButShowsTheStatus) {
    link.failingByte = 0;
    clock.setReadingStepMicros(100);
    clock.setTime(9, 0, 20, 500);
    protocol.armSeconds();
    clock.setTime(9, 0, 21, 30);
    protocol.secondsTick();
    EXPECT_TRUE(link.bytes.empty());
    EXPECT_EQ(link.closes, 1);
    EXPECT_EQ(feedback.statuses, (std::vector<LinkStatus>{LinkStatus::Opened, LinkStatus::Failed}));
    EXPECT_EQ(feedback.portUnavailable, 0);
    EXPECT_EQ(protocol.armedSecond(), RemoteProtocol::kDisarmed);
}

// Ports that take from no time to more than a second to open, armed at points all over a second:
// the pair always leaves right at a boundary, carrying the second it starts, in one attempt.
TEST(SecondsTransfer, LeavesRightAtABoundaryWhateverThePortsOpenTime) {
    for (int openMs : {0, 5, 20, 140, 500, 1200}) {
        for (int pressMs : {30, 350, 620, 870, 970}) {
            SCOPED_TRACE("open " + std::to_string(openMs) + " ms, press at " +
                         std::to_string(pressMs) + " ms into a second");
            FreshProtocol rig;
            auto [clock, link, protocol] = rig.parts();
            link.openMicros = openMs * 1000LL;
            protocol.trialOpening();  // learns the open time

            clock.setTime(9, 0, 10, pressMs);
            const std::int64_t pressedAt = clock.micros();
            const bool roomToOpen = (1000 - pressMs) > openMs + 20;
            protocol.armSeconds();
            std::int64_t longestHandler = clock.micros() - pressedAt;
            for (int tick = 0; tick < 30 && link.bytes.empty(); ++tick) {
                clock.advanceMicros(100'000);
                std::int64_t before = clock.micros();
                protocol.secondsTick();
                longestHandler = std::max(longestHandler, clock.micros() - before);
            }
            ASSERT_EQ(link.bytes.size(), 14u);
            const std::int64_t first = link.bytes[0].micros;
            const LocalTime sentAt = clock.at(first);
            const std::int64_t sinceBoundary = first % SteppedClock::kMicrosPerSecond;
            EXPECT_LT(sinceBoundary, 5'000);
            char value[3];
            std::snprintf(value, sizeof value, "%02d", sentAt.second);
            EXPECT_EQ(link.text().substr(7, 5), std::string("B06") + value);
            if (roomToOpen) {
                EXPECT_EQ(sentAt.second, 11);
            }
            // One attempt, and the window waits no longer than the open time and a second (and
            // the pause inside the pair).
            EXPECT_EQ(link.opened.size(), 2u);
            EXPECT_EQ(protocol.armedSecond(), RemoteProtocol::kDisarmed);
            EXPECT_LE(longestHandler, (openMs + 1000 + 55) * 1000LL);
            EXPECT_FALSE(link.isOpen());
        }
    }
}

TEST_F(ProtocolTest, OpenTimeIsLearntAtEveryOpen) {
    clock.setReadingStepMicros(200);
    protocol.trialOpening();  // quick then
    // The adapter has become slow: the first transfer opens too late for its second and goes out
    // at the next boundary.
    link.openMicros = 300'000;
    clock.setTime(9, 0, 10, 500);
    protocol.armSeconds();
    tickUntilSent(30);
    ASSERT_EQ(link.bytes.size(), 14u);
    EXPECT_EQ(link.text().substr(7, 7), "B0612\n\r");
    EXPECT_LT(link.bytes[0].micros % SteppedClock::kMicrosPerSecond, 5'000);
    // The next one opens early enough.
    link.bytes.clear();
    clock.advanceMicros(2'000'000);
    protocol.armSeconds();
    int armed = protocol.armedSecond();
    tickUntilSent(30);
    ASSERT_EQ(link.bytes.size(), 14u);
    EXPECT_EQ(clock.at(link.bytes[0].micros).second, armed);
    EXPECT_LT(link.bytes[0].micros % SteppedClock::kMicrosPerSecond, 5'000);
}

TEST_F(ProtocolTest, PortQuickerThanLastTimeStillWaitsForTheArmedSecond) {
    clock.setReadingStepMicros(200);
    protocol.trialOpening();
    clock.setTime(9, 0, 20, 500);
    protocol.armSeconds();
    clock.setTime(9, 0, 22, 10);  // no tick fell inside second 21; it comes round again
    // Meanwhile a key press found the port slow (a Bluetooth adapter), and then it is quick again.
    link.openMicros = 3'000'000;
    protocol.sendKey(RemoteKey::Esc);
    link.bytes.clear();
    link.openMicros = 100'000;
    std::int64_t longestHandler = 0;
    for (int tick = 0; tick < 600 && link.bytes.empty(); ++tick) {
        std::int64_t before = clock.micros();
        protocol.secondsTick();
        longestHandler = std::max(longestHandler, clock.micros() - before);
        clock.advanceMicros(100'000);
    }
    ASSERT_EQ(link.bytes.size(), 14u);
    EXPECT_EQ(link.text().substr(7, 7), "B0621\n\r");
    EXPECT_GE(firstByteSecond(), 9 * 3600 + 60 + 21);
    EXPECT_LT(firstByteSecond(), 9 * 3600 + 60 + 21.005);
    // Opened more than three seconds early, it waited less than the open time and a second.
    EXPECT_LE(longestHandler, (3000 + 1000 + 55) * 1000LL);
}

// F5 and "/sync" against the running device, set to a random earlier time, swept over start
// moments around the date edges, line speeds and steps of the computer's clock: right after the
// command and after the device's next minute, its clock is 0 to 100 ms behind the computer's.
TEST(WholeClock, LeavesTheRunningDeviceJustBehindFromAnyMomentOnAnyLine) {
#ifdef __SANITIZE_ADDRESS__
    constexpr int kStartStepMs = 1570;  // the sanitizers' build runs some four times slower
#else
    constexpr int kStartStepMs = 470;  // every 10 ms in the benchmark
#endif
    constexpr std::int64_t kMostBehindMicros = 100'000;
    struct Tally {
        int cases = 0, wrong = 0;
        std::int64_t worstMicros = 0, worstOutsideMicros = 0;
        std::string first;
    };
    std::map<int, Tally> byLine;
    testing::sweepWholeClock(
        kStartStepMs, [&](const testing::SweepCase& c, const testing::SweepOutcome& o) {
            Tally& tally = byLine[c.lineMicrosPerByte];
            ++tally.cases;
            bool right = o.done;
            for (std::int64_t behind : {o.behindAtEndMicros, o.behindAfterMinuteMicros}) {
                std::int64_t outside = std::max(-behind, behind - kMostBehindMicros);
                right = right && outside <= 0;
                if (outside > tally.worstOutsideMicros)
                    tally.worstOutsideMicros = outside, tally.worstMicros = behind;
            }
            if (right)
                return;
            if (++tally.wrong == 1)
                tally.first =
                    std::string(c.edge) + ", step " + std::to_string(c.stepMicros / 1000) +
                    (c.stepAfterSecondsPair ? " ms after the seconds" : " ms while waiting") +
                    ", start +" + std::to_string(c.startMs) + " ms: " + (o.done ? "" : "failed, ") +
                    std::to_string(o.behindAtEndMicros) + " / " +
                    std::to_string(o.behindAfterMinuteMicros) + " µs behind";
        });
    for (const auto& [line, tally] : byLine)
        EXPECT_EQ(tally.wrong, 0) << line << " µs a byte: " << tally.wrong << " of " << tally.cases
                                  << " wrong, worst " << tally.worstMicros / 1000
                                  << " ms behind; first: " << tally.first;
}

TEST_F(ProtocolTest, KeysAndClockPartsLeaveTheArmingAlone) {
    clock.setTime(9, 0, 20, 100);
    protocol.armSeconds();
    protocol.sendKey(RemoteKey::Esc);
    protocol.sendClockField(ClockField::Day);
    EXPECT_EQ(protocol.armedSecond(), 21);
}

}  // namespace
}  // namespace portwand
