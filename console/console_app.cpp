#include "console/console_app.h"

namespace portwand {

ConsoleApp::ConsoleApp(WindowOps& window, SerialLink& link, Clock& clock, PortSettings& settings,
                       PortCatalog& ports)
    : window_(window),
      settings_(settings),
      ports_(ports),
      protocol_(link, currentPort_, *this, clock) {}

bool ConsoleApp::start() {
    if (!window_.createWindow(kConsoleWindow))
        return false;
    for (const FontSpec& font : kFonts)
        window_.createFont(font);
    currentPort_ = settings_.readPort();
    for (const ControlSpec& control : kConsoleControls)
        window_.createControl(control);
    window_.addCommand(kSyncClock);
    fillPortList(portListEntries(ports_.existingPorts()));
    // A Bluetooth port whose device is off takes the whole connection time-out to fail: the user
    // sees the window, and what it is doing, meanwhile.
    window_.show();
    trialOpening();
    window_.startTimer(kSecondsTimer, kSecondsTimerPeriodMs);
    return true;
}

void ConsoleApp::onControl(int controlId, int eventAgeMs) {
    switch (controlId) {
        case kEscButton:
            protocol_.sendKey(RemoteKey::Esc);
            break;
        case kMenuButton:
            protocol_.sendKey(RemoteKey::Menu);
            break;
        case kUpButton:
            protocol_.sendKey(RemoteKey::Up);
            break;
        case kLeftButton:
            protocol_.sendKey(RemoteKey::Left);
            break;
        case kRightButton:
            protocol_.sendKey(RemoteKey::Right);
            break;
        case kDownButton:
            protocol_.sendKey(RemoteKey::Down);
            break;
        case kBacklightButton:
            protocol_.sendKey(RemoteKey::Backlight);
            break;
        case kSkinPlusButton:
            protocol_.sendKey(RemoteKey::SkinPlus);
            break;
        case kSkinMinusButton:
            protocol_.sendKey(RemoteKey::SkinMinus);
            break;
        case kSecondsButton:
            protocol_.armSeconds(eventAgeMs);
            break;
        case kMinutesButton:
            protocol_.sendClockField(ClockField::Minutes);
            break;
        case kHoursButton:
            protocol_.sendClockField(ClockField::Hours);
            break;
        case kDayButton:
            protocol_.sendClockField(ClockField::Day);
            break;
        case kMonthButton:
            protocol_.sendClockField(ClockField::Month);
            break;
        case kYearButton:
            protocol_.sendClockField(ClockField::Year);
            break;
        case kPortList:
            onPortListEvent();
            break;
        default:
            break;  // the tab control switches its pages by itself
    }
}

void ConsoleApp::onCommand(int commandId) {
    if (commandId != kSyncClockCommand)
        return;
    switch (protocol_.syncClock().outcome) {
        case ClockSyncResult::Outcome::PortUnavailable:
        case ClockSyncResult::Outcome::WriteFailed:
            showPortUnavailable();
            break;
        case ClockSyncResult::Outcome::ClockStepped:
            window_.showError(kErrorTitle, kClockSteppedText);
            break;
        case ClockSyncResult::Outcome::Done:
        case ClockSyncResult::Outcome::Stopped:
            break;
    }
}

void ConsoleApp::onTimer(int timerId) {
    if (timerId == kSecondsTimer)
        protocol_.secondsTick();
}

void ConsoleApp::exit() {
    settings_.writePort(currentPort_);
}

void ConsoleApp::showLinkStatus(LinkStatus status) {
    if (status == LinkStatus::Opened) {
        window_.setLabel(kStatusLabel, kOpenedText, kOpenedColour);
    } else {
        window_.setLabel(kStatusLabel, kFailedText, kFailedColour);
    }
}

void ConsoleApp::showPortUnavailable() {
    window_.showError(kErrorTitle, kPortUnavailableText);
}

void ConsoleApp::refreshPortList() {
    std::vector<std::u16string> entries = portListEntries(ports_.existingPorts());
    if (entries != listEntries_)
        fillPortList(entries);
}

void ConsoleApp::fillPortList(const std::vector<std::u16string>& entries) {
    window_.clearList(kPortList);
    for (const std::u16string& name : entries)
        window_.addListEntry(kPortList, name);
    listEntries_ = entries;
    // Whatever the list holds, the current port stays; its entry is selected when it has one.
    window_.selectListEntry(kPortList, portListIndex(entries, currentPort_));
    lastPortText_ = window_.listText(kPortList);
}

void ConsoleApp::onPortListEvent() {
    std::u16string text = window_.listText(kPortList);
    if (text == lastPortText_)
        return;
    lastPortText_ = text;
    currentPort_ = text;
    trialOpening();
}

void ConsoleApp::trialOpening() {
    window_.setLabel(kStatusLabel, kOpeningText, kOpeningColour);
    protocol_.trialOpening();
}

}  // namespace portwand
