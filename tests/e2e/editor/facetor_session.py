"""Shared set-up of Facetor's end-to-end tests: each test runs Facetor in its own fresh working
folder and drives it with uidriver."""

import datetime
import glob
import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.abspath(os.path.join(os.path.dirname(__file__), "..")))
import uidriver  # noqa: E402

FACETOR_EXE = os.path.join(uidriver.build_dir(), "editor", "ui", "win32", "Facetor.exe")
ORACLE_EXE = os.path.join(uidriver.build_dir(), "tests", "e2e", "editor",
                          "facetor_image_oracle.exe")
SETTINGS_FILE = os.path.join(uidriver.source_dir(), "editor", "Facetor.ini")

EEP_NAMES = ["chronotherm_lcd_m168_en.eep", "chronotherm_lcd_m168_ru.eep",
             "chronotherm_lcd_m168_ua.eep"]
BIN_NAME = "chronotherm_lcd_m168.bin"

# Control ids.
CAPTURE = 360
FIELD_BUTTONS = list(range(2001, 2018))
LATIN_KEYS = list(range(2057, 2083))
CYRILLIC_KEYS = list(range(2083, 2110))
CAPS_LOCK = 3003
BACKSPACE_BUTTON, DELETE_BUTTON = 3001, 3002
OPEN_BUTTON, SAVE_BUTTON, CLEAR_ALL_BUTTON, CLEAR_SCREEN_BUTTON = 3004, 3005, 3006, 3007
RADIO_EN, RADIO_RU, RADIO_UA = 3010, 3011, 3012
MENU_OPEN, MENU_SAVE, MENU_EXIT = 21, 22, 23
MENU_UNDO, MENU_REDO, MENU_OPEN_AS, MENU_SAVE_AS = 34, 35, 36, 37

# Cell backgrounds.
BLANK_COLOUR = (0, 204, 153)
FILLED_COLOUR = (0, 204, 255)
CURSOR_COLOUR = (255, 204, 153)

CELL_IDS = range(100, 356)


def cell_id(screen, row, column):
    return 100 + 32 * screen + 16 * row + column


