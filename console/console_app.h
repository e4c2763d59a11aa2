// The console's behaviour: start-up, the dispatch of control, command and timer events, the port
// list and Portwand.ini at exit. The front end feeds it the window's events.
#pragma once

#include <string>
#include <vector>

#include "console/clock.h"
#include "console/port_list.h"
#include "console/port_settings.h"
#include "console/remote_protocol.h"
#include "console/serial_link.h"
#include "console/window_ops.h"

namespace portwand {

class ConsoleApp : private ConsoleFeedback {
  public:
    ConsoleApp(WindowOps& window, SerialLink& link, Clock& clock, PortSettings& settings,
               PortCatalog& ports);

    // Builds the window and makes the trial opening; false when the window could not be created,
    // in which case the program ends at once and the settings file is left alone.
    bool start();
    // A control reported an event (a button press, any event of the port list), made
    // `eventAgeMs` before it is handled.
    void onControl(int controlId, int eventAgeMs = 0);
    // A menu item or a shortcut.
    void onCommand(int commandId);
    void onTimer(int timerId);
    // The port list is about to open, or a device arrived or left: the list shows the ports that
    // exist now, keeping the selection and the current port.
    void refreshPortList();
    void onClose() { quitRequested_ = true; }
    bool quitRequested() const { return quitRequested_; }
    // Writes the port back to the settings file: at exit, and when the session ends (logging off,
    // shutting down), after which the system ends the program.
    void exit();

    const std::u16string& currentPort() const { return currentPort_; }
    const RemoteProtocol& protocol() const { return protocol_; }

  private:
    void showLinkStatus(LinkStatus status) override;
    void showPortUnavailable() override;
    void fillPortList(const std::vector<std::u16string>& entries);
    void onPortListEvent();
    // Says that the port is being opened, then opens and closes it to show whether it can be used.
    void trialOpening();

    WindowOps& window_;
    PortSettings& settings_;
    PortCatalog& ports_;
    std::u16string currentPort_;
    std::u16string lastPortText_;
    std::vector<std::u16string> listEntries_;
    bool quitRequested_ = false;
    RemoteProtocol protocol_;
};

}  // namespace portwand
