"""Writing the skins into the clock and reading them back: Facetor runs the real avrdude (Debian's,
through the stand-in avrdude.exe beside it) against the simulated ATmega168 on a pseudo-terminal
mapped as COM7."""

import os
import random
import shutil
import subprocess
import time

from facetor_session import BIN_NAME, FACETOR_EXE, RADIO_EN, RADIO_RU, FacetorCase, uidriver

EDITOR_TESTS = os.path.join(uidriver.build_dir(), "tests", "e2e", "editor")
STAND_IN = os.path.join(EDITOR_TESTS, "avrdude-stand-in", "avrdude.exe")
PORT_LINK = os.path.join(uidriver.build_dir(), "e2e-work", "clock-target-line")
PHASES = {"Подключение к часам...", "Резервная копия EEPROM...", "Запись скинов...",
          "Проверка...", "Чтение EEPROM...", "Остановка avrdude..."}
GAP = range(0x1B0, 0x1F0)
USBASP, BOOTLOADER = 0, 5  # entries of the programmer list
WRITE, PROGRAMMER = 41, 43  # menu items
SHOW_LOG = 102


def setUpModule():
    uidriver.set_registry(r"HKEY_LOCAL_MACHINE\Software\Wine\Ports",
                          [f'"COM7"="{PORT_LINK}"', '"COM3"=-'])


class ClockTarget:
    """The simulated clock (tests/editor/clock_target), answering avrdude on PORT_LINK."""

    def __init__(self, *commands):
        self.process = subprocess.Popen([os.path.join(EDITOR_TESTS, "stk500_target"), PORT_LINK],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        encoding="ascii", bufsize=1)
        assert self.process.stdout.readline().startswith("ready")
        for command in commands:
            assert self.tell(command) == "ok", command

    def tell(self, command):
        self.process.stdin.write(command + "\n")
        return self.process.stdout.readline().strip()

    def eeprom(self):
        return bytes.fromhex(self.tell("eeprom").split()[1])

    def stop(self):
        self.process.stdin.close()
        self.process.wait(timeout=10)


def dialog_shown(ui):
    """The dialog shown, or None (as while a closing dialog waits for a window manager)."""
    try:
        return ui.msgbox(0)
    except uidriver.DriverError:
        return None


def choose(ui, programmer, port="COM7"):
    """Chooses the programmer (and its port) in "Программатор..."."""
    ui.menu_command(PROGRAMMER)
    ui.attach("Программатор", 10000)
    ui.combo_select(201, programmer)
    ui.combo_select(202, [ui.combo_item(202, i) for i in range(ui.combo_count(202))].index(port))
    ui.msgbox_press(ui.IDOK)
    ui.attach("Facetor")


def in_prefix(windows_path):
    """Where a path of the Wine prefix's C: drive lies on Linux."""
    drive, rest = windows_path.split(":", 1)
    return os.path.join(os.environ["WINEPREFIX"], "dosdevices", drive.lower() + ":",
                        rest.replace("\\", "/").lstrip("/"))


class ClockCase(FacetorCase):
    with_avrdude = True

    def prepare_folder(self):
        # Facetor finds avrdude.exe beside itself.
        self.program = shutil.copy(FACETOR_EXE, self.work)
        if self.with_avrdude:
            shutil.copy(STAND_IN, self.work)

    def target(self, *commands):
        self.addCleanup((target := ClockTarget(*commands)).stop)
        return target

    def choose(self, programmer, port="COM7"):
        choose(self.ui, programmer, port)
        self.wait_idle()

    def result(self, timeout=90):
        """The result message, once avrdude's run has ended: (title, text)."""
        def shown():
            box = dialog_shown(self.ui)
            return box if box and box[1] not in PHASES else None
        box = uidriver.wait_until(shown, timeout=timeout, interval=0.2)
        self.assertIsNotNone(box, "no result message")
        return box

    def avrdude_processes(self):
        ps = subprocess.run(["ps", "-eo", "args"], capture_output=True, text=True).stdout
        return [p for p in ps.splitlines() if "avrdude" in p and PORT_LINK in p]


