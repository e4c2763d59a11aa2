// The console's behaviour: start-up, the dispatch of control, command and timer events, the port
// list and Portwand.ini at exit. The front end feeds it the window's events on the window's
// thread; everything that touches the port runs as a job of the port worker, whose outcomes come
// back to the window's thread through WindowOps::post.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "console/clock.h"
#include "console/port_list.h"
#include "console/port_settings.h"
#include "console/port_worker.h"
#include "console/remote_protocol.h"
#include "console/serial_link.h"
#include "console/window_ops.h"

namespace portwand {

class ConsoleApp {
  public:
    ConsoleApp(WindowOps& window, SerialLink& link, Clock& clock, PortSettings& settings,
               PortCatalog& ports, PortWorker& worker);
    ConsoleApp(const ConsoleApp&) = delete;
    ConsoleApp& operator=(const ConsoleApp&) = delete;
    // Stops the whole clock between two pairs and waits for the port's job to end.
    ~ConsoleApp();

    // Builds the window and starts the trial opening; false when the window could not be created,
    // in which case the program ends at once and the settings file is left alone.
    bool start();
    // A control reported an event (a button press, any event of the port list), made
    // `eventAgeMs` before it is handled.
    void onControl(int controlId, int eventAgeMs = 0);
    // A menu item or a shortcut.
    void onCommand(int commandId);
    // Esc: stops the whole clock between two pairs.
    void onStop() { stopSync_ = true; }
    void onTimer(int timerId);
    // The port list is about to open, or a device arrived or left: the list shows the ports that
    // exist now, keeping the selection and the current port.
    void refreshPortList();
    void onClose() {
        quitRequested_ = true;
        stopSync_ = true;
    }
    bool quitRequested() const { return quitRequested_; }
    // Writes the port back to the settings file: at exit, and when the session ends (logging off,
    // shutting down), after which the system ends the program.
    void exit();

    const std::u16string& currentPort() const { return currentPort_; }
    bool syncRunning() const { return syncRunning_; }
    // The worker's: to be looked at only while no job runs.
    const RemoteProtocol& protocol() const { return protocol_; }

  private:
    // The protocol's feedback, given on the worker's thread: passed to the window's thread for
    // the selection the job was submitted under; an outcome for an earlier one is dropped.
    class PostedFeedback : public ConsoleFeedback {
      public:
        explicit PostedFeedback(ConsoleApp& app) : app_(app) {}
        void showLinkStatus(LinkStatus status) override;
        void showPortUnavailable() override;

      private:
        ConsoleApp& app_;
    };

    // On the window's thread: runs `task` if the selection is still the one it was made for.
    void postForSelection(int selection, std::function<void()> task);
    // Runs the work on the worker, on the current port and under the current selection.
    void submit(std::function<void()> work);
    void showLinkStatus(LinkStatus status);
    void showPortUnavailable();
    // One message box at a time, in the order asked.
    void showError(const std::u16string& text);
    void showSyncOutcome(ClockSyncResult::Outcome outcome);
    void startSync();
    void fillPortList(const std::vector<std::u16string>& entries);
    void onPortListEvent();
    // Says that the port is being opened, then opens and closes it to show whether it can be used.
    void trialOpening();

    WindowOps& window_;
    Clock& clock_;
    PortSettings& settings_;
    PortCatalog& ports_;
    PortWorker& worker_;
    std::u16string currentPort_;
    std::u16string lastPortText_;
    std::vector<std::u16string> listEntries_;
    bool quitRequested_ = false;
    bool syncRunning_ = false;
    bool showingError_ = false;
    std::deque<std::u16string> pendingErrors_;
    // Counts the changes of port: a job's outcome shows only while it still counts the same.
    std::atomic<int> selection_{0};
    std::atomic<bool> stopSync_{false};
    std::atomic<bool> tickQueued_{false};
    // The worker's own: the port and selection of the job it runs.
    std::u16string jobPort_;
    int jobSelection_ = 0;
    PostedFeedback feedback_{*this};
    RemoteProtocol protocol_;
};

}  // namespace portwand
