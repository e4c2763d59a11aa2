// Test doubles of the console's platform: a stepped clock, a serial link that records every byte
// with its time, an in-memory file store, a fake window and the ports the computer has.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "console/clock.h"
#include "console/file_store.h"
#include "console/port_list.h"
#include "console/port_worker.h"
#include "console/serial_link.h"
#include "console/window_ops.h"

namespace portwand::testing {

// A clock whose time moves only by sleeps, opens of the link and a small step per reading. Its
// microseconds count from midnight of the date set and run on into the following days.
class SteppedClock : public Clock {
  public:
    static constexpr std::int64_t kMicrosPerSecond = 1'000'000;
    static constexpr std::int64_t kMicrosPerDay = 86'400 * kMicrosPerSecond;

    void setDate(int year, int month, int day) {
        year_ = year;
        month_ = month;
        day_ = day;
    }
    // Moves the local clock only, as a change of the computer's clock would.
    void setTime(int hour, int minute, int second, int millisecond = 0) {
        micros_ = ((hour * 60LL + minute) * 60 + second) * kMicrosPerSecond + millisecond * 1000LL;
    }
    // From that count on, the local clock shows `byMicros` more: a change to summer time, or back
    // with a negative amount.
    void setLocalJump(std::int64_t atMicros, std::int64_t byMicros) {
        jumps_.push_back({atMicros, byMicros});
    }
    // How far every reading moves the clock on (the time a poll of the real clock takes).
    void setReadingStepMicros(std::int64_t step) { readingStep_ = step; }
    // How much longer than asked every sleep lasts.
    void setSleepOvershootMicros(std::int64_t overshoot) { sleepOvershoot_ = overshoot; }
    std::int64_t micros() const { return micros_; }
    // Time passes.
    void advanceMicros(std::int64_t micros) {
        micros_ += micros;
        steady_ += micros;
    }

    LocalTime now() override {
        if (++readings_ > 1'000'000)
            throw std::runtime_error("clock polled without end");
        LocalTime t = at(micros_);
        advanceMicros(readingStep_);
        return t;
    }
    std::int64_t steadyMicros() override { return steady_; }
    void sleepMs(int milliseconds) override {
        sleeps.push_back({milliseconds, fineResolutionDepth_ > 0});
        advanceMicros(milliseconds * 1000LL + sleepOvershoot_);
    }
    void beginFineResolution() override { ++fineResolutionDepth_; }
    void endFineResolution() override { --fineResolutionDepth_; }

    // The local time this clock shows at that count.
    LocalTime at(std::int64_t micros) const {
        std::int64_t jumped = 0;
        for (const Jump& jump : jumps_)
            jumped += micros >= jump.at ? jump.by : 0;
        micros += jumped;
        int year = year_, month = month_, day = day_;
        for (std::int64_t d = micros / kMicrosPerDay; d > 0; --d) {
            if (++day > daysInMonth(year, month)) {
                day = 1;
                if (++month > 12) {
                    month = 1;
                    ++year;
                }
            }
        }
        std::int64_t ms = micros % kMicrosPerDay / 1000;
        return {year,
                month,
                day,
                int(ms / 3'600'000),
                int(ms / 60'000 % 60),
                int(ms / 1000 % 60),
                int(ms % 1000)};
    }

    struct Sleep {
        int milliseconds;
        bool atFineResolution;
    };
    std::vector<Sleep> sleeps;
    int fineResolutionDepth() const { return fineResolutionDepth_; }

  private:
    static int daysInMonth(int year, int month) {
        static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return month == 2 && leap ? 29 : kDays[month - 1];
    }

    int year_ = 2011, month_ = 5, day_ = 17;
    std::int64_t micros_ = 0;
    std::int64_t steady_ = 0;
    std::int64_t readingStep_ = 0;
    std::int64_t sleepOvershoot_ = 0;
    struct Jump {
        std::int64_t at, by;
    };
    std::vector<Jump> jumps_;  // every change of the local clock, each from its count on
    int fineResolutionDepth_ = 0;
    long readings_ = 0;
};

// Records opens, bytes (with the clock's time) and closes; ports can be made to fail.
class RecordingLink : public SerialLink {
  public:
    explicit RecordingLink(SteppedClock& clock) : clock_(clock) {}

    struct Byte {
        std::uint8_t value;
        std::int64_t micros;
    };

    std::set<std::u16string> missingPorts;
    // How long every open takes (a USB adapter tens of milliseconds, a Bluetooth one seconds).
    std::int64_t openMicros = 0;
    // How long every byte takes to go out (a slow or stalled line); it is recorded at its end.
    std::int64_t writeMicros = 0;
    // The n-th byte (counted from 0 over the whole run) that fails to go out, if any.
    std::optional<int> failingByte;