def cell_rect(cid):
    """Where the window puts a cell: Skins 1 and 3 on the left, 2 and 4 on the right."""
    screen, rest = divmod(cid - 100, 32)
    row, column = divmod(rest, 16)
    skin = screen // 2
    rows_y = [40, 72, 130, 162, 240, 272, 330, 362]
    visual_row = 4 * (skin // 2) + 2 * (screen % 2) + row
    return (20 if skin % 2 == 0 else 400) + 22 * column, rows_y[visual_row], 20, 30


def recovery_copies():
    """The copies of unsaved work that Facetor keeps in the user's folder of the tests' prefix."""
    prefix = uidriver.wine_env()["WINEPREFIX"]
    return glob.glob(os.path.join(prefix, "drive_c", "users", "*", "AppData", "Local", "Facetor",
                                  "Recovery", "*"))


def remove_recovery_copies():
    for copy in recovery_copies():
        os.remove(copy)


class FacetorCase(unittest.TestCase):
    """Starts Facetor in a fresh folder before each test and closes it afterwards."""

    with_settings = True  # copy the repository's Facetor.ini into the working folder
    arguments = ()  # Facetor's command line

    def setUp(self):
        self.work = uidriver.fresh_folder("facetor-")
        self.addCleanup(uidriver.remove_folder, self.work)
        if self.with_settings:
            shutil.copy(SETTINGS_FILE, self.work)
        self.prepare_folder()
        # A copy left by another test's Facetor would be offered at start.
        remove_recovery_copies()
        self.addCleanup(remove_recovery_copies)
        self.process = uidriver.launch(getattr(self, "program", FACETOR_EXE), self.work,
                                       self.arguments)
        self.addCleanup(uidriver.stop, self.process)
        self.ui = uidriver.UiDriver()
        self.addCleanup(self.ui.close_driver)
        self.addCleanup(self._close_window)
        self.ui.attach("Facetor", 60000)
        if self.with_settings:
            self.wait_ready()

    def prepare_folder(self):
        """Puts what a test needs into the working folder before Facetor starts (and may set
        `self.program` to a Facetor.exe of its own)."""

    def _close_window(self):
        if self.process.poll() is None:
            try:
                while self.ui.msgbox(0) is not None:
                    self.ui.msgbox_ok()
                self.ui.close()
                # Unsaved work: the question comes, however late, and the work is left unsaved.
                # Without it the window closes, and the driver says so (DriverError).
                if uidriver.wait_until(lambda: self.ui.msgbox(0) is not None, timeout=10):
                    self.ui.msgbox_press(self.ui.IDNO)
                self.ui.wait_closed(10000)
            except uidriver.DriverError:
                pass

    def wait_ready(self):
        """Start-up is over once the focus rests in the capture box, the keys are labelled and
        the first timer tick has written the clock captions."""
        ready = uidriver.wait_until(
            lambda: self.ui.focus() == CAPTURE and self.ui.text(2057) != ""
            and self.ui.text(2001) != "", timeout=20)
        self.assertTrue(ready, "Facetor did not finish its start-up")

    def wait_idle(self):
        """Waits until no message box or dialog is open, the focus rests in the capture box and
        everything typed has been taken in."""
        idle = uidriver.wait_until(
            lambda: self.ui.msgbox(0) is None and self.ui.focus() == CAPTURE
            and self.ui.text(CAPTURE) == "", timeout=5)
        self.assertTrue(idle, "Facetor did not come back to typing")
        self.ui.sync()

    def cells(self, first, count):
        return [self.ui.text(i) for i in range(first, first + count)]

    def wait_cells(self, first, expected, timeout=3.0):
        value = uidriver.wait_until(
            lambda: self.cells(first, len(expected)) == expected, timeout=timeout)
        self.assertEqual(self.cells(first, len(expected)), expected)
        return value

    def cell_colour(self, cid):
        """The background of a cell: the first corner inside its sunken edge that the glyph
        leaves in one of the cell colours."""
        x, y, w, h = cell_rect(cid)
        corners = [(x + 3, y + 3), (x + w - 4, y + h - 4), (x + 3, y + h - 4), (x + w - 4, y + 3)]
        first = None
        for px, py in corners:
            colour = self.ui.pixel(px, py)
            if colour in (BLANK_COLOUR, FILLED_COLOUR, CURSOR_COLOUR):
                return colour
            first = first or colour
        return first

    def cells_in_cursor_colour(self):
        return [cid for cid in CELL_IDS if self.cell_colour(cid) == CURSOR_COLOUR]

    def cursor(self):
        """The cursor cell, told by its colour (the one cell in the cursor colour)."""
        found = self.cells_in_cursor_colour()
        self.assertEqual(len(found), 1, f"cells in the cursor colour: {found}")
        return found[0]

    def wait_cursor(self, expected, timeout=3.0):
        uidriver.wait_until(lambda: self.cell_colour(expected) == CURSOR_COLOUR,
                            timeout=timeout)
        # The cell the cursor left may be repainted a moment after the one it reached.
        deadline = time.monotonic() + timeout
        found = self.cells_in_cursor_colour()
        while found != [expected] and time.monotonic() < deadline:
            time.sleep(0.05)
            found = self.cells_in_cursor_colour()
        self.assertEqual(found, [expected], "cells in the cursor colour")

    def enabled_field_buttons(self):
        return [b for b in FIELD_BUTTONS if self.ui.enabled(b)]


def oracle_files(folder, commands, localization, dates, settings=False):
    """Runs the image oracle in `folder` once per date; returns the list of (eep, bin) bytes."""
    results = []
    for date in dates:
        script = list(commands)
        if settings:
            script.insert(0, "settings")
        script.append(f"write {localization} {date.day} {date.month} {date.year}")
        subprocess.run([uidriver.WINE, ORACLE_EXE], cwd=folder, env=uidriver.wine_env(),
                       input="\n".join(script) + "\n", text=True, check=True,
                       stdout=subprocess.DEVNULL, timeout=60)
        with open(os.path.join(folder, EEP_NAMES[localization]), "rb") as f:
            eep = f.read()
        with open(os.path.join(folder, BIN_NAME), "rb") as f:
            binary = f.read()
        results.append((eep, binary))
    return results


def today():
    return datetime.date.today()
