// Ids of the editor's controls, menu items, shortcut events and timer.
#pragma once

namespace facetor::ids {

// Cells carry their CellId (100..355).
inline constexpr int kCaptureBox = 360;

// Frames and labels: 1011..1118 (no events).
inline constexpr int kKeyboardFrame = 1118;

// Field buttons.
inline constexpr int kFirstFieldButton = 2001;
inline constexpr int kLastFieldButton = 2017;
inline constexpr int kHoursButton = 2001;
inline constexpr int kMinutesButton = 2002;
inline constexpr int kSecondsButton = 2003;
inline constexpr int kDayButton = 2004;
inline constexpr int kMonthButton = 2005;
inline constexpr int kYearButton = 2006;
inline constexpr int kShortWeekdayButton = 2007;
inline constexpr int kAlarmCountButton = 2008;
inline constexpr int kFullWeekdayButton = 2009;

// On-screen keyboard: 2024..2109; letter keys 2057..2109.
inline constexpr int kFirstKey = 2024;
inline constexpr int kLastKey = 2109;
inline constexpr int kFirstLatinKey = 2057;
inline constexpr int kFirstCyrillicKey = 2083;

inline constexpr int kBackspaceButton = 3001;  // "<--"
inline constexpr int kDeleteButton = 3002;     // "Delete"
inline constexpr int kCapsLockCheck = 3003;
inline constexpr int kOpenButton = 3004;
inline constexpr int kSaveButton = 3005;
inline constexpr int kClearAllButton = 3006;
inline constexpr int kClearScreenButton = 3007;
inline constexpr int kTimer = 3009;
inline constexpr int kTimerPeriodMs = 100;
inline constexpr int kFirstLocalizationRadio = 3010;  // en 3010, ru 3011, ua 3012

// Menu items and window-wide shortcut events.
inline constexpr int kMenuOpen = 21;
inline constexpr int kMenuSave = 22;
inline constexpr int kMenuExit = 23;
inline constexpr int kShortcutUp = 25;
inline constexpr int kShortcutDown = 26;
inline constexpr int kShortcutLeft = 27;
inline constexpr int kShortcutRight = 28;
inline constexpr int kShortcutHome = 29;
inline constexpr int kShortcutEnd = 30;
inline constexpr int kShortcutDelete = 31;
inline constexpr int kShortcutBackspace = 32;
inline constexpr int kShortcutCapsLock = 33;
// Menu items (and their shortcuts) beyond the fixed-name commands.
inline constexpr int kMenuUndo = 34;
inline constexpr int kMenuRedo = 35;
inline constexpr int kMenuOpenAs = 36;  // "Открыть файл..."
inline constexpr int kMenuSaveAs = 37;  // "Сохранить как..."
// "Сохранить" (Ctrl+S): where the work belongs (kMenuSave keeps to the fixed names).
inline constexpr int kMenuSaveHere = 38;
inline constexpr int kShortcutPaste = 39;  // Ctrl+V, Shift+Insert: the clipboard as one step
// The grey item at the right end of the menu bar that names where the work belongs.
inline constexpr int kSaveTargetLabel = 40;
// The menu "Часы": writing the skins into the clock and reading them back, through avrdude.
inline constexpr int kMenuWriteToClock = 41;
inline constexpr int kMenuReadFromClock = 42;
inline constexpr int kMenuProgrammer = 43;

}  // namespace facetor::ids