    std::vector<std::u16string> opened;  // every open attempt, successful or not
    std::vector<Byte> bytes;
    int closes = 0;
    std::vector<std::string> misuse;             // calls out of the link's order
    std::function<void()> whenOpening;           // looks at the world as an open begins
    std::function<void(std::size_t)> afterByte;  // with the count of bytes written so far

    LinkStatus open(const std::u16string& portName) override {
        if (isOpen_)
            misuse.push_back("open while open");
        opened.push_back(portName);
        if (whenOpening)
            whenOpening();
        clock_.advanceMicros(openMicros);
        if (portName.empty() || missingPorts.count(portName))
            return LinkStatus::Failed;
        isOpen_ = true;
        return LinkStatus::Opened;
    }
    bool writeByte(std::uint8_t byte) override {
        if (!isOpen_)
            misuse.push_back("write while closed");
        if (failingByte && attempts_++ == *failingByte)
            return false;
        clock_.advanceMicros(writeMicros);
        bytes.push_back({byte, clock_.micros()});
        if (afterByte)
            afterByte(bytes.size());
        return true;
    }
    void close() override {
        if (!isOpen_)
            misuse.push_back("close while closed");
        isOpen_ = false;
        ++closes;
    }
    bool isOpen() const { return isOpen_; }

    std::string text() const {
        std::string s;
        for (const Byte& b : bytes)
            s += char(b.value);
        return s;
    }

  private:
    SteppedClock& clock_;
    bool isOpen_ = false;
    int attempts_ = 0;
};

class MemoryFileStore : public FileStore {
  public:
    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;  // files that exist but cannot be read
    bool failWrites = false;
    std::vector<std::string>* sharedLog = nullptr;  // where reads and writes are noted, if set

    FileContents read(const std::string& name) override {
        if (sharedLog)
            sharedLog->push_back("read " + name);
        if (unreadable.count(name))
            return {FileContents::State::Unreadable, {}};
        auto it = files.find(name);
        if (it == files.end())
            return {FileContents::State::Missing, {}};
        return {FileContents::State::Read, it->second};
    }
    bool replace(const std::string& name, const std::string& bytes) override {
        if (sharedLog)
            sharedLog->push_back("write " + name);
        if (failWrites)
            return false;
        files[name] = bytes;
        return true;
    }
};

// A window that keeps what was done to it, and a log of the calls in their order.
class FakeWindow : public WindowOps {
  public:
    bool canCreate = true;
    bool shown = false;
    std::vector<std::string> log;
    std::vector<int> controlIds;
    std::vector<int> commands;
    std::vector<std::u16string> listEntries;
    int selectedEntry = -1;
    std::u16string labelText;
    std::optional<Rgb> labelColour;
    struct Message {
        std::u16string title, text;
    };
    std::vector<Message> messages;
    std::optional<std::pair<int, int>> timer;

    // What the user does: picks an entry of the port list.
    void pick(int index) { selectedEntry = index; }

    bool createWindow(const WindowSpec&) override {
        log.push_back("window");
        return canCreate;
    }
    void show() override {
        log.push_back("show");
        shown = true;
    }
    void createFont(const FontSpec&) override { log.push_back("font"); }
    void createControl(const ControlSpec& desc) override {
        log.push_back("control");
        controlIds.push_back(desc.id);
    }
    void addCommand(const CommandSpec& desc) override {
        log.push_back("command");
        commands.push_back(desc.id);
    }
    void clearList(int) override {
        log.push_back("clear");
        listEntries.clear();
        selectedEntry = -1;
    }
    void addListEntry(int, const std::u16string& text) override {
        log.push_back("entry");
        listEntries.push_back(text);
    }
    void selectListEntry(int, int index) override {
        log.push_back("select");
        selectedEntry = index;
    }
    std::u16string listText(int) override {
        log.push_back("listText");
        return selectedEntry < 0 ? u"" : listEntries.at(std::size_t(selectedEntry));
    }
    void setLabel(int, const std::u16string& text, Rgb colour) override {
        log.push_back("label");
        labelText = text;
        labelColour = colour;
    }
    void showError(const std::u16string& title, const std::u16string& text) override {
        log.push_back("error");
        messages.push_back({title, text});
    }
    void startTimer(int id, int periodMs) override {
        log.push_back("timer");
        timer = {id, periodMs};
    }
    // At once, as if the window's thread took it right away.
    void post(std::function<void()> task) override { task(); }
};

// Runs every job at once on the caller's thread.
class InlinePortWorker : public PortWorker {
  public:
    void submit(std::function<void()> job) override {
        if (!finished_)
            job();
    }
    void finish() override { finished_ = true; }

  private:
    bool finished_ = false;
};

// The serial ports the computer has, as the test sets them.
class FakePortCatalog : public PortCatalog {
  public:
    std::vector<std::u16string> ports;
    std::vector<std::u16string> existingPorts() override { return ports; }
};

}  // namespace portwand::testing
