"""The on-screen keyboard, the Field buttons and the clear buttons, clicked as a user would."""

import datetime
import unittest

from facetor_session import (BACKSPACE_BUTTON, CAPS_LOCK, CAPTURE, CLEAR_ALL_BUTTON,
                             CLEAR_SCREEN_BUTTON, DELETE_BUTTON, FIELD_BUTTONS, RADIO_EN,
                             BLANK_COLOUR, FILLED_COLOUR, FacetorCase)
from uidriver import wait_until

ROW1 = [(2047 + i, str(i)) for i in range(10)] + [
    (2031, "."), (2029, ","), (2033, ":"), (2034, ";"), (2032, "/"), (2024, "'"), (2030, "-"),
    (2028, "+"), (2036, "=")]


class OnScreenKeyboard(FacetorCase):

    def test_keys_write_their_codes_and_follow_caps_lock(self):
        for key, _ in ROW1:
            self.ui.click(key)
        self.wait_cells(100, [caption for _, caption in ROW1])
        self.wait_cursor(100 + len(ROW1))
        self.assertEqual(self.ui.focus(), CAPTURE)

        self.ui.keys("HOME")
        # Small letters; у writes the Latin y, в its own glyph.
        for key in (2057, 2082, 2083, 2084, 2098, 2109):
            self.ui.click(key)
        self.wait_cells(100, ["a", "z", "б", "в", "y", "я"])

        self.ui.click(CAPS_LOCK)  # the click switches the box itself
        self.assertTrue(wait_until(lambda: self.ui.text(2083) == "Б", timeout=3))
        self.assertTrue(self.ui.checked(CAPS_LOCK))
        self.assertEqual(self.ui.focus(), CAPTURE)
        # Capitals; В, Ь and К take the Latin glyphs B, b and K.
        for key in (2057, 2083, 2084, 2106, 2092, 2087):
            self.ui.click(key)
        self.wait_cells(106, ["A", "Б", "B", "b", "K", "Ё"])

    def test_backspace_and_delete_buttons(self):
        for key in (2057, 2058, 2059):
            self.ui.click(key)
        self.wait_cells(100, ["a", "b", "c"])
        self.ui.click(BACKSPACE_BUTTON)
        self.wait_cells(100, ["a", "b", ""])
        self.wait_cursor(102)
        self.ui.keys("HOME")
        self.ui.click(DELETE_BUTTON)
        self.wait_cells(100, ["", "b", ""])
        self.wait_cursor(100)

    def test_last_cell_wraps_to_the_first(self):
        self.ui.keys("END")
        self.wait_cursor(355)
        self.ui.click(2047)
        self.wait_cells(355, ["0"])
        self.wait_cursor(100)


class FieldButtons(FacetorCase):

    def test_buttons_follow_the_space_left_at_the_cursor(self):
        self.ui.keys("END")            # column 15: nothing fits
        self.wait_cursor(355)
        self.assertEqual(self.enabled_field_buttons(), [])
        self.ui.keys("LEFT")           # column 14: only the 2-position Fields
        self.wait_cursor(354)
        self.assertEqual(self.enabled_field_buttons(), list(range(2001, 2009)))
        self.ui.keys("HOME")
        self.wait_cursor(100)
        self.assertEqual(self.enabled_field_buttons(), FIELD_BUTTONS)
        # A character in column 6 leaves 3 free cells from column 3.
        for _ in range(6):
            self.ui.keys("RIGHT")
        self.ui.type_text("x")
        self.wait_cells(106, ["x"])
        self.ui.keys("HOME")
        for _ in range(3):
            self.ui.keys("RIGHT")
        self.wait_cursor(103)
        self.assertEqual(self.enabled_field_buttons(), list(range(2001, 2009)) + [2010, 2014])

    def test_placed_fields_show_samples_and_block_the_buttons(self):
        self.ui.click(RADIO_EN)
        self.ui.click(2001)            # Hours at column 0
        self.wait_cursor(102)
        self.ui.click(2013)            # Temperature 1, -10°C, at column 2
        self.wait_cursor(107)
        self.ui.click(2009)            # full weekday at column 7
        self.wait_cursor(116)
        hour = self.ui.text(2001)[5:7]  # "Часы(hh)"
        cells = self.cells(100, 16)
        if "".join(cells[0:2]) != hour:  # the hour may have turned meanwhile
            hour = self.ui.text(2001)[5:7]
        self.assertEqual("".join(cells[0:2]), hour)
        self.assertEqual(cells[2:7], ["-", "1", "0", "°", "C"])
        names = ["Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"]
        weekday = (datetime.date.today().isoweekday()) % 7
        self.assertEqual("".join(cells[7:16]).rstrip(), names[weekday])
        self.assertEqual(self.cell_colour(115), FILLED_COLOUR)   # a Field's space counts
        # On a Field every button is disabled; Delete removes the whole Field.
        self.ui.keys("UP")
        self.ui.keys("UP")
        self.ui.keys("DOWN")           # back on row 0, column 0: the Hours Field
        self.wait_cursor(100)
        self.assertEqual(self.enabled_field_buttons(), [])
        self.ui.keys("RIGHT")
        self.ui.keys("DELETE")         # on its second cell
        self.wait_cells(100, ["", ""])
        self.ui.keys("HOME")           # two free cells before the temperature Field
        self.wait_cursor(100)
        self.assertEqual(self.enabled_field_buttons(), list(range(2001, 2009)))
        self.assertEqual(self.cell_colour(101), BLANK_COLOUR)

    def test_field_at_the_end_of_a_screen_moves_on_to_the_next(self):
        self.ui.keys("DOWN")
        for _ in range(14):
            self.ui.keys("RIGHT")      # row 1, column 14 of Skin 1 #1 (cell 130)
        self.wait_cursor(130)
        self.ui.click(2005)            # Month
        self.wait_cursor(132)
        month = f"{datetime.date.today().month:02d}"
        self.assertEqual("".join(self.cells(130, 2)), month)


class ClearButtons(FacetorCase):

    def fill_two_screens(self):
        # Skin 2 #1 (cell 164) and Skin 2 #2 (cell 196).
        for _ in range(16):
            self.ui.keys("RIGHT")
        self.wait_cursor(164)
        self.ui.type_text("ab", 120)
        self.wait_cells(164, ["a", "b"])
        self.ui.keys("DOWN")
        self.ui.keys("DOWN")
        self.wait_cursor(198)
        self.ui.click(2002)            # Minutes at 198
        self.ui.type_text("c", 0)
        self.wait_cells(200, ["c"])

    def test_clear_screen_clears_only_the_cursor_screen(self):
        self.fill_two_screens()
        self.ui.click(CLEAR_SCREEN_BUTTON)
        self.wait_cursor(196)
        self.assertEqual(self.cells(196, 32), [""] * 32)
        self.assertEqual(self.cells(164, 2), ["a", "b"])
        self.assertEqual(self.ui.focus(), CAPTURE)

    def test_clear_all(self):
        self.fill_two_screens()
        self.ui.click(CLEAR_ALL_BUTTON)
        self.wait_cursor(100)
        self.assertEqual(self.cells(100, 256), [""] * 256)


if __name__ == "__main__":
    unittest.main()
