"""Saving, opening and closing: the files Facetor writes are compared with those of the
unit-tested image code (the oracle helper) for the same document and date."""

import os
import shutil
import subprocess
import unittest

from facetor_session import (BIN_NAME, CELL_IDS, CLEAR_ALL_BUTTON, EEP_NAMES, MENU_OPEN,
                             MENU_SAVE, OPEN_BUTTON, RADIO_EN, RADIO_RU, RADIO_UA, SAVE_BUTTON,
                             FacetorCase, oracle_files, today, uidriver)

# The document that build_document() makes, as raw cells, placements and styles.
DOCUMENT = [
    "cell 100 48", "cell 101 69", "cell 103 a2", "cell 104 b6",  # H i _ Ё ж
    "place 0 0 5 0",                                             # Hours at column 5
    "style 8 0 3", "place 8 0 7 0",                              # Temperature 1, -10°C
    "style 6 0 1", "place 6 0 0 1",                              # full weekday, row 1
    "cell 125 6f", "cell 126 6b",                                # o k
]


class Saving(FacetorCase):

    def build_document(self):
        self.ui.type_text("Hi Ёж", 120)
        self.wait_cells(100, ["H", "i", "", "Ё", "ж"])
        self.wait_cursor(105)
        self.ui.click(2001)
        self.wait_cursor(107)
        self.ui.click(2013)
        self.wait_cursor(112)
        self.ui.keys("HOME")
        self.ui.keys("DOWN")
        self.wait_cursor(116)
        self.ui.click(2009)
        self.wait_cursor(125)
        self.ui.type_text("ok", 120)
        self.wait_cells(125, ["o", "k"])

    def save_and_compare(self, localization, radio, save):
        self.ui.click(radio)
        before = today()
        save()
        eep_path = os.path.join(self.work, EEP_NAMES[localization])
        bin_path = os.path.join(self.work, BIN_NAME)
        self.assertTrue(uidriver.wait_until(
            lambda: os.path.exists(eep_path) and os.path.getsize(eep_path) == 1273
            and os.path.exists(bin_path), timeout=5), "no files after saving")
        self.wait_idle()
        after = today()
        self.assertIsNone(self.ui.msgbox(300), "a save shows nothing")
        with open(eep_path, "rb") as f:
            eep = f.read()
        with open(bin_path, "rb") as f:
            binary = f.read()
        oracle_dir = uidriver.fresh_folder("oracle-")
        self.addCleanup(uidriver.remove_folder, oracle_dir)
        dates = [before] if before == after else [before, after]
        expected = oracle_files(oracle_dir, DOCUMENT, localization, dates)
        self.assertIn((eep, binary), expected, f"files of localization {localization} differ")
        self.assertEqual(binary[0x1FE], localization)

    def test_each_localization_saves_what_the_image_code_gives(self):
        self.build_document()
        self.save_and_compare(1, RADIO_RU, lambda: self.ui.click(SAVE_BUTTON))
        self.save_and_compare(0, RADIO_EN, lambda: self.ui.menu_command(MENU_SAVE))
        self.save_and_compare(2, RADIO_UA, lambda: self.ui.click(SAVE_BUTTON))
        # Saving changes neither the document nor the cursor.
        self.assertEqual(self.cells(100, 5), ["H", "i", "", "Ё", "ж"])
        self.wait_cursor(127)
        files = sorted(f for f in uidriver.folder_files(self.work) if f != "Facetor.ini")
        self.assertEqual(files, sorted(EEP_NAMES + [BIN_NAME]))


class Opening(FacetorCase):

    def write_file_for(self, localization, as_name):
        oracle_dir = uidriver.fresh_folder("oracle-")
        self.addCleanup(uidriver.remove_folder, oracle_dir)
        commands = ["cell 200 41", "cell 201 a0", "cell 202 e3", "place 9 7 0 0",
                    "place 1 4 14 1"]
        oracle_files(oracle_dir, commands, localization, [today()])
        shutil.copy(os.path.join(oracle_dir, EEP_NAMES[localization]),
                    os.path.join(self.work, as_name))

    def test_opening_loads_the_grid_and_switches_the_localization(self):
        self.ui.type_text("zz", 120)
        self.wait_cells(100, ["z", "z"])
        # A ua image under the ru name: opening reads the ru file and follows its trailer.
        self.write_file_for(2, EEP_NAMES[1])
        self.ui.click(OPEN_BUTTON)
        self.wait_cells(200, ["A", "Б", "д"])
        self.assertEqual(self.cells(100, 2), ["", ""])
        self.assertEqual(self.cells(324, 3), ["+", "2", "2"])        # Temperature 2 on Skin 4 #2
        minute = self.ui.text(2002)[5:7]
        self.assertIn("".join(self.cells(258, 2)), (minute, self.ui.text(2002)[5:7]))
        self.assertEqual([self.ui.checked(r) for r in (RADIO_EN, RADIO_RU, RADIO_UA)],
                         [False, False, True])
        self.wait_cursor(100)

    def test_a_dump_read_back_from_the_clock_opens_as_the_design_itself(self):
        # Cells, the full weekday, a temperature and the alarm count: nothing that ticks.
        design = ["cell 100 48", "cell 101 69", "cell 290 e3", "place 6 3 2 0", "style 6 3 1",
                  "place 8 6 4 1", "style 8 6 3", "place 7 1 0 1"]
        oracle_dir = uidriver.fresh_folder("oracle-")
        self.addCleanup(uidriver.remove_folder, oracle_dir)
        oracle_files(oracle_dir, design, 2, [today()])
        saved = os.path.join(oracle_dir, EEP_NAMES[2])
        opened = os.path.join(self.work, EEP_NAMES[1])

        def open_ru_file():
            self.ui.click(RADIO_RU)
            self.ui.post_click(OPEN_BUTTON)  # a message would hold a sent click
            uidriver.wait_until(lambda: self.ui.msgbox(0) is not None
                                or self.cells(100, 2) == ["H", "i"], timeout=5)
            self.assertIsNone(self.ui.msgbox(0))
            self.wait_cursor(100)
            return ([self.ui.text(cid) for cid in CELL_IDS],
                    [self.ui.checked(r) for r in (RADIO_EN, RADIO_RU, RADIO_UA)])

        shutil.copy(saved, opened)
        design_screen = open_ru_file()
        self.assertEqual(design_screen[1], [False, False, True])
        self.ui.click(CLEAR_ALL_BUTTON)
        self.wait_cells(100, ["", ""])
        # As avrdude reads the EEPROM back: all 512 bytes, the unused gap as the chip keeps it,
        # 32-byte records, LF line ends.
        subprocess.run(["srec_cat", saved, "-intel", "-fill", "0xFF", "0", "0x200",
                        "-o", opened, "-intel", "-obs=32"], check=True, timeout=30)
        self.assertEqual(open_ru_file(), design_screen)

    def test_missing_file_is_reported_and_the_document_kept(self):
        self.ui.type_text("q", 0)
        self.wait_cells(100, ["q"])
        self.ui.click(RADIO_EN)
        self.ui.menu_command(MENU_OPEN)
        self.assertEqual(self.ui.msgbox(5000),
                         ("Information", "Файл   chronotherm_lcd_m168_en.eep   не найден !"))
        self.ui.msgbox_ok()
        self.wait_cursor(100)
        self.assertEqual(self.ui.text(100), "q")
        self.assertTrue(self.ui.checked(RADIO_EN))


if __name__ == "__main__":
    unittest.main()
