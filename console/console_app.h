// The console's behaviour: start-up, the dispatch of control and timer events, the port list and
// Portwand.ini at exit. The front end feeds it the window's events.
#pragma once

#include <string>

#include "console/clock.h"
#include "console/port_settings.h"
#include "console/remote_protocol.h"
#include "console/serial_link.h"
#include "console/window_ops.h"

namespace portwand {

class ConsoleApp : private ConsoleFeedback {
  public:
    ConsoleApp(WindowOps& window, SerialLink& link, Clock& clock, PortSettings& settings);

    // Builds the window and makes the trial opening; false when the window could not be created,
    // in which case the program ends at once and the settings file is left alone.
    bool start();
    // A control reported an event (a button press, any event of the port list).
    void onControl(int controlId);
    void onTimer(int timerId);
    void onClose() { quitRequested_ = true; }
    bool quitRequested() const { return quitRequested_; }
    // Writes the port back to the settings file.
    void exit();

    const std::u16string& currentPort() const { return currentPort_; }
    const RemoteProtocol& protocol() const { return protocol_; }

  private:
    void showLinkStatus(LinkStatus status) override;
    void showPortUnavailable() override;
    void onPortListEvent();
    void trialOpening();

    WindowOps& window_;
    SerialLink& link_;
    PortSettings& settings_;
    std::u16string currentPort_;
    std::u16string lastPortText_;
    bool quitRequested_ = false;
    RemoteProtocol protocol_;
};

// The entry of the port list whose text equals the port exactly (letter case counts), or -1.
int portListIndex(const std::u16string& port);

}  // namespace portwand
