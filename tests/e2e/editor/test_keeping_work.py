"""Nothing of the user's work is lost: undo and redo with real key presses, the question before
unsaved work is lost, designs saved and opened under their own names through the real dialogs,
and a file named on the command line."""

import os
import subprocess
import unittest

from facetor_session import (BIN_NAME, CAPTURE, CLEAR_ALL_BUTTON, EEP_NAMES, FACETOR_EXE,
                             MENU_EXIT, RADIO_EN, RADIO_RU, RADIO_UA, FacetorCase, oracle_files,
                             recovery_copies, today, uidriver)

QUESTION = ("Facetor", "Сохранить изменения перед выходом?")


def read_file(path):
    with open(path, "rb") as f:
        return f.read()


class UndoRedo(FacetorCase):

    def test_ctrl_z_and_ctrl_y_after_typing_a_field_and_clearing_all(self):
        self.ui.type_text("ab", 120)
        self.wait_cells(100, ["a", "b"])
        self.ui.click(2001)  # the hours at 102 and 103
        self.wait_cursor(104)
        hours = self.cells(102, 2)
        self.assertNotEqual(hours, ["", ""])

        self.ui.keys("CONTROL+Z")
        self.wait_cells(100, ["a", "b", "", ""])
        self.wait_cursor(102)
        self.ui.keys("CONTROL+Y")
        uidriver.wait_until(lambda: self.cells(102, 2) != ["", ""])
        self.assertNotEqual(self.cells(102, 2), ["", ""])

        self.ui.click(CLEAR_ALL_BUTTON)
        self.wait_cells(100, ["", "", "", ""])
        self.ui.keys("CONTROL+Z")
        self.wait_cells(100, ["a", "b"])
        self.ui.keys("CONTROL+Z CONTROL+Z")  # the Field, then the b
        self.wait_cells(100, ["a", "", "", ""])
        self.wait_cursor(101)
        self.ui.keys("CONTROL+SHIFT+Z")
        self.wait_cells(100, ["a", "b", "", ""])
        # The shortcuts typed nothing.
        self.assertEqual(self.ui.text(CAPTURE), "")
        self.assertEqual(self.cells(104, 4), ["", "", "", ""])

    def test_a_long_paste_is_one_step(self):
        self.ui.type_text("ok", 60)
        self.wait_cells(100, ["o", "k"])
        pasted = "".join(chr(ord("A") + i % 26) for i in range(1200))
        self.ui.set_clipboard(pasted)
        self.ui.keys("CONTROL+V")
        # From cell 102 on, wrapping after 355: each cell keeps the last character put there.
        grid = {100 + (2 + i) % 256: c for i, c in enumerate(pasted)}
        self.wait_cells(100, [grid[c] for c in range(100, 116)], timeout=10)
        self.assertEqual(self.cells(340, 16), [grid[c] for c in range(340, 356)])
        self.ui.keys("CONTROL+Z")
        self.wait_cells(100, ["o", "k"] + [""] * 14)
        self.assertEqual(self.cells(340, 16), [""] * 16)
        self.wait_cursor(102)


class Closing(FacetorCase):

    def change_something(self):
        self.ui.type_text("x")
        self.wait_cells(100, ["x"])

    def expect_question(self):
        self.assertEqual(self.ui.msgbox(5000), QUESTION)

    def expect_ended(self):
        self.ui.wait_closed(10000)
        self.assertEqual(self.process.wait(timeout=10), 0)

    def test_no_ends_at_once_and_writes_nothing(self):
        self.change_something()
        self.ui.close()
        self.expect_question()
        self.ui.msgbox_press(self.ui.IDNO)
        self.expect_ended()
        self.assertEqual(uidriver.folder_files(self.work), ["Facetor.ini"])

    def test_cancel_goes_back_to_the_editor(self):
        self.change_something()
        self.ui.keys("ALT+F4")
        self.expect_question()
        self.ui.msgbox_press(self.ui.IDCANCEL)
        self.wait_idle()
        self.assertIsNone(self.process.poll())
        self.ui.type_text("y")
        self.wait_cells(100, ["x", "y"])
        self.assertEqual(uidriver.folder_files(self.work), ["Facetor.ini"])

    def test_yes_writes_both_files_then_ends(self):
        self.change_something()
        self.ui.keys("ALT+F4")
        self.expect_question()
        self.ui.msgbox_press(self.ui.IDYES)
        self.expect_ended()
        self.assertEqual(os.path.getsize(os.path.join(self.work, EEP_NAMES[1])), 1273)
        self.assertEqual(os.path.getsize(os.path.join(self.work, BIN_NAME)), 512)

    def test_the_end_of_the_session_asks_only_for_unsaved_work(self):
        self.change_something()
        self.ui.end_session()
        self.expect_question()
        self.ui.msgbox_press(self.ui.IDCANCEL)  # the session must not end
        self.assertIs(self.ui.end_session_result(), False)
        self.wait_idle()
        self.assertIsNone(self.process.poll())
        self.ui.keys("CONTROL+S")
        self.assertTrue(uidriver.wait_until(
            lambda: os.path.exists(os.path.join(self.work, BIN_NAME)), timeout=5))
        self.ui.end_session()  # saved: nothing to ask
        self.assertIs(self.ui.end_session_result(), True)
        self.expect_ended()

    def test_an_unchanged_document_ends_at_once(self):
        self.change_something()
        self.ui.keys("CONTROL+Z")  # back to the empty document
        self.wait_cells(100, [""])
        self.ui.menu_command(MENU_EXIT)
        self.expect_ended()


    def test_an_opening_undone_and_redone_leaves_nothing_to_save(self):
        oracle_files(self.work, ["cell 100 48", "cell 101 69"], 1, [today()])  # "Hi", ru
        files = {name: read_file(os.path.join(self.work, name)) for name in (EEP_NAMES[1], BIN_NAME)}
        for keys, cells in (("CONTROL+O", ["H", "i"]), ("CONTROL+Z", ["", ""]),
                            ("CONTROL+Y", ["H", "i"]), ("CONTROL+Z", ["", ""])):
            self.ui.keys(keys)
            self.wait_cells(100, cells)
        self.ui.keys("ALT+F4")  # back at the untouched start: nothing to ask about
        self.assertIsNone(self.ui.msgbox(1000))
        self.expect_ended()
        for name, content in files.items():
            self.assertEqual(read_file(os.path.join(self.work, name)), content, name)


