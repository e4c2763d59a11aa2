#include "editor/ui/window_layout.h"

#include <array>

#include "editor/model/cell_address.h"
#include "editor/ui/control_ids.h"

namespace facetor {
namespace {

struct Builder {
    std::vector<ControlSpec> controls;

    ControlSpec& add(int id, ControlKind kind, ControlRect rect, std::string caption = {},
                     std::string toolTip = {}, FontRole font = FontRole::DefaultGui) {
        controls.push_back({id, kind, rect, std::move(caption), std::move(toolTip), font});
        return controls.back();
    }
    void frame(int id, ControlRect rect) { add(id, ControlKind::Frame, rect); }
    void label(int id, ControlRect rect, std::string caption,
               FontRole font = FontRole::DefaultGui) {
        add(id, ControlKind::Label, rect, std::move(caption), {}, font);
    }
    void button(int id, ControlRect rect, std::string caption, std::string toolTip = {}) {
        add(id, ControlKind::PushButton, rect, std::move(caption), std::move(toolTip));
    }
};

struct SkinArea {
    int frameId;
    ControlRect frame;
    std::string_view caption;
    ControlRect captionRect;
    ControlRect firstScreenLabel;
    ControlRect secondScreenLabel;
    int cellX;
    std::array<int, 4> rowY;  // screen #1 rows 0 and 1, then screen #2 rows 0 and 1
};

constexpr int kCellWidth = 20;
constexpr int kCellHeight = 30;
constexpr int kCellPitch = 22;

constexpr std::array<SkinArea, 4> kSkinAreas{{
    {1011,
     {10, 10, 370, 190},
     "Первый скин",
     {300, 20, 70, 20},
     {20, 20, 30, 20},
     {20, 110, 30, 20},
     20,
     {40, 72, 130, 162}},
    {1021,
     {390, 10, 370, 190},
     "Второй скин",
     {682, 20, 65, 20},
     {400, 20, 30, 20},
     {400, 110, 30, 20},
     400,
     {40, 72, 130, 162}},
    {1031,
     {10, 210, 370, 190},
     "Третий скин",
     {302, 220, 70, 20},
     {20, 220, 30, 20},
     {20, 310, 30, 20},
     20,
     {240, 272, 330, 362}},
    {1041,
     {390, 210, 370, 190},
     "Четвертый скин",
     {660, 220, 95, 20},
     {400, 220, 30, 20},
     {400, 310, 30, 20},
     400,
     {240, 272, 330, 362}},
}};

std::string cellToolTip(int skin, int screenNumber, int column, int row) {
    return "skin" + std::to_string(skin) + "/" + std::to_string(screenNumber) +
           " x=" + std::to_string(column) + " y=" + std::to_string(row);
}

// Frame, caption, "#1" and "#2" labels, then the cells; ids run in creation order, which is
// the CellId order.
void addSkinArea(Builder& b, int skinIndex) {
    const SkinArea& area = kSkinAreas[skinIndex];
    b.frame(area.frameId, area.frame);
    b.label(area.frameId + 1, area.captionRect, std::string(area.caption));
    b.label(area.frameId + 2, area.firstScreenLabel, "#1");
    b.label(area.frameId + 3, area.secondScreenLabel, "#2");
    for (int screenNumber = 0; screenNumber < 2; ++screenNumber) {
        const int screen = 2 * skinIndex + screenNumber;
        for (int row = 0; row < kRowCount; ++row) {
            const int y = area.rowY[2 * screenNumber + row];
            for (int column = 0; column < kColumnCount; ++column) {
                b.add(cellIdOf(screen, row, column), ControlKind::CellEdit,
                      {area.cellX + kCellPitch * column, y, kCellWidth, kCellHeight}, {},
                      cellToolTip(skinIndex + 1, screenNumber + 1, column, row), FontRole::Cell);
            }
        }
    }
}

void addCaptureBox(Builder& b) {
    b.add(ids::kCaptureBox, ControlKind::CaptureEdit, {772, 600, 1, 1}, {}, {}, FontRole::Capture);
}

void addFieldGroups(Builder& b) {
    const auto caption = FontRole::GroupCaption;
    const auto separator = FontRole::Separator;

    b.frame(1101, {10, 410, 250, 65});
    b.label(1102, {110, 415, 50, 20}, "Время", caption);
    b.label(1103, {89, 441, 50, 20}, ":", separator);
    b.label(1104, {174, 441, 50, 20}, ":", separator);
    b.button(2001, {15, 440, 70, 30}, {}, "Часы (2 знакоместа)");
    b.button(2002, {100, 440, 70, 30}, {}, "Минуты (2 знакоместа)");
    b.button(2003, {185, 440, 70, 30}, {}, "Секунды (2 знакоместа)");

    b.frame(1105, {270, 410, 365, 65});
    b.label(1106, {430, 415, 50, 20}, "Дата", caption);
    b.label(1107, {348, 441, 50, 20}, ".", separator);
    b.label(1108, {428, 441, 50, 20}, ".", separator);
    b.label(1109, {508, 441, 50, 20}, ",", separator);
    b.button(2004, {275, 440, 70, 30}, {}, "День месяца (2 знакоместа)");
    b.button(2005, {355, 440, 70, 30}, {}, "Месяц (2 знакоместа)");
    b.button(2006, {435, 440, 70, 30}, {}, "Год (2 знакоместа)");
    b.button(2007, {515, 440, 30, 30}, {}, "День недели (2 знакоместа)");
    b.button(2009, {550, 440, 80, 30}, {}, "День недели (9 знакомест)");

    b.frame(1110, {645, 410, 115, 65});
    b.label(1111, {680, 415, 50, 20}, "кол-во", caption);
    b.button(2008, {650, 440, 105, 30}, "Активн.буд",
             "Колличество активных будильников (2 знакоместа)");

    b.frame(1112, {10, 485, 305, 65});
    b.label(1113, {90, 490, 200, 20}, "Температура (1 датчик)", caption);
    b.button(2010, {15, 515, 70, 30}, "-10", "Температура 1 датчика (3 знакоместа)");
    b.button(2011, {90, 515, 70, 30}, "-10,8", "Температура 1 датчика (5 знакомест)");
    b.button(2012, {165, 515, 70, 30}, "-10°", "Температура 1 датчика (4 знакоместа)");
    b.button(2013, {240, 515, 70, 30}, "-10°C", "Температура 1 датчика (5 знакомест)");

    b.frame(1114, {325, 485, 310, 65});
    b.label(1115, {400, 490, 200, 20}, "Температура (2 датчик)", caption);
    b.button(2014, {330, 515, 70, 30}, "+22", "Температура 2 датчика (3 знакоместа)");
    b.button(2015, {405, 515, 70, 30}, "+22,3", "Температура 2 датчика (5 знакомест)");
    b.button(2016, {480, 515, 70, 30}, "+22°", "Температура 2 датчика (4 знакоместа)");
    b.button(2017, {555, 515, 75, 30}, "+22°C", "Температура 2 датчика (5 знакомест)");
}

void addLocalizationGroup(Builder& b, const Localizations& localizations) {
    static constexpr std::array<std::string_view, kLocalizationCount> kToolTipPrefixes{
        "Английская локализация (", "Русская локализация (", "Украинская локализация ("};
    static constexpr std::array<int, kLocalizationCount> kX{650, 688, 725};
    constexpr int kInitialLocalization = 1;  // ru

    b.frame(1116, {645, 485, 115, 65});
    b.label(1117, {655, 490, 85, 20}, "локализация", FontRole::GroupCaption);
    for (int i = 0; i < kLocalizationCount; ++i) {
        const Localization& localization = localizations.items[i];
        ControlSpec& radio = b.add(
            ids::kFirstLocalizationRadio + i, ControlKind::Radio, {kX[i], 520, 28, 20},
            localization.code, std::string(kToolTipPrefixes[i]) + localization.imageFileName + ")");
        radio.initiallyChecked = i == kInitialLocalization;
        radio.startsRadioGroup = i == 0;
    }
}

void addEditingAndFileButtons(Builder& b) {
    b.add(ids::kCapsLockCheck, ControlKind::CheckBox, {670, 570, 78, 20}, "Caps Lock");
    b.button(ids::kBackspaceButton, {665, 600, 90, 30}, "<--",
             "Очистить знакоместо слева от курсора");
    b.button(ids::kDeleteButton, {690, 635, 65, 30}, "Delete", "Очистить знакоместо под курсором");
    b.button(ids::kOpenButton, {10, 675, 180, 30}, "Открыть eep-файл",
             "Открыть (прочесть) eep-файл");
    b.button(ids::kSaveButton, {200, 675, 180, 30}, "Сохранить eep-файл",
             "Сохранить в eep и bin файлах");
    b.button(ids::kClearAllButton, {390, 675, 180, 30}, "Очистить все скины",
             "Очистить содержимое всех скинов");
    b.button(ids::kClearScreenButton, {580, 675, 180, 30}, "Очистить скин",
             "Очистить содержимое текущего скина");
}

// Three rows of 20 x 30 keys, 25 pixels apart. The letter rows get their captions at start-up.
void addKeyboard(Builder& b) {
    struct Key {
        int id;
        std::string_view caption;
    };
    static constexpr std::array<Key, 19> kFirstRow{{{2047, "0"},
                                                    {2048, "1"},
                                                    {2049, "2"},
                                                    {2050, "3"},
                                                    {2051, "4"},
                                                    {2052, "5"},
                                                    {2053, "6"},
                                                    {2054, "7"},
                                                    {2055, "8"},
                                                    {2056, "9"},
                                                    {2031, "."},
                                                    {2029, ","},
                                                    {2033, ":"},
                                                    {2034, ";"},
                                                    {2032, "/"},
                                                    {2024, "'"},
                                                    {2030, "-"},
                                                    {2028, "+"},
                                                    {2036, "="}}};
    constexpr int kLatinKeys = 26;
    constexpr int kCyrillicKeys = 27;
    auto keyRect = [](int position, int y) { return ControlRect{15 + 25 * position, y, 20, 30}; };

    b.frame(ids::kKeyboardFrame, {10, 560, 750, 110});
    for (int i = 0; i < static_cast<int>(kFirstRow.size()); ++i) {
        b.button(kFirstRow[i].id, keyRect(i, 565), std::string(kFirstRow[i].caption));
    }
    for (int i = 0; i < kLatinKeys; ++i) {
        b.button(ids::kFirstLatinKey + i, keyRect(i, 600), {});
    }
    for (int i = 0; i < kCyrillicKeys; ++i) {
        b.button(ids::kFirstCyrillicKey + i, keyRect(i, 635), {});
    }
}

}  // namespace

FontSpec fontSpec(FontRole role) {
    switch (role) {
        case FontRole::GroupCaption:
            return {"Arial", 10, true};
        case FontRole::Separator:
            return {"Arial", 16, true};
        case FontRole::Cell:
            return {"Courier", 16, true};
        case FontRole::Capture:
            return {"Courier", 1, false};
        case FontRole::DefaultGui:
            break;
    }
    return {"", 8, false};
}

std::vector<ControlSpec> windowLayout(const Localizations& localizations) {
    Builder b;
    b.controls.reserve(400);
    for (int skin = 0; skin < 4; ++skin) {
        addSkinArea(b, skin);
    }
    addCaptureBox(b);
    addFieldGroups(b);
    addLocalizationGroup(b, localizations);
    addEditingAndFileButtons(b);
    addKeyboard(b);
    return std::move(b.controls);
}

// An "&" marks the access key that a menu underlines; the visible text is without it.
std::vector<MenuItemSpec> fileMenu() {
    return {
        {ids::kMenuOpen, "&Открыть eep-файл\tCtrl+O", kOpenPicture},
        {ids::kMenuOpenAs, "Открыть &файл...\tCtrl+Shift+O", kOpenPicture},
        {ids::kMenuSaveHere, "&Сохранить\tCtrl+S", kSavePicture},
        {ids::kMenuSave, "Сохр&анить bin/eep-файл", kSavePicture},
        {ids::kMenuSaveAs, "Сохранить &как...\tCtrl+Shift+S", kSavePicture},
        {0, "", kNoPicture},
        {ids::kMenuExit, "&Выход", kNoPicture},
    };
}

std::vector<MenuItemSpec> editMenu() {
    return {
        {ids::kMenuUndo, "&Отменить\tCtrl+Z", kUndoPicture},
        {ids::kMenuRedo, "&Повторить\tCtrl+Y", kRedoPicture},
    };
}

std::vector<ShortcutSpec> shortcuts() {
    // Windows virtual-key codes.
    constexpr std::uint8_t kUp = 0x26, kDown = 0x28, kLeft = 0x25, kRight = 0x27, kHome = 0x24,
                           kEnd = 0x23, kDelete = 0x2E, kBackspace = 0x08, kCapsLock = 0x14,
                           kInsert = 0x2D;
    constexpr bool kCtrl = true, kShift = true;
    return {
        {kUp, ids::kShortcutUp},
        {kDown, ids::kShortcutDown},
        {kLeft, ids::kShortcutLeft},
        {kRight, ids::kShortcutRight},
        {kHome, ids::kShortcutHome},
        {kEnd, ids::kShortcutEnd},
        {kDelete, ids::kShortcutDelete},
        {kBackspace, ids::kShortcutBackspace},
        {kCapsLock, ids::kShortcutCapsLock},
        {'Z', ids::kMenuUndo, kCtrl},
        {'Y', ids::kMenuRedo, kCtrl},
        {'Z', ids::kMenuRedo, kCtrl, kShift},
        {'O', ids::kMenuOpen, kCtrl},
        {'O', ids::kMenuOpenAs, kCtrl, kShift},
        {'S', ids::kMenuSaveHere, kCtrl},
        {'S', ids::kMenuSaveAs, kCtrl, kShift},
        {'V', ids::kShortcutPaste, kCtrl},
        {kInsert, ids::kShortcutPaste, false, kShift},
    };
}

}  // namespace facetor
