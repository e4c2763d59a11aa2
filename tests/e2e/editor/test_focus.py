"""The keyboard always comes back to typing: after mouse clicks on controls, Tab, Space and Enter,
a message box and another window taking the activation. Real key presses and mouse clicks."""

import os
import unittest

from facetor_session import (CAPS_LOCK, CAPTURE, EEP_NAMES, FIELD_BUTTONS, MENU_SAVE, RADIO_EN,
                             RADIO_RU, RADIO_UA, SAVE_BUTTON, FacetorCase, cell_rect, uidriver)


class KeyboardStaysWithTyping(FacetorCase):

    def mouse_click(self, control_id):
        x, y, w, h = self.ui.rect(control_id)
        self.ui.click_at(x + w // 2, y + h // 2)

    def type_and_expect(self, letter, cell):
        self.ui.type_text(letter)
        self.wait_cells(cell, [letter])
        self.assertEqual(self.ui.focus(), CAPTURE)

    def test_mouse_click_on_a_cell_then_typing(self):
        x, y, w, h = cell_rect(120)
        self.ui.click_at(x + w // 2, y + h // 2)
        self.wait_cursor(120)
        self.ui.type_text("xy", 120)
        self.wait_cells(120, ["x", "y"])

    def test_tab_between_letters_is_no_character_and_moves_nothing(self):
        self.ui.type_text("ab", 120)
        self.wait_cells(100, ["a", "b"])
        self.ui.keys("TAB")
        self.ui.type_text("c")
        self.wait_cells(100, ["a", "b", "c"])
        self.ui.keys("SHIFT+TAB TAB")
        self.ui.type_text("d")
        self.wait_cells(100, ["a", "b", "c", "d", ""])
        self.wait_cursor(104)

    def test_tab_then_space_or_enter_clicks_no_button(self):
        self.ui.keys("TAB SPACE")  # the space is typed: a blank cell, the cursor one on
        self.wait_cursor(101)
        self.ui.keys("TAB RETURN TAB TAB RETURN")  # taken in order: before the z, as typed
        self.type_and_expect("z", 101)
        self.assertEqual(self.cells(100, 16), [""] + ["z"] + [""] * 14)  # no Field drawn
        self.wait_cursor(102)
        self.assertEqual(self.enabled_field_buttons(), FIELD_BUTTONS)
        self.assertFalse(self.ui.checked(CAPS_LOCK))
        self.assertTrue(self.ui.checked(RADIO_RU))
        self.assertFalse(any(os.path.exists(os.path.join(self.work, n)) for n in EEP_NAMES))

    def test_typing_after_a_click_on_each_radio_button_the_check_box_and_save(self):
        cell = 100
        for control_id, letter in ((RADIO_EN, "e"), (RADIO_UA, "u"), (RADIO_RU, "r"),
                                   (CAPS_LOCK, "k"), (SAVE_BUTTON, "s")):
            self.mouse_click(control_id)  # typed straight after, as a quick user does
            self.type_and_expect(letter, cell)
            cell += 1
        self.assertTrue(self.ui.checked(RADIO_RU))
        self.assertTrue(self.ui.checked(CAPS_LOCK))
        self.assertTrue(os.path.exists(os.path.join(self.work, EEP_NAMES[1])))

    def test_typing_after_a_message_box(self):
        # A folder in the way of the image file makes the save fail with a message.
        os.mkdir(os.path.join(self.work, EEP_NAMES[1]))
        self.ui.type_text("a")
        self.wait_cells(100, ["a"])
        self.ui.menu_command(MENU_SAVE)
        box = self.ui.msgbox(5000)
        self.assertIsNotNone(box)
        self.assertIn("не сохранён", box[1])
        self.ui.msgbox_ok()
        self.wait_idle()
        self.type_and_expect("b", 101)

    def test_the_menus_open_by_their_access_keys_and_the_context_menu_key_does_nothing(self):
        self.ui.type_text("x")
        self.wait_cells(100, ["x"])
        # No menu of the hidden typing box opens: the next letter is typed as usual.
        self.ui.keys("SHIFT+F10 APPS")
        self.type_and_expect("y", 101)
        self.assertFalse(self.ui.menu_open())
        # Alt+П opens "Правка", whose О is "Отменить"; the English layout types g and j on the
        # keys of П and О.
        self.ui.keys("ALT+G")
        self.assertTrue(uidriver.wait_until(self.ui.menu_open, timeout=3), "no menu")
        self.ui.keys("J")
        self.wait_cells(100, ["x", ""])
        # Alt+Ф opens "Файл", whose С is "Сохранить" (keys a and c).
        self.ui.keys("ALT+A")
        self.assertTrue(uidriver.wait_until(self.ui.menu_open, timeout=3), "no menu")
        self.ui.keys("C")
        self.assertTrue(uidriver.wait_until(
            lambda: os.path.exists(os.path.join(self.work, EEP_NAMES[1])), timeout=5))
        self.assertFalse(self.ui.menu_open())
        self.type_and_expect("z", 101)

    def test_typing_after_another_window_took_the_activation(self):
        other = uidriver.launch("notepad", self.work)
        self.addCleanup(other.kill)
        self.assertTrue(uidriver.wait_until(self._activate_notepad, timeout=30))
        self.assertNotEqual(self.ui.active_title(), "Facetor")
        # Typing activates the editor again the way a click on its title bar or Alt+Tab does.
        self.type_and_expect("n", 100)
        self.assertEqual(self.ui.active_title(), "Facetor")

    def _activate_notepad(self):
        try:
            self.ui.foreground("Notepad")
        except uidriver.DriverError:
            return False
        return "Notepad" in self.ui.active_title()


if __name__ == "__main__":
    unittest.main()
