// The window operations the editor's behaviour needs. The Win32 front end implements them on real
// controls; tests implement them with a fake window. All texts are UTF-8.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace facetor {

struct Rgb {
    std::uint8_t red, green, blue;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

enum class Answer { Yes, No, Cancel };

class WindowOps {
  public:
    virtual ~WindowOps() = default;

    // Also the text of a menu item, by its id.
    virtual void setText(int controlId, std::string_view utf8) = 0;
    virtual std::string text(int controlId) const = 0;
    // Also greys or enables a menu item, by its id.
    virtual void setEnabled(int controlId, bool enabled) = 0;
    virtual void setChecked(int controlId, bool checked) = 0;
    virtual bool isChecked(int controlId) const = 0;
    virtual void setBackground(int controlId, Rgb colour) = 0;
    // Gives the control the keyboard focus. A cell that gains or loses the focus reports it back
    // later as a control event with its own id (the focus hand-over).
    virtual void setFocus(int controlId) = 0;
    // Modal; returns when the user has pressed OK.
    virtual void showMessage(std::string_view title, std::string_view text) = 0;
    // Modal, with the buttons Yes, No and Cancel.
    virtual Answer askYesNoCancel(std::string_view title, std::string_view text) = 0;
    // Modal, with the buttons Yes and No; true for Yes.
    virtual bool askYesNo(std::string_view title, std::string_view text) = 0;
    // The standard dialogs for choosing an image file; std::nullopt when the user cancels.
    virtual std::optional<std::filesystem::path> chooseFileToOpen() = 0;
    virtual std::optional<std::filesystem::path> chooseFileToSave(
        const std::filesystem::path& suggested) = 0;
    // The text on the clipboard (UTF-8); empty when it holds none.
    virtual std::string clipboardText() const = 0;
    // While the user is asked whether to save at the end of the session: the system shows
    // `reason` (UTF-8) for this window and does not end the session meanwhile.
    virtual void blockEndOfSession(std::string_view reason) = 0;
    virtual void allowEndOfSession() = 0;
    // Ends the program at once (menu "Выход").
    virtual void quit() = 0;
};

struct LocalDateTime {
    int year;     // four digits
    int month;    // 1..12
    int day;      // 1..31
    int hour;     // 0..23
    int minute;   // 0..59
    int second;   // 0..59
    int weekday;  // 0 = Sunday .. 6 = Saturday
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

}  // namespace facetor
