#include "editor/ui/window_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <tuple>

#include "editor/model/cell_address.h"
#include "editor/ui/access_keys.h"
#include "editor/ui/control_ids.h"

namespace facetor {
namespace {

class WindowLayoutTest : public ::testing::Test {
  protected:
    std::vector<ControlSpec> layout = windowLayout(Localizations::initial());

    const ControlSpec& control(int id) const {
        auto it = std::find_if(layout.begin(), layout.end(),
                               [id](const ControlSpec& c) { return c.id == id; });
        EXPECT_NE(it, layout.end()) << "no control " << id;
        return *it;
    }
    int positionOf(int id) const {
        auto it = std::find_if(layout.begin(), layout.end(),
                               [id](const ControlSpec& c) { return c.id == id; });
        return static_cast<int>(it - layout.begin());
    }
};

bool inside(ControlRect inner, ControlRect outer) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

bool overlap(ControlRect a, ControlRect b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

bool isInteractive(ControlKind kind) {
    return kind != ControlKind::Frame && kind != ControlKind::Label;
}

TEST_F(WindowLayoutTest, IdsAreUniqueAndWithinTheirRanges) {
    std::set<int> seen;
    for (const ControlSpec& c : layout) {
        EXPECT_TRUE(seen.insert(c.id).second) << "duplicate id " << c.id;
        const bool known = isCellId(c.id) || c.id == 360 || (c.id >= 1011 && c.id <= 1118) ||
                           (c.id >= 2001 && c.id <= 2017) || (c.id >= 2024 && c.id <= 2109) ||
                           (c.id >= 3001 && c.id <= 3007) || (c.id >= 3010 && c.id <= 3012);
        EXPECT_TRUE(known) << "id outside the documented ranges: " << c.id;
        const bool passive = c.kind == ControlKind::Frame || c.kind == ControlKind::Label;
        EXPECT_EQ(passive, c.id >= 1011 && c.id <= 1118) << c.id;
    }
    EXPECT_EQ(std::count_if(layout.begin(), layout.end(),
                            [](const ControlSpec& c) { return c.kind == ControlKind::CellEdit; }),
              kCellCount);
    EXPECT_EQ(seen.size(), layout.size());
}

// Cells are created in CellId order, and each stands where the visual grid puts it.
TEST_F(WindowLayoutTest, CellsFollowTheCellIdFormulaAndTheVisualGrid) {
    constexpr std::array<int, 8> kVisualRowY{40, 72, 130, 162, 240, 272, 330, 362};
    int previous = 0;
    for (const ControlSpec& c : layout) {
        if (c.kind != ControlKind::CellEdit) {
            continue;
        }
        EXPECT_EQ(c.id, previous == 0 ? 100 : previous + 1);
        previous = c.id;
        const auto id = static_cast<CellId>(c.id);
        const int skin = screenOf(id) / 2;
        const int visualRow = 4 * (skin / 2) + 2 * (screenOf(id) % 2) + rowOf(id);
        const int visualColumn = 16 * (skin % 2) + columnOf(id);
        const int x = visualColumn < 16 ? 20 + 22 * visualColumn : 400 + 22 * (visualColumn - 16);
        EXPECT_EQ(c.rect, (ControlRect{x, kVisualRowY[visualRow], 20, 30})) << c.id;
        EXPECT_EQ(c.font, FontRole::Cell);
        EXPECT_TRUE(c.caption.empty());
    }
    EXPECT_EQ(previous, 355);

    EXPECT_EQ(control(100).toolTip, "skin1/1 x=0 y=0");
    EXPECT_EQ(control(115).toolTip, "skin1/1 x=15 y=0");
    EXPECT_EQ(control(116).toolTip, "skin1/1 x=0 y=1");
    EXPECT_EQ(control(163).toolTip, "skin1/2 x=15 y=1");
    EXPECT_EQ(control(163).rect, (ControlRect{350, 162, 20, 30}));
    EXPECT_EQ(control(164).toolTip, "skin2/1 x=0 y=0");
    EXPECT_EQ(control(164).rect, (ControlRect{400, 40, 20, 30}));
    EXPECT_EQ(control(260).toolTip, "skin3/2 x=0 y=0");
    EXPECT_EQ(control(355).toolTip, "skin4/2 x=15 y=1");
    EXPECT_EQ(control(355).rect, (ControlRect{730, 362, 20, 30}));
}

TEST_F(WindowLayoutTest, EverythingButTheCaptureBoxFitsTheClientArea) {
    const ControlRect client{0, 0, kClientWidth, kClientHeight};
    for (const ControlSpec& c : layout) {
        if (c.id == 360) {
            EXPECT_EQ(c.rect, (ControlRect{772, 600, 1, 1}));
            EXPECT_FALSE(overlap(c.rect, client)) << "the capture box must stay out of sight";
            continue;
        }
        EXPECT_TRUE(inside(c.rect, client)) << c.id;
    }
}

// A typo in a coordinate shows up as two controls on top of each other or a control that
// leaves its frame.
TEST_F(WindowLayoutTest, InteractiveControlsDoNotOverlapAndStayInTheirFrames) {
    std::vector<ControlRect> frames;
    for (const ControlSpec& c : layout) {
        if (c.kind == ControlKind::Frame) {
            frames.push_back(c.rect);
        }
    }
    EXPECT_EQ(frames.size(), 11u);
    for (size_t i = 0; i < layout.size(); ++i) {
        const ControlSpec& a = layout[i];
        if (!isInteractive(a.kind) || a.id == 360) {
            continue;
        }
        for (size_t j = i + 1; j < layout.size(); ++j) {
            if (isInteractive(layout[j].kind)) {
                EXPECT_FALSE(overlap(a.rect, layout[j].rect)) << a.id << " / " << layout[j].id;
            }
        }
        const bool bottomButton = a.id >= 3004 && a.id <= 3007;
        const bool framed = std::any_of(frames.begin(), frames.end(),
                                        [&](ControlRect f) { return inside(a.rect, f); });
        EXPECT_EQ(framed, !bottomButton) << a.id;
    }
}

TEST_F(WindowLayoutTest, KeyboardRowsStandTwentyFivePixelsApart) {
    const std::vector<int> firstRow{2047, 2048, 2049, 2050, 2051, 2052, 2053, 2054, 2055, 2056,
                                    2031, 2029, 2033, 2034, 2032, 2024, 2030, 2028, 2036};
    const std::string firstRowCaptions = "0123456789.,:;/'-+=";
    for (size_t i = 0; i < firstRow.size(); ++i) {
        const ControlSpec& key = control(firstRow[i]);
        EXPECT_EQ(key.rect, (ControlRect{15 + 25 * static_cast<int>(i), 565, 20, 30}));
        EXPECT_EQ(key.caption, firstRowCaptions.substr(i, 1));
        EXPECT_EQ(key.kind, ControlKind::PushButton);
    }
    for (int k = 0; k < 26; ++k) {
        EXPECT_EQ(control(2057 + k).rect, (ControlRect{15 + 25 * k, 600, 20, 30}));
        EXPECT_TRUE(control(2057 + k).caption.empty());
    }
    for (int k = 0; k < 27; ++k) {
        EXPECT_EQ(control(2083 + k).rect, (ControlRect{15 + 25 * k, 635, 20, 30}));
        EXPECT_TRUE(control(2083 + k).caption.empty());
    }
    // Keys 2025..2027, 2035 and 2037..2046 do not exist.
    int keys = 0;
    for (const ControlSpec& c : layout) {
        keys += c.id >= 2024 && c.id <= 2109;
    }
    EXPECT_EQ(keys, 19 + 26 + 27);
}

TEST_F(WindowLayoutTest, LocalizationRadiosFormOneGroupWithRuOn) {
    const ControlSpec& en = control(3010);
    const ControlSpec& ru = control(3011);
    const ControlSpec& ua = control(3012);
    EXPECT_EQ(en.caption, "en");
    EXPECT_EQ(ru.caption, "ru");
    EXPECT_EQ(ua.caption, "ua");
    EXPECT_EQ(en.toolTip, "Английская локализация (chronotherm_lcd_m168_en.eep)");
    EXPECT_EQ(ru.toolTip, "Русская локализация (chronotherm_lcd_m168_ru.eep)");
    EXPECT_EQ(ua.toolTip, "Украинская локализация (chronotherm_lcd_m168_ua.eep)");
    EXPECT_TRUE(en.startsRadioGroup);
    EXPECT_FALSE(ru.startsRadioGroup || ua.startsRadioGroup);
    EXPECT_EQ(positionOf(3011), positionOf(3010) + 1);
    EXPECT_EQ(positionOf(3012), positionOf(3010) + 2);
    int checked = 0;
    for (const ControlSpec& c : layout) {
        if (c.initiallyChecked) {
            ++checked;
            EXPECT_EQ(c.id, 3011);
        }
    }
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(control(3003).kind, ControlKind::CheckBox);
    EXPECT_EQ(control(3003).caption, "Caps Lock");
}

TEST_F(WindowLayoutTest, ToolTipsFollowTheNamesTheyAreGiven) {
    Localizations renamed = Localizations::initial();
    renamed.items[2].imageFileName = "other.eep";
    const auto other = windowLayout(renamed);
    auto ua = std::find_if(other.begin(), other.end(), [](auto& c) { return c.id == 3012; });
    ASSERT_NE(ua, other.end());
    EXPECT_EQ(ua->toolTip, "Украинская локализация (other.eep)");
}

TEST_F(WindowLayoutTest, BuildOrderGoesFromTheSkinsToTheKeyboard) {
    const std::vector<int> milestones{1011, 100,  1041, 355,  360,  1101, 2001, 1105,
                                      1110, 1112, 1114, 1116, 3010, 3003, 3001, 3002,
                                      3004, 3007, 1118, 2047, 2057, 2083, 2109};
    std::vector<int> positions;
    for (int id : milestones) {
        positions.push_back(positionOf(id));
    }
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_EQ(layout.front().id, 1011);
    EXPECT_EQ(layout.back().id, 2109);
    // A Skin area's labels come before its cells, and Skin 4's frame after Skin 3's last cell.
    EXPECT_LT(positionOf(1044), positionOf(292));
    EXPECT_GT(positionOf(1041), positionOf(291));
}

TEST_F(WindowLayoutTest, FontsByRole) {
    std::map<int, FontRole> expected{{1102, FontRole::GroupCaption}, {1106, FontRole::GroupCaption},
                                     {1111, FontRole::GroupCaption}, {1113, FontRole::GroupCaption},
                                     {1115, FontRole::GroupCaption}, {1117, FontRole::GroupCaption},
                                     {1103, FontRole::Separator},    {1104, FontRole::Separator},
                                     {1107, FontRole::Separator},    {1108, FontRole::Separator},
                                     {1109, FontRole::Separator},    {360, FontRole::Capture}};
    for (const ControlSpec& c : layout) {
        FontRole want = isCellId(c.id) ? FontRole::Cell : FontRole::DefaultGui;
        if (auto it = expected.find(c.id); it != expected.end()) {
            want = it->second;
        }
        EXPECT_EQ(c.font, want) << c.id;
    }
    EXPECT_EQ(fontSpec(FontRole::Cell).face, "Courier");
    EXPECT_EQ(fontSpec(FontRole::Cell).points, 16);
    EXPECT_TRUE(fontSpec(FontRole::Cell).bold);
    EXPECT_EQ(fontSpec(FontRole::Capture).points, 1);
    EXPECT_FALSE(fontSpec(FontRole::Capture).bold);
    EXPECT_EQ(fontSpec(FontRole::GroupCaption).face, "Arial");
    EXPECT_EQ(fontSpec(FontRole::Separator).points, 16);
    EXPECT_TRUE(fontSpec(FontRole::DefaultGui).face.empty());
}

TEST(WindowMenuTest, MenusAndShortcutsRaiseTheirEvents) {
    // The visible text: the "&" only marks the access key.
    const auto visible = [](std::string_view caption) {
        std::string text(caption);
        std::erase(text, '&');
        return text;
    };
    EXPECT_EQ(visible(kFileMenuCaption) + visible(kEditMenuCaption), "ФайлПравка");
    const auto file = fileMenu();
    ASSERT_EQ(file.size(), 7u);
    EXPECT_EQ(visible(file[0].caption), "Открыть eep-файл\tCtrl+O");
    EXPECT_EQ(file[0].picture, kOpenPicture);
    EXPECT_EQ(visible(file[3].caption), "Сохранить bin/eep-файл");
    EXPECT_EQ(file[3].id, ids::kMenuSave);
    EXPECT_EQ(file[3].picture, kSavePicture);
    EXPECT_EQ(file[5].id, 0);
    EXPECT_EQ(visible(file[6].caption), "Выход");
    EXPECT_EQ(visible(editMenu().at(0).caption), "Отменить\tCtrl+Z");

    // Each key with its modifiers raises one event; the menu's own items are among them.
    std::set<std::tuple<int, bool, bool>> keys;
    std::set<int> events;
    for (const ShortcutSpec& s : shortcuts()) {
        EXPECT_TRUE(keys.insert({s.virtualKey, s.control, s.shift}).second);
        events.insert(s.eventId);
    }
    EXPECT_EQ(events, (std::set<int>{21, 25, 26, 27, 28, 29, 30, 31, 32, 33, ids::kMenuUndo,
                                     ids::kMenuRedo, ids::kMenuOpenAs, ids::kMenuSaveAs,
                                     ids::kMenuSaveHere, ids::kShortcutPaste}));
    EXPECT_TRUE(keys.count({0x14, false, false}));  // Caps Lock
    EXPECT_TRUE(keys.count({0x08, false, false}));  // Backspace
}

// Alt+Ф and the letters in an open menu work in the Russian layout and, by the same keys, in the
// English one.
TEST(WindowMenuTest, AccessKeysWorkInEitherKeyboardLayout) {
    const auto captions = [](const std::vector<MenuItemSpec>& items) {
        std::vector<std::string> texts;
        for (const MenuItemSpec& item : items) {
            texts.push_back(item.caption);
        }
        return texts;
    };
    const std::vector<std::string> bar = {std::string(kFileMenuCaption),
                                          std::string(kEditMenuCaption), "R&&D.eep"};
    const struct {
        std::vector<std::string> menu;
        char32_t typed;
        std::optional<int> item;
    } cases[] = {
        {bar, U'ф', 0},
        {bar, U'Ф', 0},
        {bar, U'a', 0},
        {bar, U'A', 0},
        {bar, U'п', 1},
        {bar, U'g', 1},
        {bar, U'd', std::nullopt},  // "&&" is a plain "&" in a file name
        {bar, U'x', std::nullopt},
        {captions(fileMenu()), U'c', 2},  // "Сохранить"
        {captions(fileMenu()), U'f', 3},  // "Сохранить bin/eep-файл" by its А
        {captions(fileMenu()), U'к', 4},
        {captions(fileMenu()), U'd', 6},  // "Выход"
        {captions(editMenu()), U'j', 0},
        {captions(editMenu()), U'О', 0},
        {captions(editMenu()), U'g', 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(itemOfAccessKey(c.menu, c.typed), c.item) << static_cast<int>(c.typed);
    }
}

}  // namespace
}  // namespace facetor
