// The console window and all its controls, in one table: the Win32 front end creates them from it
// in its order, and the behaviour refers to them by these ids.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace portwand {

struct Rgb {
    std::uint8_t red, green, blue;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

enum ControlId : int {
    kTabControl = 0,
    kEscButton = 10,
    kMenuButton = 11,
    kUpButton = 12,
    kLeftButton = 13,
    kRightButton = 14,
    kDownButton = 15,
    kBacklightButton = 16,
    kSkinPlusButton = 17,
    kSkinMinusButton = 18,
    kSecondsButton = 19,
    kMinutesButton = 20,
    kHoursButton = 21,
    kDayButton = 22,
    kMonthButton = 23,
    kYearButton = 24,
    kPortList = 50,
    kStatusLabel = 51,
};

// A command of the window's system menu, with its shortcut (a function key). Its id is a multiple
// of 16, as the system menu's must be.
struct CommandSpec {
    int id;
    const char16_t* caption;
    int functionKey;  // 5 for F5
};

// The whole clock in one action.
inline constexpr int kSyncClockCommand = 112;
inline constexpr CommandSpec kSyncClock{kSyncClockCommand, u"Синхронизировать всё", 5};

inline constexpr int kSecondsTimer = 100;
inline constexpr int kSecondsTimerPeriodMs = 100;

enum class FontRole { None, Button, Status };

struct FontSpec {
    FontRole role;
    const char16_t* face;
    int points;
    bool bold;
};

inline constexpr std::array<FontSpec, 2> kFonts{{
    {FontRole::Status, u"Arial", 10, true},
    {FontRole::Button, u"Arial", 16, true},
}};

struct WindowSpec {
    const char16_t* title;
    int clientWidth;
    int clientHeight;
};

inline constexpr WindowSpec kConsoleWindow{u"Portwand", 245, 450};

enum class ControlKind { Tab, Page, Button, DropList, Label };

inline constexpr int kNoPage = -1;

// Buttons are placed relative to their tab page, everything else relative to the client area.
// A Page row names one page of the tab control; the front end lays it over the tab's display area.
struct ControlSpec {
    int id;
    ControlKind kind;
    int page;
    const char16_t* caption;
    int x, y, width, height;
    FontRole font;
};

// Ids of the two page containers; they take no part in the behaviour (and stay clear of the
// dialog manager's IDOK and IDCANCEL).
inline constexpr int kControlPage = 901;
inline constexpr int kSyncPage = 902;

// Creation order: the tab control, each page followed by its buttons, then the list and the label.
inline constexpr std::array<ControlSpec, 20> kConsoleControls{{
    {kTabControl, ControlKind::Tab, kNoPage, u"", 5, 5, 235, 390, FontRole::None},
    {kControlPage, ControlKind::Page, 0, u"Управление", 0, 0, 0, 0, FontRole::None},
    {kEscButton, ControlKind::Button, 0, u"Esc", 10, 10, 70, 40, FontRole::Button},
    {kMenuButton, ControlKind::Button, 0, u"Menu", 150, 10, 70, 40, FontRole::Button},
    {kUpButton, ControlKind::Button, 0, u"Up", 80, 70, 70, 50, FontRole::Button},
    {kLeftButton, ControlKind::Button, 0, u"Left", 10, 120, 70, 50, FontRole::Button},
    {kRightButton, ControlKind::Button, 0, u"Right", 150, 120, 70, 50, FontRole::Button},
    {kDownButton, ControlKind::Button, 0, u"Down", 80, 170, 70, 50, FontRole::Button},
    {kBacklightButton, ControlKind::Button, 0, u"Подсветка", 10, 240, 210, 50, FontRole::Button},
    {kSkinPlusButton, ControlKind::Button, 0, u"Skin +", 10, 305, 100, 50, FontRole::Button},
    {kSkinMinusButton, ControlKind::Button, 0, u"Skin -", 120, 305, 100, 50, FontRole::Button},
    {kSyncPage, ControlKind::Page, 1, u"Синхронизировать", 0, 0, 0, 0, FontRole::None},
    {kSecondsButton, ControlKind::Button, 1, u"Секунды", 10, 10, 210, 40, FontRole::Button},
    {kMinutesButton, ControlKind::Button, 1, u"Минуты", 10, 65, 210, 40, FontRole::Button},
    {kHoursButton, ControlKind::Button, 1, u"Часы", 10, 120, 210, 40, FontRole::Button},
    {kDayButton, ControlKind::Button, 1, u"День", 10, 200, 210, 40, FontRole::Button},
    {kMonthButton, ControlKind::Button, 1, u"Месяц", 10, 255, 210, 40, FontRole::Button},
    {kYearButton, ControlKind::Button, 1, u"Год", 10, 310, 210, 40, FontRole::Button},
    {kPortList, ControlKind::DropList, kNoPage, u"", 30, 410, 70, 25, FontRole::None},
    {kStatusLabel, ControlKind::Label, kNoPage, u"", 130, 412, 100, 15, FontRole::Status},
}};

// The first entries of the port list; the other ports that exist follow them.
inline constexpr std::array<const char16_t*, 9> kPortNames{
    u"COM1", u"COM2", u"COM3", u"COM4", u"COM5", u"COM6", u"COM7", u"COM8", u"COM9"};

inline constexpr char16_t kOpeningText[] = u"Открытие...";
inline constexpr Rgb kOpeningColour{0, 0, 0};
inline constexpr char16_t kOpenedText[] = u"Порт открыт";
inline constexpr Rgb kOpenedColour{12, 2, 202};
inline constexpr char16_t kFailedText[] = u"Ошибка!";
inline constexpr Rgb kFailedColour{253, 4, 2};
// While the whole clock goes out: what is being sent, or the wait for the right moment; Esc
// stops it between two pairs.
inline constexpr char16_t kSyncWaitingText[] = u"Ожидание...";
// By ClockField: year, month, day, hours, minutes, seconds.
inline constexpr char16_t kSyncSendingTexts[6][12] = {u"Год...",  u"Месяц...",  u"День...",
                                                      u"Часы...", u"Минуты...", u"Секунды..."};
inline constexpr char16_t kSyncStoppedText[] = u"Остановлено";
inline constexpr char16_t kErrorTitle[] = u"Ошибка";
inline constexpr char16_t kPortUnavailableText[] = u"Текущий порт недоступен!";
inline constexpr char16_t kClockSteppedText[] =
    u"Часы компьютера переводились во время передачи, время передано не полностью. "
    u"Повторите синхронизацию.";

}  // namespace portwand