class DesignsUnderTheirOwnNames(FacetorCase):

    def answer_file_dialog(self, name):
        """Types the name into the dialog that is open and presses Enter, as a user would."""
        dialog = self.ui.msgbox(5000)
        self.assertIsNotNone(dialog, "no file dialog")
        self.ui.activation("manual")  # the dialog is active; typing must not go elsewhere
        try:
            self.ui.type_text(name, 20)
            self.assertTrue(uidriver.wait_until(lambda: name in (self.ui.dialog_edits(0) or [])),
                            "the name did not reach the dialog")
            self.ui.keys("RETURN")
        finally:
            self.ui.activation("auto")
        self.assertTrue(uidriver.wait_until(lambda: self.ui.msgbox(0) is None, timeout=5))

    def saved_cells(self, name, count):
        try:
            with open(os.path.join(self.work, name), "rb") as f:
                return f.read()[:count]
        except OSError:
            return b""

    def test_save_as_and_open_file_through_the_dialogs_and_ctrl_s_saves_there(self):
        self.ui.type_text("kitchen", 60)
        self.wait_cells(100, list("kitchen"))
        self.ui.click(RADIO_EN)
        self.ui.keys("CONTROL+SHIFT+S")
        self.answer_file_dialog("Кухня")
        eep = os.path.join(self.work, "Кухня.eep")
        binary = os.path.join(self.work, "Кухня.bin")
        self.assertTrue(uidriver.wait_until(
            lambda: os.path.exists(eep) and os.path.exists(binary), timeout=5))
        self.assertEqual(os.path.getsize(eep), 1273)
        with open(binary, "rb") as f:
            self.assertEqual(f.read()[0x1FE], 0)  # the en Localization
        self.assertFalse(os.path.exists(os.path.join(self.work, EEP_NAMES[0])))

        # From now on Ctrl+S saves the work where it belongs, not under the fixed names.
        self.ui.type_text("!")
        self.wait_cells(107, ["!"])
        self.ui.keys("CONTROL+S")
        self.assertTrue(uidriver.wait_until(
            lambda: self.saved_cells("Кухня.bin", 8) == b"kitchen!", timeout=5))
        self.assertEqual(sorted(uidriver.folder_files(self.work)),
                         ["Facetor.ini", "Кухня.bin", "Кухня.eep"])

        self.ui.click(CLEAR_ALL_BUTTON)
        self.ui.click(RADIO_RU)
        self.wait_cells(100, [""] * 7)
        self.ui.keys("CONTROL+SHIFT+O")
        self.answer_file_dialog("Кухня.eep")
        self.wait_cells(100, list("kitchen!"))
        self.assertTrue(self.ui.checked(RADIO_EN))
        self.wait_cursor(100)
        self.ui.keys("CONTROL+O")  # the fixed names of en, which do not exist
        self.assertEqual(self.ui.msgbox(5000)[1],
                         "Файл   chronotherm_lcd_m168_en.eep   не найден !")
        self.ui.msgbox_ok()
        self.ui.type_text("?")  # the failed opening left the work where it belongs
        self.wait_cells(100, ["?"])
        self.ui.keys("CONTROL+S")
        self.assertTrue(uidriver.wait_until(
            lambda: self.saved_cells("Кухня.bin", 8) == b"?itchen!", timeout=5))

    def test_undoing_an_opening_takes_the_work_back_where_it_belonged(self):
        write_design(self.work, "Гараж.eep")
        with open(os.path.join(self.work, "Гараж.eep"), "rb") as f:
            garage = f.read()
        self.ui.type_text("ab", 60)
        self.wait_cells(100, ["a", "b"])
        self.ui.keys("CONTROL+SHIFT+O")  # opened by mistake
        self.answer_file_dialog("Гараж.eep")
        self.wait_cells(100, ["H", "i"])
        self.ui.keys("CONTROL+Z")
        self.wait_cells(100, ["a", "b"])
        self.assertTrue(self.ui.checked(RADIO_RU))
        self.ui.keys("ALT+F4")
        self.assertEqual(self.ui.msgbox(5000), QUESTION)
        self.ui.msgbox_press(self.ui.IDYES)
        self.ui.wait_closed(10000)
        with open(os.path.join(self.work, "Гараж.eep"), "rb") as f:
            self.assertEqual(f.read(), garage, "the opened design was overwritten")
        self.assertEqual(self.saved_cells(BIN_NAME, 2), b"ab")
        self.assertTrue(os.path.exists(os.path.join(self.work, EEP_NAMES[1])))