class Writing(ClockCase):

    def test_write_leaves_the_image_and_keeps_what_was_there(self):
        old = bytes(random.Random(23).randrange(256) for _ in range(512))
        target = self.target("write-delay-us 3400", "load " + old.hex())  # a real EEPROM's time
        self.choose(BOOTLOADER)
        self.ui.type_text("Hi", 120)
        self.wait_cells(100, ["H", "i"])
        self.ui.keys("CONTROL+S")  # the same image as a file, to compare with
        saved = os.path.join(self.work, BIN_NAME)
        self.assertTrue(uidriver.wait_until(lambda: os.path.exists(saved), timeout=5))
        self.ui.keys("CONTROL+U")
        self.assertTrue(uidriver.wait_until(
            lambda: dialog_shown(self.ui) == ("Запись в часы", "Запись скинов..."), timeout=20))
        self.ui.screenshot(os.path.join(uidriver.build_dir(), "e2e-work", "clock-progress.png"))
        title, text = self.result()
        self.assertEqual(title, "Запись в часы")
        self.assertTrue(text.startswith("Скины записаны в часы и проверены."), text)
        self.assertIn("Portwand", text)
        with open(saved, "rb") as f:
            image = f.read()
        expected = bytes(old[a] if a in GAP else image[a] for a in range(512))
        self.assertEqual(target.eeprom(), expected)
        backup = next(line for line in text.splitlines() if line.endswith(".eep"))
        self.assertIn("\\Facetor\\Backups\\eeprom-", backup)
        with open(in_prefix(backup[:-4] + ".bin"), "rb") as f:  # as read; the .eep opens in Facetor
            self.assertTrue(f.read() == old and os.path.exists(in_prefix(backup)))

        self.ui.attach("Запись в часы")  # "Показать журнал": the command line and the output
        self.ui.post_click(SHOW_LOG)  # the log opens over it, modal
        log = uidriver.wait_until(lambda: (self.ui.dialog_edits(0) or [""])[0], timeout=5)
        for part in ("-c arduino -p m168 -P COM7 -b 19200", "-U eeprom:w:image.eep:i", "done."):
            self.assertIn(part, log)
        self.ui.msgbox_ok()  # the log
        self.ui.msgbox_ok()  # the result
        self.ui.attach("Facetor")
        self.wait_idle()

    def test_a_write_holds_the_session_and_cancel_ends_avrdude_leaving_nothing_behind(self):
        target = self.target("write-delay-us 20000")  # the write takes about 9 s
        self.choose(BOOTLOADER)
        self.ui.keys("CONTROL+U")
        self.assertTrue(uidriver.wait_until(lambda: int(target.tell("written").split()[1]) > 40,
                                            timeout=30), "the write did not begin")
        self.ui.end_session()  # nothing is unsaved: the write alone holds the session
        self.assertIs(self.ui.end_session_result(), False)
        self.ui.attach("Запись в часы")
        self.ui.click(self.ui.IDCANCEL)
        self.ui.attach("Facetor")
        _, text = self.result(timeout=20)
        self.assertTrue(text.startswith("Запись отменена."), text)
        self.assertIn("записанным частично: запишите скины ещё раз.\r\n", text)  # no cause to mend
        self.assertTrue(uidriver.wait_until(lambda: not self.avrdude_processes(), timeout=10),
                        self.avrdude_processes())
        written = target.tell("written")
        time.sleep(1)
        self.assertEqual(target.tell("written"), written, "the write went on")

    def test_each_failure_says_what_to_do(self):
        cases = [
            (BOOTLOADER, "COM7", ["signature 1e950f"], "1E 95 0F — это не ATmega168"),
            (BOOTLOADER, "COM7", ["stuck 0x42"], "Проверка не прошла"),
            (BOOTLOADER, "COM7", ["mute"], "Загрузчик часов не отвечает на порту COM7"),
            (BOOTLOADER, "COM7", ["mute-after 100"], "Программатор трижды не ответил"),
            (BOOTLOADER, "COM3", [], "Не удалось открыть порт COM3"),
            (USBASP, "COM7", [], "Программатор USBasp не найден"),
            (BOOTLOADER, "COM7", ["signature 1e940b"], "Микроконтроллер часов — ATmega168P"),
        ]
        for programmer, port, commands, expected in cases:
            with self.subTest(expected=expected):
                target = ClockTarget(*commands)
                try:
                    self.choose(programmer, port)
                    self.ui.keys("CONTROL+U")
                    _, text = self.result()
                    self.assertIn(expected, text)
                    if port == "COM3":
                        self.ui.screenshot(os.path.join(uidriver.build_dir(), "e2e-work",
                                                        "clock-failure.png"))
                    self.ui.msgbox_ok()
                    self.wait_idle()
                finally:
                    target.stop()


class Reading(ClockCase):

    def test_read_shows_the_clock_in_the_grid_as_one_undoable_opening(self):
        image = bytearray(b" " * 256 + b"\xff" * 80 + bytes(176))
        image[0:5] = b"CLOCK"
        image[0x1FE] = 0  # en
        self.target("load " + image.hex())
        self.choose(BOOTLOADER)
        self.ui.keys("CONTROL+SHIFT+U")
        self.wait_cells(100, list("CLOCK"), timeout=30)
        self.assertTrue(self.ui.checked(RADIO_EN))
        self.wait_idle()
        self.ui.keys("CONTROL+Z")  # one opening, undone as one
        self.wait_cells(100, [""] * 5)
        self.assertTrue(self.ui.checked(RADIO_RU))


class WithoutAvrdude(ClockCase):
    with_avrdude = False

    def test_the_programmer_dialog_opens_and_says_so(self):
        self.ui.menu_command(WRITE)
        self.ui.attach("Программатор", 10000)
        self.assertTrue(self.ui.text(200).startswith("avrdude не найден."))
        self.assertEqual(self.ui.text(208), "avrdude не найден")
        self.ui.msgbox_press(self.ui.IDCANCEL)
        self.ui.attach("Facetor")
        self.wait_idle()
