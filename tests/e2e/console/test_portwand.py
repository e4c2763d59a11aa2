"""Portwand end to end under Wine: the window, the bytes on a pseudo-terminal mapped as a COM
port, the timed seconds transfer, failing ports, Portwand.ini and the end of a session."""

import os
import subprocess
import time
import unittest

from portwand_e2e import (OPENING, TITLE, PortwandWindowTest, SerialPair, SlowOpen, clock_pair,
                          map_com_ports, portwand_exe, ports_folder, wait_for_fraction)
import uidriver
OPENED = "Порт открыт"
FAILED = "Ошибка!"
BLUE = (12, 2, 202)
RED = (253, 4, 2)

pair5 = SerialPair("com5")
pair12 = SerialPair("com12")
slow12 = None  # the open of COM12, slow when a test asks


def setUpModule():
    global slow12
    pair5.start()
    pair12.start()
    slow12 = SlowOpen("COM12")
    # COM3 and COM4 must not exist, whatever serial ports the machine has.
    map_com_ports({"COM5": pair5.device, "COM12": pair12.device, "COM3": None, "COM4": None})


def tearDownModule():
    slow12.remove()
    pair5.stop()
    pair12.stop()
    map_com_ports({"COM5": None, "COM12": None})


class PortwandTest(PortwandWindowTest):
    def setUp(self):
        super().setUp()
        pair5.read(100, timeout=0.05)  # nothing from earlier tests

    def label_has_colour(self, colour):
        x, y, w, h = self.driver.rect(51)
        return any(self.driver.pixel(px, y + h // 2) == colour for px in range(x, x + w))


class WindowTest(PortwandTest):
    def test_window_layout_and_start_status(self):
        d = self.driver
        self.assertEqual(d.title(), TITLE)
        self.assertEqual(d.client_size(), (245, 450))
        style, _ = d.window_style()
        WS_MAXIMIZEBOX, WS_MINIMIZEBOX, WS_THICKFRAME, WS_SYSMENU = 0x10000, 0x20000, 0x40000, 0x80000
        self.assertTrue(style & WS_MINIMIZEBOX and style & WS_SYSMENU)
        self.assertFalse(style & (WS_MAXIMIZEBOX | WS_THICKFRAME))
        x, y, w, h = d.window_rect()
        sw, sh = d.screen_size()
        self.assertLessEqual(abs((x + w / 2) - sw / 2), 1)
        self.assertLessEqual(abs((y + h / 2) - sh / 2), 1)

        self.assertEqual(d.rect(0), (5, 5, 235, 390))
        self.assertEqual(d.rect(50)[:3], (30, 410, 70))
        self.assertEqual(d.rect(51), (130, 412, 100, 15))
        # Buttons stand relative to their page, which lies inside the tab control.
        page_x, page_y = d.rect(10)[0] - 10, d.rect(10)[1] - 10
        self.assertTrue(5 < page_x < 20 and 5 < page_y < 40, (page_x, page_y))
        expected = {10: ("Esc", 10, 10, 70, 40), 12: ("Up", 80, 70, 70, 50),
                    16: ("Подсветка", 10, 240, 210, 50), 18: ("Skin -", 120, 305, 100, 50),
                    19: ("Секунды", 10, 10, 210, 40), 22: ("День", 10, 200, 210, 40),
                    24: ("Год", 10, 310, 210, 40)}
        for cid, (caption, bx, by, bw, bh) in expected.items():
            self.assertEqual(d.text(cid), caption)
            self.assertEqual(d.rect(cid), (page_x + bx, page_y + by, bw, bh), cid)
        self.assertTrue(d.visible(10))
        self.assertFalse(d.visible(19))

        # First run: COM1 is selected, its state is shown, nothing is written yet.
        entries = [d.combo_item(50, i) for i in range(d.combo_count(50))]
        self.assertEqual(entries[:9], [f"COM{n}" for n in range(1, 10)])
        self.assertIn("COM12", entries[9:])  # mapped by this module
        self.assertEqual(d.combo_cursel(50), 0)
        self.assertIn(d.text(51), (OPENED, FAILED))
        self.assertFalse(os.path.exists(os.path.join(self.work, "Portwand.ini")))
        # Opened, the list shows all its entries without scrolling.
        height, item_height, count = d.combo_open_list(50)
        self.assertEqual(count, len(entries))
        self.assertGreaterEqual(height, count * item_height)

        self.close_window()
        self.assertEqual(self.read_settings(), b"port = COM1\r\n")

    def test_tab_and_shift_tab_move_the_focus(self):
        d = self.driver
        seen = []
        for _ in range(12):
            d.keys("TAB")
            seen.append(d.focus())
        # Every button of the shown page and the port list are reached, in a cycle.
        self.assertTrue(set(range(10, 19)) <= set(seen), seen)
        self.assertIn(50, seen)
        start = d.focus()
        d.keys("TAB")
        after = d.focus()
        d.keys("SHIFT+TAB")
        self.assertEqual(d.focus(), start)
        self.assertNotEqual(after, start)

    def test_switching_pages_shows_the_clock_buttons_and_sends_nothing(self):
        d = self.driver
        tab_x, tab_y, _, _ = d.rect(0)
        # The second page's tab sits to the right of the first one.
        d.click_at(tab_x + 110, tab_y + 10)
        self.assertTrue(uidriver.wait_until(lambda: d.visible(19), timeout=3))
        self.assertFalse(d.visible(10))
        d.keys("TAB")
        self.assertTrue(pair5.silent_for(0.3))


class HighDpiWindowTest(PortwandWindowTest):
    """At 150 % (144 DPI) the window fits the tests' 1280 x 1024 screen: every layout pixel
    becomes one and a half."""

    @classmethod
    def setUpClass(cls):
        cls.enterClassContext(uidriver.display_dpi(144))

    def test_window_and_controls_at_one_and_a_half_times_the_layout(self):
        d = self.driver
        self.assertEqual(d.client_size(), (368, 675))
        left, top, right, bottom = d.work_area()
        x, y, w, h = d.window_rect()
        self.assertTrue(left <= x and top <= y and x + w <= right and y + h <= bottom)
        self.assertEqual(d.rect(0), (8, 8, 353, 585))
        self.assertEqual(d.rect(50), (45, 615, 105, 38))  # closed, as high as the table says
        self.assertEqual(d.rect(51), (195, 618, 150, 23))
        # The pages lie inside the tab control, over its display area under the larger tabs.
        page_x, page_y = d.rect(10)[0] - 15, d.rect(10)[1] - 15
        self.assertTrue(8 < page_x < 30 and 8 + 20 < page_y < 60, (page_x, page_y))
        for cid, (bx, by, bw, bh) in {10: (15, 15, 105, 60), 16: (15, 360, 315, 75),
                                      18: (180, 458, 150, 75), 24: (15, 465, 315, 60)}.items():
            self.assertEqual(d.rect(cid), (page_x + bx, page_y + by, bw, bh), cid)
        # Opened, the list shows all its entries without scrolling.
        height, item_height, count = d.combo_open_list(50)
        self.assertEqual(count, d.combo_count(50))
        self.assertGreaterEqual(height, count * item_height)


class Com5Test(PortwandTest):
    settings = b"; test port\r\nport = COM5\r\n"

    def test_status_shows_the_opened_port_in_blue(self):
        self.assertEqual(self.driver.text(51), OPENED)
        self.assertEqual(self.driver.combo_cursel(50), 4)
        self.assertTrue(self.label_has_colour(BLUE))
        self.assertTrue(pair5.silent_for(0.2))

    def test_every_key_button_sends_its_frame(self):
        frames = {10: b"A0013\n\r", 11: b"A0059\n\r", 12: b"A0032\n\r", 13: b"A0017\n\r",
                  14: b"A0016\n\r", 15: b"A0033\n\r", 16: b"A0012\n\r", 17: b"A0063\n\r",
                  18: b"A0056\n\r"}
        for cid, frame in frames.items():
            self.driver.click(cid)
            self.assertEqual(pair5.read_bytes(7), frame, cid)
        # One frame per press, nothing repeated.
        self.assertTrue(pair5.silent_for(0.3))

    def test_clock_buttons_send_check_and_value_frames_with_a_pause(self):
        buttons = {20: (5, lambda t: t.tm_min), 21: (4, lambda t: t.tm_hour),
                   22: (3, lambda t: t.tm_mday), 23: (2, lambda t: t.tm_mon),
                   24: (1, lambda t: (t.tm_year - 2000) & 0xFF)}
        for cid, (selector, value) in buttons.items():
            before = time.localtime()
            self.driver.click(cid)
            after = time.localtime()
            got = pair5.read(14)
            data = bytes(b for b, _ in got)
            self.assertIn(data, {clock_pair(selector, value(before)), clock_pair(selector, value(after))},
                          cid)
            pause = got[7][1] - got[6][1]
            self.assertGreaterEqual(pause, 0.045, cid)
            self.assertLess(pause, 0.2, cid)
        self.assertTrue(pair5.silent_for(0.3))

    def test_seconds_pair_goes_out_at_the_start_of_the_armed_second(self):
        # Early in a second the timer's ticks send it; late in one the press itself waits.
        for fraction in (0.3, 0.6, 0.9):
            wait_for_fraction(fraction)
            pressed = time.time()
            self.driver.click(19)
            got = pair5.read(14, timeout=3)
            self.assertEqual(len(got), 14)
            first = got[0][1]
            second = time.localtime(first).tm_sec
            self.assertEqual(bytes(b for b, _ in got), clock_pair(6, second))
            # In the second after the press, within a few milliseconds of its start.
            self.assertEqual(int(first), int(pressed) + 1)
            self.assertLess(first - int(first), 0.02)
        self.assertTrue(pair5.silent_for(1.2))

    def test_port_that_vanishes_and_comes_back(self):
        d = self.driver
        d.click(10)
        self.assertEqual(pair5.read_bytes(7), b"A0013\n\r")
        pair5.stop()
        try:
            d.post_click(11)
            self.assertEqual(d.msgbox(5000), ("Ошибка", "Текущий порт недоступен!"))
            self.assertEqual(d.text(51), FAILED)
            d.msgbox_ok()
            self.assertTrue(self.label_has_colour(RED))
        finally:
            pair5.start()
        d.click(12)
        self.assertEqual(pair5.read_bytes(7), b"A0032\n\r")
        self.assertTrue(uidriver.wait_until(lambda: d.text(51) == OPENED))
        self.assertIsNone(d.msgbox(300))

    def test_picked_port_is_tried_and_written_at_exit(self):
        d = self.driver
        d.combo_select(50, 2)  # COM3 does not exist; tried beside the window
        self.assertTrue(uidriver.wait_until(lambda: d.text(51) == FAILED))
        self.assertIsNone(d.msgbox(500))
        d.post_click(13)
        self.assertEqual(d.msgbox(5000), ("Ошибка", "Текущий порт недоступен!"))
        d.msgbox_ok()
        self.assertTrue(pair5.silent_for(0.2))
        self.close_window()
        # Written even though the port failed; the comment stays.
        self.assertEqual(self.read_settings(), b"; test port\r\nport = COM3\r\n")


class MissingPortTest(PortwandTest):
    settings = b"PORT=COM4\r\n[other]\r\nport = COM5\r\n"

    def test_missing_port_shows_the_error_and_sends_nothing(self):
        d = self.driver
        self.assertEqual(d.combo_cursel(50), 3)
        self.assertEqual(d.text(51), FAILED)
        self.assertTrue(self.label_has_colour(RED))
        self.assertIsNone(d.msgbox(300))
        d.post_click(16)
        self.assertEqual(d.msgbox(5000), ("Ошибка", "Текущий порт недоступен!"))
        d.msgbox_ok()
        # The timed seconds transfer fails silently.
        d.click(19)
        self.assertIsNone(d.msgbox(1500))
        self.assertEqual(d.text(51), FAILED)
        self.assertTrue(pair5.silent_for(0.1))
        self.close_window()
        self.assertEqual(self.read_settings(), b"port = COM4\r\n[other]\r\nport = COM5\r\n")


class Com12Test(PortwandTest):
    settings = b"\xef\xbb\xbfport=COM12\r\n"

    def test_port_beyond_com9_is_listed_used_and_kept(self):
        d = self.driver
        self.assertEqual(d.combo_item(50, d.combo_cursel(50)), "COM12")
        self.assertEqual(d.text(51), OPENED)
        d.click(17)
        self.assertEqual(pair12.read_bytes(7), b"A0063\n\r")
        self.assertTrue(pair5.silent_for(0.1))
        self.close_window()
        self.assertEqual(self.read_settings(), b"\xef\xbb\xbf\r\nport = COM12\r\n")


class Utf16SettingsTest(PortwandTest):
    settings = "; порт часов\r\nport = COM12\r\n".encode("utf-16")  # as Notepad's "Юникод"

    def attrib(self, *args):
        done = subprocess.run([uidriver.WINE, "cmd", "/c", "attrib", *args, "Portwand.ini"],
                              cwd=self.work, env=uidriver.wine_env(), capture_output=True,
                              timeout=60, check=True)
        return done.stdout.decode("ascii", "replace")

    def test_utf16_file_is_read_and_written_back_as_it_was_with_its_attributes(self):
        d = self.driver
        self.assertEqual(d.combo_item(50, d.combo_cursel(50)), "COM12")
        self.attrib("+h")
        d.combo_select(50, 4)
        # Logging off keeps the picked port as closing does: Wine's end of a session asks every
        # window, as Windows does.
        subprocess.run([uidriver.WINE, "wineboot", "--end-session"], env=uidriver.wine_env(),
                       capture_output=True, timeout=60, check=True)
        expected = "; порт часов\r\nport = COM5\r\n".encode("utf-16")
        self.assertTrue(uidriver.wait_until(lambda: self.read_settings() == expected, timeout=10),
                        self.read_settings())
        self.assertRegex(self.attrib(), r"^\S*\s+H\s")


class SlowTrialOpeningTest(unittest.TestCase):
    def shown_status_is_dark(self):
        """Whether Portwand's window is on the screen with dark text in its status label, asked of
        the X server: Wine's own calls into a window (FindWindow among them) wait while it is
        busy."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Portwand$"],
                               capture_output=True, text=True)
        if not found.stdout.split():
            return False
        geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell",
                                   found.stdout.split()[0]], capture_output=True, text=True,
                                  check=True).stdout
        g = dict(line.split("=") for line in geometry.split())
        x, y, w, h = (int(g[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        # The client area (245 x 450) stands at the bottom of the window, inside its frame; the
        # label at (130, 412, 100, 15) in it.
        border = (w - 245) // 2
        top = y + h - border - 450
        picture = os.path.join(self.work, "screen.png")
        uidriver.UiDriver.screenshot(picture)
        raw = subprocess.run(["convert", picture, "-crop", f"100x15+{x + border + 130}+{top + 412}",
                              "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
        return any(max(raw[i:i + 3]) < 100 for i in range(0, len(raw), 3))

    def test_window_is_on_screen_saying_so_while_a_slow_port_opens(self):
        self.work = uidriver.fresh_folder("portwand-slow-")
        self.addCleanup(uidriver.remove_folder, self.work)
        with open(os.path.join(self.work, "Portwand.ini"), "wb") as f:
            f.write(b"port = COM12\r\n")
        slow12.set(8000)  # a Bluetooth port whose device is off
        self.addCleanup(slow12.set, 0)
        process = uidriver.launch(portwand_exe(), self.work)
        self.addCleanup(uidriver.stop, process)
        # The status in black ("Открытие..."), not yet the outcome in blue or red.
        self.assertTrue(uidriver.wait_until(self.shown_status_is_dark, timeout=6, interval=0.2))
        d = uidriver.UiDriver()
        self.addCleanup(d.close_driver)
        d.attach(TITLE, 60000)
        self.assertTrue(uidriver.wait_until(lambda: d.text(51) == OPENED, timeout=20))
        d.close()
        d.wait_closed(10000)


class SlowSetupTest(unittest.TestCase):
    def test_window_answers_while_a_port_takes_three_seconds_to_open(self):
        """Only Portwand's own setting up of COM12 is slow (Wine's server, which all Wine programs
        wait for, opens it at once): the driver's messages get through."""
        self.work = uidriver.fresh_folder("portwand-setup-")
        self.addCleanup(uidriver.remove_folder, self.work)
        with open(os.path.join(self.work, "Portwand.ini"), "wb") as f:
            f.write(b"port = COM12\r\n")
        delay = os.path.join(ports_folder(), "setup-delay-ms")
        with open(delay, "w") as f:
            f.write("3000")
        os.environ.update(LCT_SLOW_SETUP_MATCH=os.path.realpath(pair12.device),
                          LCT_SLOW_SETUP_FILE=delay)
        self.addCleanup(os.environ.pop, "LCT_SLOW_SETUP_MATCH", None)
        process = uidriver.launch(portwand_exe(), self.work)
        self.addCleanup(uidriver.stop, process)
        d = uidriver.UiDriver()
        self.addCleanup(d.close_driver)
        d.attach(TITLE, 60000)
        started = time.monotonic()
        answers = 0
        while d.text(51) == OPENING:
            d.sync(200)  # DriverError when the window takes longer to answer
            answers += 1
        self.assertGreater(time.monotonic() - started, 1.5)
        self.assertGreater(answers, 5)
        self.assertEqual(d.text(51), OPENED)
        d.close()
        d.wait_closed(10000)


class FailedWriteTest(PortwandTest):
    settings = b"; keep me\r\nport = COM5\r\n"

    def test_settings_that_cannot_be_written_stay_as_they_were(self):
        os.mkdir(os.path.join(self.work, "Portwand.ini.new"))
        self.driver.combo_select(50, 6)
        self.close_window()
        self.assertEqual(self.read_settings(), b"; keep me\r\nport = COM5\r\n")


if __name__ == "__main__":
    unittest.main()