def write_design(folder, name):
    """An image of "Hi" saved for the ua Localization, under another name."""
    oracle_files(folder, ["cell 100 48", "cell 101 69"], 2, [today()])
    os.rename(os.path.join(folder, EEP_NAMES[2]), os.path.join(folder, name))
    os.remove(os.path.join(folder, BIN_NAME))


class FileOnTheCommandLine(FacetorCase):
    arguments = ("design.eep",)

    def prepare_folder(self):
        write_design(self.work, "design.eep")

    def test_the_named_file_opens_after_start_up(self):
        self.wait_cells(100, ["H", "i"])
        self.assertTrue(self.ui.checked(RADIO_UA))
        self.assertIsNone(self.ui.msgbox(300))
        self.ui.close()  # opened, not changed: no question
        self.ui.wait_closed(10000)


class FileNamedAtStart(FacetorCase):
    """A file named on the command line that Facetor cannot open: the message comes first."""

    def wait_ready(self):
        pass

    def answer_the_message(self, expected):
        """The message at start, answered; the empty document stays."""
        self.assertEqual(self.ui.msgbox(20000), expected)
        self.ui.msgbox_ok()
        FacetorCase.wait_ready(self)
        self.assertEqual(self.cells(100, 2), ["", ""])


class MissingFileOnTheCommandLine(FileNamedAtStart):
    arguments = ("missing.eep",)

    def test_is_reported_and_leaves_the_empty_document(self):
        self.answer_the_message(("Information", "Файл   missing.eep   не найден !"))
        self.ui.type_text("a")
        self.wait_cells(100, ["a"])


class FirmwareOnTheCommandLine(FileNamedAtStart):
    arguments = ("firmware.hex",)

    def prepare_folder(self):
        # 4 KiB of flash, in 16-byte records as a compiler writes them.
        subprocess.run(["srec_cat", "-generate", "0", "0x1000", "-constant", "0x0C", "-o",
                        os.path.join(self.work, "firmware.hex"), "-intel", "-obs=16",
                        "-address-length=2"], check=True, timeout=30)
        self.firmware = read_file(os.path.join(self.work, "firmware.hex"))

    def test_is_refused_and_never_becomes_where_the_work_belongs(self):
        self.answer_the_message(("Ошибка", "Файл   firmware.hex   не образ EEPROM часов !"))
        self.ui.keys("CONTROL+S")  # saves under the fixed names, not over the firmware
        self.assertTrue(uidriver.wait_until(
            lambda: os.path.exists(os.path.join(self.work, EEP_NAMES[1])), timeout=5))
        self.assertEqual(read_file(os.path.join(self.work, "firmware.hex")), self.firmware)
        self.assertFalse(os.path.exists(os.path.join(self.work, "firmware.hex.bin")))


class ForcedEnd(FacetorCase):

    def test_work_of_a_killed_facetor_is_offered_at_the_next_start(self):
        self.ui.type_text("lost", 60)
        self.wait_cells(100, list("lost"))
        # Within seconds the copy holds all four letters (6C 6F 73 74 in the first record).
        self.assertTrue(uidriver.wait_until(
            lambda: any(b":100000006C6F7374" in read_file(c) for c in recovery_copies()),
            timeout=10), "no copy of the unsaved work")
        self.process.kill()
        self.process.wait()

        self.process = uidriver.launch(FACETOR_EXE, self.work)
        self.addCleanup(uidriver.stop, self.process)
        self.ui.attach("Facetor", 60000)  # the main window or the question, whichever is first
        self.assertTrue(self.ui.msgbox(20000)[1].startswith("Восстановить несохранённую работу?"))
        self.ui.msgbox_press(self.ui.IDYES)
        self.ui.attach("Facetor", 10000)
        self.wait_ready()
        self.wait_cells(100, list("lost"))
        self.assertEqual(len(recovery_copies()), 1)  # still unsaved, so still kept

        self.ui.close()
        self.assertEqual(self.ui.msgbox(5000), QUESTION)
        self.ui.msgbox_press(self.ui.IDNO)  # let go on purpose: the copy goes
        self.ui.wait_closed(10000)
        self.assertEqual(self.process.wait(timeout=10), 0)
        self.assertEqual(recovery_copies(), [])


if __name__ == "__main__":
    unittest.main()
