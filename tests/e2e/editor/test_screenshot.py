"""A sample skin laid out with the keyboard and the Field buttons, and a picture of it
(left in the build folder as e2e-work/facetor.png; docs/facetor.png is a copy)."""

import os
import subprocess
import unittest

from facetor_session import (BLANK_COLOUR, CURSOR_COLOUR, FILLED_COLOUR, RADIO_EN, FacetorCase, cell_id,
                             cell_rect, uidriver)

SCREENSHOT = os.path.join(uidriver.build_dir(), "e2e-work", "facetor.png")


def visual_position(cid):
    screen, rest = divmod(cid - 100, 32)
    row, column = divmod(rest, 16)
    skin = screen // 2
    return 4 * (skin // 2) + 2 * (screen % 2) + row, 16 * (skin % 2) + column


class SampleSkin(FacetorCase):

    def go(self, cid):
        self.ui.keys("HOME")
        row, column = visual_position(cid)
        for _ in range(row):
            self.ui.keys("DOWN")
        for _ in range(column):
            self.ui.keys("RIGHT")
        self.wait_cursor(cid)

    def type(self, text):
        self.ui.type_text(text, 30)

    def press(self, button):
        """A real click: it comes after the letters typed before it, as a user's does."""
        x, y, w, h = self.ui.rect(button)
        self.ui.click_at(x + w // 2, y + h // 2)

    def test_sample_skin_and_its_picture(self):
        self.ui.click(RADIO_EN)
        # Skin 1 #1: time and temperature, date and weekday.
        self.go(cell_id(0, 0, 1))
        for button, separator in ((2001, ":"), (2002, ":"), (2003, None)):
            self.press(button)
            if separator:
                self.type(separator)
        self.go(cell_id(0, 0, 11))
        self.press(2013)
        self.go(cell_id(0, 1, 0))
        for button, separator in ((2004, "."), (2005, "."), (2006, None)):
            self.press(button)
            if separator:
                self.type(separator)
        self.go(cell_id(0, 1, 13))
        self.press(2007)
        # Skin 1 #2: the outdoor sensor.
        self.go(cell_id(1, 0, 0))
        self.type("Улица")
        self.go(cell_id(1, 1, 9))
        self.press(2016)
        # Skin 2 #1: a greeting and the full weekday.
        self.go(cell_id(2, 0, 0))
        self.type("Привет, мир!")
        self.go(cell_id(2, 1, 0))
        self.press(2009)
        # Skin 2 #2: the alarms.
        self.go(cell_id(3, 0, 0))
        self.type("Будильник")
        self.go(cell_id(3, 1, 14))
        self.press(2008)
        # Skin 3 #1: both sensors.
        self.go(cell_id(4, 0, 0))
        self.type("Дом")
        self.press(2011)
        self.go(cell_id(4, 1, 0))
        self.type("Улица")
        self.press(2015)
        self.go(cell_id(6, 0, 0))     # a free spot: every Field button is offered
        uidriver.wait_until(lambda: len(self.enabled_field_buttons()) == 17)
        self.assertEqual(len(self.enabled_field_buttons()), 17)

        self.assertEqual(self.cells(cell_id(0, 0, 3), 1), [":"])
        # Look-alike letters show their Latin glyphs, as on the device.
        self.assertEqual(self.cells(cell_id(2, 0, 0), 12),
                         ["П", "p", "и", "в", "e", "т", ",", "", "м", "и", "p", "!"])
        self.assertEqual(self.cells(cell_id(1, 1, 9), 4), ["+", "2", "2", "°"])
        self.assertEqual(self.cells(cell_id(3, 1, 14), 2), ["{", "}"])

        os.makedirs(os.path.dirname(SCREENSHOT), exist_ok=True)
        # Away from the window, so that no button is lit and no tool tip shows in the picture.
        self.ui.move_mouse(0, 0)
        self.assertTrue(uidriver.wait_until(lambda: not self.ui.lit(), timeout=5),
                        "a button stays lit or a tool tip shows")
        self.wait_idle()
        raw = SCREENSHOT + ".root.png"
        self.ui.screenshot(raw)
        x, y, w, h = self.ui.window_rect()
        client_w, client_h = self.ui.client_size()
        # The client area stands at the bottom of the window, after the caption and the menu.
        left = x + (w - client_w) // 2
        top = y + h - (w - client_w) // 2 - client_h
        menu_top = top - (730 - client_h)
        subprocess.run(["convert", raw, "-crop", f"{client_w}x{730}+{left}+{menu_top}",
                        "+repage", SCREENSHOT], check=True)
        os.remove(raw)

        def picture_pixel(cid):
            cx, cy, _, _ = cell_rect(cid)
            out = subprocess.run(["convert", SCREENSHOT, "-crop",
                                  f"1x1+{cx + 3}+{cy + 3 + 730 - client_h}", "-depth", "8",
                                  "txt:-"], capture_output=True, text=True, check=True).stdout
            rgb = out.splitlines()[1].split("(")[1].split(")")[0].split(",")[:3]
            return tuple(int(float(v)) for v in rgb)

        self.assertEqual(picture_pixel(cell_id(6, 0, 0)), CURSOR_COLOUR)
        self.assertEqual(picture_pixel(cell_id(0, 0, 1)), FILLED_COLOUR)
        self.assertEqual(picture_pixel(cell_id(0, 0, 0)), BLANK_COLOUR)


if __name__ == "__main__":
    unittest.main()
