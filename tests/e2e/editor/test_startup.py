"""Facetor's window as it stands after start-up."""

import re
import unittest

from facetor_session import (BLANK_COLOUR, CAPS_LOCK, CAPTURE, CURSOR_COLOUR, CYRILLIC_KEYS,
                             FIELD_BUTTONS, LATIN_KEYS, RADIO_EN, RADIO_RU, RADIO_UA,
                             FacetorCase, uidriver)

WS_THICKFRAME = 0x00040000
WS_MAXIMIZEBOX = 0x00010000
WS_MINIMIZEBOX = 0x00020000
WS_SYSMENU = 0x00080000
WS_CAPTION = 0x00C00000


class StartWithoutSettings(FacetorCase):
    with_settings = False

    def test_missing_settings_file_is_reported_then_defaults_apply(self):
        self.assertEqual(
            self.ui.msgbox(20000),
            ("Information", "Файл Facetor.ini не найден !  Загружены установки по умолчанию."))
        self.ui.msgbox_ok()
        self.wait_ready()
        self.assertIsNone(self.ui.msgbox(500))
        # The weekday Field button is labelled from the fixed Russian table, whatever the file.
        self.assertRegex(self.ui.text(2007), r"^(Вс|Пн|Вт|Ср|Чт|Пт|Сб)$")


class StartWithSettings(FacetorCase):

    def test_no_message_and_the_initial_state(self):
        self.assertIsNone(self.ui.msgbox(1000))
        self.assertEqual(self.ui.title(), "Facetor")
        self.assertEqual(self.ui.focus(), CAPTURE)
        self.assertEqual([self.ui.checked(r) for r in (RADIO_EN, RADIO_RU, RADIO_UA)],
                         [False, True, False])
        self.assertFalse(self.ui.checked(CAPS_LOCK))
        self.assertEqual("".join(self.ui.text(k) for k in LATIN_KEYS),
                         "abcdefghijklmnopqrstuvwxyz")
        self.assertEqual("".join(self.ui.text(k) for k in CYRILLIC_KEYS),
                         "бвгдёжзийклмнптуфцчшщъыьэюя")
        self.assertEqual([b for b in FIELD_BUTTONS if not self.ui.enabled(b)], [])
        self.assertEqual(self.cells(100, 256), [""] * 256)
        self.assertEqual(self.cell_colour(100), CURSOR_COLOUR)
        self.assertEqual(self.cell_colour(101), BLANK_COLOUR)
        self.assertEqual(self.cell_colour(355), BLANK_COLOUR)

    def test_window_frame_and_client_area(self):
        style, _ = self.ui.window_style()
        self.assertEqual(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
                         WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)
        self.assertEqual(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0)
        # Made for 770 x 730; the menu bar takes its height out of that.
        width, height = self.ui.client_size()
        self.assertEqual(width, 770)
        self.assertTrue(700 <= height < 730, height)
        # Centred on the screen.
        x, y, w, h = self.ui.window_rect()
        screen_w, screen_h = self.ui.screen_size()
        self.assertLessEqual(abs((screen_w - w) // 2 - x), 1)
        self.assertLessEqual(abs((screen_h - h) // 2 - y), 1)

    def test_controls_stand_where_the_layout_puts_them(self):
        expected = {
            1011: (10, 10, 370, 190), 1042: (660, 220, 95, 20), 100: (20, 40, 20, 30),
            163: (350, 162, 20, 30), 164: (400, 40, 20, 30), 355: (730, 362, 20, 30),
            CAPTURE: (772, 600, 1, 1), 2009: (550, 440, 80, 30), 2017: (555, 515, 75, 30),
            RADIO_UA: (725, 520, 28, 20), CAPS_LOCK: (670, 570, 78, 20),
            2036: (465, 565, 20, 30), 2082: (640, 600, 20, 30), 2109: (665, 635, 20, 30),
            3001: (665, 600, 90, 30), 3007: (580, 675, 180, 30), 1118: (10, 560, 750, 110),
        }
        for cid, rect in expected.items():
            self.assertEqual(self.ui.rect(cid), rect, cid)
        captions = {
            1012: "Первый скин", 1044: "#2", 1102: "Время", 1113: "Температура (1 датчик)",
            1117: "локализация", 2008: "Активн.буд", 2012: "-10°", 2017: "+22°C",
            RADIO_EN: "en", CAPS_LOCK: "Caps Lock", 3001: "<--", 3002: "Delete",
            3004: "Открыть eep-файл", 3005: "Сохранить eep-файл", 3006: "Очистить все скины",
            3007: "Очистить скин", 2047: "0", 2036: "=", 2024: "'",
        }
        for cid, caption in captions.items():
            self.assertEqual(self.ui.text(cid), caption, cid)
        self.assertFalse(self.ui.exists(2025))
        self.assertEqual(self.ui.class_name(100).upper(), "EDIT")

    def test_palette_shows_the_running_clock(self):
        pattern = {2001: r"Часы\(\d\d\)", 2002: r"Мин\.\(\d\d\)", 2003: r"Сек\.\(\d\d\)",
                   2004: r"День\(\d\d\)", 2005: r"Месяц\(\d\d\)", 2006: r"Год\(\d{1,2}\)"}
        for cid, regex in pattern.items():
            self.assertRegex(self.ui.text(cid), "^" + regex + "$")
        first = self.ui.text(2003)
        self.assertTrue(uidriver.wait_until(lambda: self.ui.text(2003) != first, timeout=3),
                        "the seconds caption does not run")
        self.assertTrue(re.match(r"^\S+$", self.ui.text(2009)))


class StartOnAHighDpiDisplay(FacetorCase):
    """At 150 % (144 DPI) the window would be too high for the tests' 1280 x 1024 screen: it
    shrinks to fit, its layout and fonts drawn at one smaller scale."""

    @classmethod
    def setUpClass(cls):
        cls.enterClassContext(uidriver.display_dpi(144))

    def test_window_shrinks_onto_the_work_area_with_every_control_scaled_alike(self):
        left, top, right, bottom = self.ui.work_area()
        x, y, w, h = self.ui.window_rect()
        self.assertTrue(left <= x and top <= y and x + w <= right and y + h <= bottom,
                        ((x, y, w, h), (left, top, right, bottom)))
        # The scale, told by the client width: 770 layout pixels, 8 for each step of a DPI.
        width, height = self.ui.client_size()
        dpi = next((d for d in range(97, 144) if (770 * d + 48) // 96 == width), None)
        self.assertIsNotNone(dpi, f"a client width of {width} is no scale between 100 and 150 %")

        def scaled(*layout):
            return tuple((v * dpi + 48) // 96 for v in layout)

        for cid, rect in {1011: (10, 10, 370, 190), 100: (20, 40, 20, 30),
                          355: (730, 362, 20, 30), 2009: (550, 440, 80, 30),
                          2109: (665, 635, 20, 30), 3007: (580, 675, 180, 30)}.items():
            self.assertEqual(self.ui.rect(cid), scaled(*rect), cid)
        # The file buttons, lowest in the layout, are whole under the menu bar.
        self.assertLessEqual(sum(scaled(675, 30)), height)


if __name__ == "__main__":
    unittest.main()
