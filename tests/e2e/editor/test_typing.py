"""Typing on the computer's keyboard and the window-wide shortcuts, as real key presses."""

import os
import unittest

from facetor_session import BIN_NAME, CAPS_LOCK, CAPTURE, FacetorCase, uidriver

QUESTION = ("Facetor", "Сохранить изменения перед выходом?")


class Typing(FacetorCase):

    def test_latin_cyrillic_and_ukrainian_letters_land_as_the_device_shows_them(self):
        self.ui.type_text("Hi, World! [x]", 120)
        # The brackets have no glyph on the device: they keep their codes and show a marker.
        self.wait_cells(100, ["H", "i", ",", "", "W", "o", "r", "l", "d", "!", "", "·", "x", "·"])
        self.wait_cursor(114)
        self.ui.keys("HOME")
        # Look-alike letters take the Latin glyph: р -> p, С -> C, у -> y, В -> B.
        self.ui.type_text("Привет СВЕТу Ёж", 120)
        self.wait_cells(100, ["П", "p", "и", "в", "e", "т", "", "C", "B", "E", "T", "y", "", "Ё",
                              "ж"])
        self.ui.keys("HOME")
        # The Ukrainian і and ї are written with the Latin i; є and ґ are not folded.
        self.ui.type_text("їіЇІєґ", 120)
        self.wait_cells(100, ["i", "i", "I", "I", "к", "г"])
        self.assertEqual(self.ui.focus(), CAPTURE)
        self.assertEqual(self.ui.text(CAPTURE), "")

    def test_fast_typing_loses_nothing(self):
        text = "The quick brown fox jumps over the lazy dog 0123456789"
        self.ui.type_text(text, 15)
        expected = ["" if c == " " else c for c in text]
        self.wait_cells(100, expected, timeout=10)
        self.wait_cursor(100 + len(text))

    def test_typing_past_the_last_cell_wraps_to_the_first(self):
        self.ui.keys("END")
        self.wait_cursor(355)
        self.ui.type_text("ab", 150)
        self.wait_cells(355, ["a"])
        self.wait_cells(100, ["b"])
        self.wait_cursor(101)


class Shortcuts(FacetorCase):

    def press(self, key, cursor):
        self.ui.keys(key)
        self.wait_cursor(cursor)
        self.assertEqual(self.ui.focus(), CAPTURE)

    def test_cursor_keys_move_over_the_visual_grid(self):
        self.press("LEFT", 179)    # from Skin 1 column 0 to Skin 2 column 15
        self.press("RIGHT", 100)
        self.press("UP", 276)      # to Skin 3 #2, row 1
        self.press("DOWN", 100)
        self.press("DOWN", 116)
        self.press("DOWN", 132)    # Skin 1 #2
        self.press("END", 355)
        self.press("RIGHT", 276)
        self.press("HOME", 100)
        # The keys never reach the capture box as characters.
        self.assertEqual(self.ui.text(CAPTURE), "")
        self.assertEqual(self.cells(100, 2), ["", ""])

    def test_delete_and_backspace(self):
        self.ui.type_text("abcd", 120)
        self.wait_cells(100, ["a", "b", "c", "d"])
        self.press("BACK", 103)      # clears the cell left of the cursor
        self.wait_cells(100, ["a", "b", "c", ""])
        self.press("LEFT", 102)
        self.press("LEFT", 101)
        self.ui.keys("DELETE")       # clears under the cursor, which stays
        self.wait_cells(100, ["a", "", "c", ""])
        self.wait_cursor(101)
        self.press("HOME", 100)
        self.press("BACK", 100)      # at the first cell: stays there and clears it
        self.wait_cells(100, ["", "", "c", ""])

    def test_caps_lock_key_toggles_the_check_box_and_the_keys(self):
        self.ui.keys("CAPITAL")
        self.assertTrue(self._wait_caps(True))
        self.assertEqual(self.ui.text(2057), "A")
        self.assertEqual(self.ui.text(2109), "Я")
        self.ui.click(2084)          # В with Caps Lock writes the code of the Latin B
        self.wait_cells(100, ["B"])
        self.ui.keys("CAPITAL")
        self.assertTrue(self._wait_caps(False))
        self.assertEqual(self.ui.text(2057), "a")
        self.ui.click(2084)
        self.wait_cells(100, ["B", "в"])
        self.assertEqual(self.ui.focus(), CAPTURE)

    def _wait_caps(self, on):
        from uidriver import wait_until
        return wait_until(lambda: self.ui.checked(CAPS_LOCK) == on
                          and self.ui.text(2057) == ("A" if on else "a"), timeout=3)


class CommandsComeAfterTheLettersTypedBeforeThem(FacetorCase):
    """Letters and a command sent as one burst of input: the command acts on the letters,
    wherever the 100 ms timer falls between them."""

    def saved_cells(self, count):
        try:
            with open(os.path.join(self.work, BIN_NAME), "rb") as f:
                return f.read()[:count]  # the image starts with the cells from 100 on
        except OSError:
            return b""

    def test_backspace_ctrl_s_and_alt_f4_right_after_typing(self):
        letters = "abcdefghijklmnopqrstuvwxyz"
        cells = []  # the expected cells from 100 on
        for i in range(20):
            first, second, third = (letters[(3 * i + k) % 26] for k in range(3))
            # Backspace erases the letter typed just before it, not the one before the letters.
            self.ui.burst(first + "z", "BACK")
            cells.append(first)
            near = cells[-2:] + [""]  # the saved image below checks all the cells before
            self.wait_cells(100 + len(cells) + 1 - len(near), near)
            # Ctrl+S saves the letter typed just before it.
            self.ui.burst(second, "CONTROL+S")
            cells.append(second)
            saved = "".join(cells).encode()
            self.assertTrue(uidriver.wait_until(lambda: self.saved_cells(len(saved)) == saved,
                                                timeout=5), f"round {i}: {self.saved_cells(64)}")
            # Alt+F4 after a letter typed since that save: the letter is unsaved work.
            self.ui.burst(third, "ALT+F4")
            self.assertEqual(self.ui.msgbox(5000), QUESTION, f"round {i}")
            self.ui.msgbox_press(self.ui.IDCANCEL)
            cells.append(third)
            self.wait_cells(100 + len(cells) - 1, [third])
        self.wait_cells(100, cells)
        self.wait_cursor(100 + len(cells))
        self.assertIsNone(self.process.poll())


if __name__ == "__main__":
    unittest.main()
