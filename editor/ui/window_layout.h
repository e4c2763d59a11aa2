// The editor window as data: every control with its id, kind, place, caption, tool tip, font and
// initial state, in the order the window builds them; plus the menu and the keyboard shortcuts.
// The Win32 front end creates its controls from this table only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/model/localization.h"

namespace facetor {

inline constexpr int kClientWidth = 770;
inline constexpr int kClientHeight = 730;
inline constexpr std::string_view kWindowTitle = "Facetor";

enum class ControlKind : std::uint8_t {
    Frame,        // flat rectangle with a thin border, no caption
    Label,        // static text
    CellEdit,     // read-only single-line edit box with a sunken edge
    CaptureEdit,  // the hidden editable box that receives typed characters
    PushButton,
    Radio,
    CheckBox,
};

enum class FontRole : std::uint8_t {
    DefaultGui,    // the system's default GUI font
    GroupCaption,  // captions of the Field groups and of the localization group
    Separator,     // ":" "." "," between the Field buttons
    Cell,          // the 256 cell edit boxes
    Capture,       // the hidden capture box
};

struct FontSpec {
    std::string_view face;  // empty for DefaultGui: the system's own face, weight and character set
    int points;             // pixels at 96 DPI are points * 96 / 72
    bool bold;
};

FontSpec fontSpec(FontRole role);

struct ControlRect {
    int x, y, width, height;
    friend constexpr bool operator==(ControlRect, ControlRect) = default;
};

struct ControlSpec {
    int id;
    ControlKind kind;
    ControlRect rect;
    std::string caption;  // UTF-8
    std::string toolTip;  // UTF-8; empty: no tool tip
    FontRole font = FontRole::DefaultGui;
    bool initiallyChecked = false;
    bool startsRadioGroup = false;
};

// All controls in build order. The localization tool tips quote the image file names of
// `localizations` as they stand when the window is built (before the settings are read).
std::vector<ControlSpec> windowLayout(const Localizations& localizations);

// Picture ids of the menu items.
inline constexpr int kOpenPicture = 90;
inline constexpr int kSavePicture = 91;
inline constexpr int kUndoPicture = 92;
inline constexpr int kRedoPicture = 93;
inline constexpr int kNoPicture = 0;

struct MenuItemSpec {
    int id;  // 0: a separator
    std::string caption;
    int picture;
};

// Captions carry their shortcut after a tab, as menus show it, and an "&" before the access key.
inline constexpr std::string_view kFileMenuCaption = "&Файл";
std::vector<MenuItemSpec> fileMenu();
inline constexpr std::string_view kEditMenuCaption = "&Правка";
std::vector<MenuItemSpec> editMenu();

// A window-wide shortcut: a key, with or without Ctrl and Shift, raising a menu event.
struct ShortcutSpec {
    std::uint8_t virtualKey;  // Windows virtual-key code
    int eventId;
    bool control = false;
    bool shift = false;
};

std::vector<ShortcutSpec> shortcuts();

}  // namespace facetor
