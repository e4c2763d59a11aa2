#include "editor/ui/onscreen_keyboard.h"

#include <gtest/gtest.h>

#include "editor/model/lcd_charset.h"
#include "editor/model/text_encoding.h"
#include "editor_harness.h"

namespace facetor::testing {
namespace {

// Each letter key writes what typing its caption on the computer's keyboard would write.
TEST(OnscreenKeyboard, LetterKeysAgreeWithTheTypedCharacterCodes) {
    for (bool caps : {false, true}) {
        for (int id = ids::kFirstLatinKey; id <= ids::kLastKey; ++id) {
            const std::string caption = letterKeyCaption(id, caps);
            ASSERT_FALSE(caption.empty()) << id;
            EXPECT_EQ(keyCode(id, caps), typedCharCode(utf8ToCp1251(caption)))
                << id << " " << caption;
        }
    }
    EXPECT_EQ(letterKeyCaption(2083, true), "Б");
    EXPECT_EQ(letterKeyCaption(2109, false), "я");
}

TEST_F(EditorTest, KeysWriteAtTheCursorAndFollowCapsLock) {
    click(2098);  // у: shown with the Latin y
    EXPECT_EQ(editor.document().cell(100), 0x79);
    EXPECT_EQ(shown(100), "y");
    EXPECT_EQ(cursor(), 101);

    menu(ids::kShortcutCapsLock);
    EXPECT_TRUE(window.isChecked(ids::kCapsLockCheck));
    EXPECT_EQ(window.text(2057), "A");
    EXPECT_EQ(window.text(2084), "В");
    EXPECT_EQ(window.focused, ids::kCaptureBox);
    click(2084);
    EXPECT_EQ(editor.document().cell(101), 0x42);
    EXPECT_EQ(shown(101), "B");

    menu(ids::kShortcutCapsLock);
    EXPECT_FALSE(window.isChecked(ids::kCapsLockCheck));
    EXPECT_EQ(window.text(2084), "в");

    window.setChecked(ids::kCapsLockCheck, true);  // a click switches the box by itself
    click(ids::kCapsLockCheck);
    EXPECT_TRUE(window.isChecked(ids::kCapsLockCheck));
    EXPECT_EQ(window.text(2109), "Я");
    click(2057);
    EXPECT_EQ(shown(102), "A");
}

TEST_F(EditorTest, AKeyOnAFieldRemovesItAndAKeyAtTheEndWrapsToTheStart) {
    click(ids::kHoursButton);
    goTo(101);
    click(2047);
    EXPECT_EQ(shown(100) + "|" + shown(101), "|0");
    EXPECT_EQ(cursor(), 102);

    menu(ids::kShortcutEnd);
    click(2048);
    EXPECT_EQ(shown(355), "1");
    EXPECT_EQ(cursor(), 100);
}

}  // namespace
}  // namespace facetor::testing
