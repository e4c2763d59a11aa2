// The console with its port work on a real thread (natively only: the Windows build's threads are
// the Windows API's): the window's thread goes on while a port takes its time to open or the whole
// clock goes out, an outcome for an earlier selection is dropped, Esc and closing stop the whole
// clock between two pairs.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "console/console_app.h"
#include "tests/console/console_doubles.h"

namespace portwand {
namespace {

class ThreadPortWorker : public PortWorker {
  public:
    ~ThreadPortWorker() override { finish(); }
    void submit(std::function<void()> job) override {
        std::lock_guard lock(mutex_);
        if (!finished_)
            jobs_.push_back(std::move(job));
        changed_.notify_all();
    }
    void finish() override {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
            jobs_.clear();
            changed_.notify_all();
        }
        if (thread_.joinable())
            thread_.join();
    }
    void waitIdle() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return jobs_.empty() && !busy_; });
    }

  private:
    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [&] { return finished_ || !jobs_.empty(); });
            if (finished_)
                return;
            auto job = std::move(jobs_.front());
            jobs_.pop_front();
            busy_ = true;
            lock.unlock();
            job();
            lock.lock();
            busy_ = false;
            changed_.notify_all();
        }
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> jobs_;
    bool finished_ = false, busy_ = false;
    std::thread thread_{[this] { run(); }};
};

// Posted tasks wait for the test, as the window's thread, to run them; a message box runs them
// meanwhile, as its modal loop does.
struct QueuedWindow : testing::FakeWindow {
    std::mutex mutex;
    std::deque<std::function<void()>> posted;
    int boxes = 0, mostBoxes = 0;
    void showError(const std::u16string& title, const std::u16string& text) override {
        mostBoxes = std::max(mostBoxes, ++boxes);
        FakeWindow::showError(title, text);
        runPosted();
        --boxes;
    }
    void post(std::function<void()> task) override {
        std::lock_guard lock(mutex);
        posted.push_back(std::move(task));
    }
    void runPosted() {
        std::unique_lock lock(mutex);
        while (!posted.empty()) {
            auto task = std::move(posted.front());
            posted.pop_front();
            lock.unlock();
            task();
            lock.lock();
        }
    }
};

// Opens and writes wait while held, as a Bluetooth port whose device is off, or a stalled line.
struct HeldLink : testing::RecordingLink {
    using RecordingLink::RecordingLink;
    std::mutex mutex;
    std::condition_variable released;
    bool holdOpens = false;
    std::size_t opensBegun = 0;
    std::size_t holdAfterBytes = SIZE_MAX;
    void release() {
        std::lock_guard lock(mutex);
        holdOpens = false;
        holdAfterBytes = SIZE_MAX;
        released.notify_all();
    }
    LinkStatus open(const std::u16string& port) override {
        std::unique_lock lock(mutex);
        ++opensBegun;
        released.notify_all();
        released.wait(lock, [&] { return !holdOpens; });
        return RecordingLink::open(port);
    }
    bool writeByte(std::uint8_t byte) override {
        std::unique_lock lock(mutex);
        released.wait(lock, [&] { return bytes.size() < holdAfterBytes; });
        bool written = RecordingLink::writeByte(byte);
        released.notify_all();
        return written;
    }
    void waitForOpens(std::size_t count) {
        std::unique_lock lock(mutex);
        released.wait(lock, [&] { return opensBegun >= count; });
    }
    void waitForBytes(std::size_t count) {
        std::unique_lock lock(mutex);
        released.wait(lock, [&] { return bytes.size() >= count; });
    }
};

TEST(ConsoleThreads, WindowGoesOnWhileThePortWorksAndOnlyTheLatestSelectionShows) {
    QueuedWindow window;
    testing::SteppedClock clock;
    clock.setReadingStepMicros(100);
    HeldLink link{clock};
    testing::MemoryFileStore files;
    ByteAnsiCodec ansi;
    PortSettings settings{files, ansi};
    testing::FakePortCatalog ports;
    ThreadPortWorker worker;
    ConsoleApp app{window, link, clock, settings, ports, worker};

    // The trial opening of COM1 takes its time; meanwhile the arrows pick COM2, COM3 and COM4.
    link.holdOpens = true;
    ASSERT_TRUE(app.start());
    link.waitForOpens(1);
    for (int index : {1, 2, 3}) {
        window.pick(index);
        app.onControl(kPortList);
        EXPECT_EQ(window.labelText, kOpeningText);
    }
    link.release();
    worker.waitIdle();
    window.runPosted();
    EXPECT_EQ(link.opened, (std::vector<std::u16string>{u"COM1", u"COM4"}));
    EXPECT_EQ(window.labelText, kOpenedText);

    // F5, held down: one whole clock. Its progress shows; Esc stops it between two pairs.
    link.holdAfterBytes = 20;
    app.onCommand(kSyncClockCommand);
    app.onCommand(kSyncClockCommand);
    EXPECT_TRUE(app.syncRunning());
    link.waitForBytes(20);
    window.runPosted();
    EXPECT_EQ(window.labelText, u"Минуты...");
    app.onStop();
    link.release();
    worker.waitIdle();
    window.runPosted();
    EXPECT_FALSE(app.syncRunning());
    EXPECT_EQ(window.labelText, kSyncStoppedText);
    EXPECT_EQ(link.bytes.size(), 28u);
    EXPECT_EQ(link.opened.size(), 3u);

    // Another port picked while it runs: it stops between two pairs; the new one is tried.
    link.holdAfterBytes = 48;
    app.onCommand(kSyncClockCommand);
    link.waitForBytes(48);
    window.pick(0);
    app.onControl(kPortList);
    link.release();
    worker.waitIdle();
    window.runPosted();
    EXPECT_EQ(link.bytes.size(), 56u);
    EXPECT_EQ(window.labelText, kOpenedText);

    // Failures queued behind one another: one message box at a time, never one upon another.
    link.missingPorts.insert(u"COM1");
    app.onControl(kUpButton);
    app.onCommand(kSyncClockCommand);
    worker.waitIdle();
    window.runPosted();
    EXPECT_EQ(window.messages.size(), 2u);
    EXPECT_EQ(window.mostBoxes, 1);
    link.missingPorts.clear();

    // Closing during the whole clock: it stops between two pairs, and the window's thread waits.
    link.holdAfterBytes = 68;
    app.onCommand(kSyncClockCommand);
    link.waitForBytes(68);
    app.onClose();
    link.release();
    worker.finish();
    EXPECT_EQ(link.bytes.size(), 70u);  // its seconds pair, whole
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(link.misuse.empty());
}

}  // namespace
}  // namespace portwand
