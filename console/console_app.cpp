#include "console/console_app.h"

namespace portwand {

ConsoleApp::ConsoleApp(WindowOps& window, SerialLink& link, Clock& clock, PortSettings& settings,
                       PortCatalog& ports, PortWorker& worker)
    : window_(window),
      clock_(clock),
      settings_(settings),
      ports_(ports),
      worker_(worker),
      protocol_(link, jobPort_, feedback_, clock) {}

ConsoleApp::~ConsoleApp() {
    stopSync_ = true;
    worker_.finish();
}

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
    auto sendKey = [this](RemoteKey key) { submit([this, key] { protocol_.sendKey(key); }); };
    auto sendClockField = [this](ClockField field) {
        submit([this, field] { protocol_.sendClockField(field); });
    };
    switch (controlId) {
        case kEscButton:
            sendKey(RemoteKey::Esc);
            break;
        case kMenuButton:
            sendKey(RemoteKey::Menu);
            break;
        case kUpButton:
            sendKey(RemoteKey::Up);
            break;
        case kLeftButton:
            sendKey(RemoteKey::Left);
            break;
        case kRightButton:
            sendKey(RemoteKey::Right);
            break;
        case kDownButton:
            sendKey(RemoteKey::Down);
            break;
        case kBacklightButton:
            sendKey(RemoteKey::Backlight);
            break;
        case kSkinPlusButton:
            sendKey(RemoteKey::SkinPlus);
            break;
        case kSkinMinusButton:
            sendKey(RemoteKey::SkinMinus);
            break;
        case kSecondsButton: {
            // The press still belongs to its moment when the worker was busy meanwhile.
            std::int64_t submitted = clock_.steadyMicros();
            submit([this, eventAgeMs, submitted] {
                protocol_.armSeconds(eventAgeMs + int((clock_.steadyMicros() - submitted) / 1000));
            });
            break;
        }
        case kMinutesButton:
            sendClockField(ClockField::Minutes);
            break;
        case kHoursButton:
            sendClockField(ClockField::Hours);
            break;
        case kDayButton:
            sendClockField(ClockField::Day);
            break;
        case kMonthButton:
            sendClockField(ClockField::Month);
            break;
        case kYearButton:
            sendClockField(ClockField::Year);
            break;
        case kPortList:
            onPortListEvent();
            break;
        default:
            break;  // the tab control switches its pages by itself
    }
}

void ConsoleApp::onCommand(int commandId) {
    if (commandId == kSyncClockCommand)
        startSync();
}

void ConsoleApp::onTimer(int timerId) {
    // One tick waits at most while the worker is busy (a slow open, the whole clock).
    if (timerId != kSecondsTimer || tickQueued_.exchange(true))
        return;
    submit([this] {
        tickQueued_ = false;
        protocol_.secondsTick();
    });
}

void ConsoleApp::startSync() {
    // A held F5 repeats: one whole clock at a time.
    if (syncRunning_)
        return;
    syncRunning_ = true;
    stopSync_ = false;
    window_.setLabel(kStatusLabel, kSyncWaitingText, kOpeningColour);
    submit([this] {
        const int selection = jobSelection_;
        WholeClockControl control{
            &stopSync_, [this, selection](std::optional<ClockField> part) {
                postForSelection(selection, [this, part] {
                    window_.setLabel(kStatusLabel,
                                     part ? kSyncSendingTexts[int(*part)] : kSyncWaitingText,
                                     kOpeningColour);
                });
            }};
        ClockSyncResult::Outcome outcome = protocol_.syncClock(control).outcome;
        window_.post([this, selection, outcome] {
            syncRunning_ = false;
            if (selection == selection_)
                showSyncOutcome(outcome);
        });
    });
}

void ConsoleApp::showSyncOutcome(ClockSyncResult::Outcome outcome) {
    using Outcome = ClockSyncResult::Outcome;
    switch (outcome) {
        case Outcome::Done:
            showLinkStatus(LinkStatus::Opened);
            break;
        case Outcome::PortUnavailable:
        case Outcome::WriteFailed:
            showPortUnavailable();
            break;
        case Outcome::ClockStepped:
            showLinkStatus(LinkStatus::Opened);
            showError(kClockSteppedText);
            break;
        case Outcome::Stopped:
            window_.setLabel(kStatusLabel, kSyncStoppedText, kOpeningColour);
            break;
    }
}

void ConsoleApp::submit(std::function<void()> work) {
    worker_.submit(
        [this, port = currentPort_, selection = selection_.load(), work = std::move(work)] {
            jobPort_ = port;
            jobSelection_ = selection;
            work();
        });
}

void ConsoleApp::postForSelection(int selection, std::function<void()> task) {
    window_.post([this, selection, task = std::move(task)] {
        if (selection == selection_)
            task();
    });
}

void ConsoleApp::PostedFeedback::showLinkStatus(LinkStatus status) {
    app_.postForSelection(app_.jobSelection_,
                          [&app = app_, status] { app.showLinkStatus(status); });
}

void ConsoleApp::PostedFeedback::showPortUnavailable() {
    app_.postForSelection(app_.jobSelection_, [&app = app_] { app.showPortUnavailable(); });
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
    showError(kPortUnavailableText);
}

void ConsoleApp::showError(const std::u16string& text) {
    pendingErrors_.push_back(text);
    // A message box's own loop runs the outcomes posted meanwhile: their messages wait for it to
    // close, or the boxes would pile up and the lower ones not close on OK.
    if (showingError_)
        return;
    showingError_ = true;
    while (!pendingErrors_.empty()) {
        std::u16string next = std::move(pendingErrors_.front());
        pendingErrors_.pop_front();
        window_.showError(kErrorTitle, next);
    }
    showingError_ = false;
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
    ++selection_;
    // The whole clock under way is for the port left: it stops between two pairs, and its
    // outcome, for an earlier pick, is not shown.
    if (syncRunning_)
        stopSync_ = true;
    trialOpening();
}

void ConsoleApp::trialOpening() {
    window_.setLabel(kStatusLabel, kOpeningText, kOpeningColour);
    submit([this] {
        // Arrows over the list pick port after port: only the port picked last is tried.
        if (jobSelection_ == selection_)
            protocol_.trialOpening();
    });
}

}  // namespace portwand
