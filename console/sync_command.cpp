#include "console/sync_command.h"

#include "console/remote_protocol.h"

namespace portwand {

namespace {

// Without a window nobody is shown anything; the outcome goes into the report.
class SilentFeedback : public ConsoleFeedback {
  public:
    void showLinkStatus(LinkStatus) override {}
    void showPortUnavailable() override {}
};

bool isSwitch(const std::u16string& argument, std::u16string_view expected) {
    if (argument.size() != expected.size())
        return false;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        char16_t c = argument[i];
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c + 32);
        if (c != expected[i])
            return false;
    }
    return true;
}

std::u16string twoDigits(int number) {
    return {char16_t(u'0' + number / 10 % 10), char16_t(u'0' + number % 10)};
}

std::u16string asciiText(int number) {
    std::string digits = std::to_string(number);
    return {digits.begin(), digits.end()};
}

// "31.12.2026 23:59:59"
std::u16string dateAndTime(const LocalTime& t) {
    return twoDigits(t.day) + u"." + twoDigits(t.month) + u"." + asciiText(t.year) + u" " +
           twoDigits(t.hour) + u":" + twoDigits(t.minute) + u":" + twoDigits(t.second);
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::u16string>& arguments, Program program) {
    using Kind = CommandLine::Kind;
    if (arguments.empty())
        return {Kind::Window, {}};
    if (isSwitch(arguments[0], u"/?"))
        return {arguments.size() == 1 ? Kind::Help : Kind::WrongArguments, {}};
    // The window program ignores what it does not know (a file dropped onto it, say).
    if (!isSwitch(arguments[0], u"/sync"))
        return {program == Program::Window ? Kind::Window : Kind::WrongArguments, {}};
    if (arguments.size() > 2)
        return {Kind::WrongArguments, {}};
    SyncRequest request;
    if (arguments.size() == 2 && !plainPortName(arguments[1]).empty())
        request.port = plainPortName(arguments[1]);
    return {Kind::Sync, request};
}

SyncReport runSync(const SyncRequest& request, SerialLink& link, Clock& clock,
                   SettingsPlaces settings) {
    std::optional<std::u16string> named = request.port;
    if (!named)
        named = settings.currentFolder.storedPort();
    if (!named)
        named = settings.programFolder.storedPort();
    if (!named)
        return {kWrongArguments, kNoPortNamed};
    const std::u16string port = *named;
    SilentFeedback feedback;
    RemoteProtocol protocol(link, port, feedback, clock);
    ClockSyncResult result = protocol.syncClock();
    switch (result.outcome) {
        case ClockSyncResult::Outcome::Done:
            return {kSyncDone, u"Время компьютера передано в порт " + port + u": " +
                                   dateAndTime(result.instant)};
        case ClockSyncResult::Outcome::PortUnavailable:
            return {kSyncFailed, u"Порт " + port + u" недоступен, время не передано"};
        case ClockSyncResult::Outcome::ClockStepped:
            return {kSyncFailed, u"Часы компьютера переводились во время передачи в порт " + port +
                                     u", время передано не полностью"};
        case ClockSyncResult::Outcome::WriteFailed:
        case ClockSyncResult::Outcome::Stopped:
            break;
    }
    return {kSyncFailed, u"Ошибка записи в порт " + port + u", время передано не полностью"};
}

}  // namespace portwand
