"""Portwand with the ports of USB and Bluetooth adapters, under Wine: a port mapped as COM14 in the
list after COM9, the whole clock by F5, by the system menu and by "Portwand /sync" (from Python,
cmd.exe and a batch file), the line settings as the device sees them, and a double press of
"Секунды" late in a second."""

import datetime
import os
import subprocess
import termios
import time
import unittest

from portwand_e2e import (PortwandWindowTest, SerialPair, clock_pair, map_com_ports, portwand_exe,
                          wait_for_fraction)
import uidriver

OPENED = "Порт открыт"
MISSING = "COM77"

pair14 = SerialPair("com14")


def setUpModule():
    pair14.start()
    map_com_ports({"COM14": pair14.device, MISSING: None})


def tearDownModule():
    pair14.stop()
    map_com_ports({"COM14": None})


def read_until_quiet(pair, first_timeout=5.0, quiet=0.8):
    """Every byte that arrives, until nothing more comes for `quiet` seconds."""
    got = pair.read(1, timeout=first_timeout)
    while got:
        more = pair.read(1000, timeout=quiet)
        if not more:
            break
        got += more
    return got


def wait_for_second(second):
    """Sleeps until the host clock is that many seconds (58.5, say) into a minute."""
    now = time.time()
    time.sleep((second - time.localtime(now).tm_sec - (now - int(now))) % 60)


class WholeClockChecks:
    def set_device_a_day_behind(self):
        """At second 58.5 of a minute: the device a day and some hours behind, its own minute
        turning half a second into the computer's next one, while the old sequence still had
        frames on the way."""
        wait_for_second(58.5)
        behind = datetime.datetime.now() - datetime.timedelta(days=1, hours=5, minutes=7)
        pair14.set_clock(behind.replace(second=58))

    def assert_device_right(self, got):
        """The bytes are clock pairs, the seconds first; the device's clock is the computer's less
        the seconds pair's own delay. Returns the arrival time of the first byte of the last
        seconds pair (a slow line sends the seconds once more at the end)."""
        self.assertGreaterEqual(len(got), 84)
        self.assertEqual(len(got) % 14, 0)
        data = bytes(b for b, _ in got)
        for i in range(0, len(data), 14):
            value = data[i + 7:i + 14]
            self.assertEqual(data[i:i + 14], clock_pair(int(value[1:3]), int(value[3:5])), data)
        self.assertEqual(data[8:10], b"06", data)
        behind = pair14.clock_behind()
        # The pause and two frames, and Wine's way to the pseudo-terminal.
        self.assertGreaterEqual(behind, 0)
        self.assertLess(behind, 0.25)
        last_seconds = max(i for i in range(0, len(data), 14) if data[i + 8:i + 10] == b"06")
        return got[last_seconds][1]


class AdapterListTest(PortwandWindowTest):
    def test_adapter_port_follows_com9_and_can_be_picked(self):
        d = self.driver
        entries = [d.combo_item(50, i) for i in range(d.combo_count(50))]
        self.assertEqual(entries[:9], [f"COM{n}" for n in range(1, 10)])
        others = [int(name[3:]) for name in entries[9:]]
        self.assertEqual(others, sorted(others))
        self.assertEqual(entries[-1], "COM14")
        # The user opens the list and takes its last entry.
        x, y, w, h = d.rect(50)
        d.click_at(x + w // 2, y + h // 2)
        d.keys("END RETURN")
        self.assertTrue(uidriver.wait_until(lambda: d.combo_cursel(50) == len(entries) - 1))
        self.assertTrue(uidriver.wait_until(lambda: d.text(51) == OPENED))
        pair14.read(100, timeout=0.05)
        d.click(11)
        self.assertEqual(pair14.read_bytes(7), b"A0059\n\r")
        self.close_window()
        self.assertEqual(self.read_settings(), b"port = COM14\r\n")


class PluggedAdapterTest(PortwandWindowTest):
    settings = b"port = COM14\r\n"
    SERIALCOMM = r"HKLM\HARDWARE\DEVICEMAP\SERIALCOMM"

    ADAPTER_VALUE = r"\Device\VCP0"  # as a USB serial adapter's driver names its port

    def setUp(self):
        self.reg("delete", self.SERIALCOMM, "/v", self.ADAPTER_VALUE, "/f", check=False)  # leftover
        super().setUp()

    def reg(self, *args, check=True):
        subprocess.run([uidriver.WINE, "reg", *args], env=uidriver.wine_env(), check=check,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    def entries(self):
        return [self.driver.combo_item(50, i) for i in range(self.driver.combo_count(50))]

    def assert_entries_when_opened(self, expected):
        d = self.driver
        x, y, w, h = d.rect(50)
        d.click_at(x + w // 2, y + h // 2)
        self.assertTrue(uidriver.wait_until(lambda: d.combo_dropped(50), timeout=5),
                        "the list did not open")
        self.assertTrue(uidriver.wait_until(lambda: self.entries() == expected, timeout=3),
                        self.entries())
        # Shown whole; the driver closes the list again.
        _, _, shown = d.combo_open_list(50)
        self.assertEqual(shown, len(expected))
        self.assertTrue(uidriver.wait_until(lambda: not d.combo_dropped(50)))

    def test_list_is_read_again_when_opened_and_keeps_the_port(self):
        d = self.driver
        before = self.entries()
        # A USB adapter arrives, as Windows lists a new serial port, under a number that no port
        # of this machine has.
        number = next(n for n in range(21, 256) if f"COM{n}" not in before)
        adapter = f"COM{number}"
        self.reg("add", self.SERIALCOMM, "/v", self.ADAPTER_VALUE, "/t", "REG_SZ", "/d", adapter,
                 "/f")
        try:
            self.assertEqual(self.entries(), before)  # until the list is opened
            self.assert_entries_when_opened(before + [adapter])
            self.assertEqual(d.combo_item(50, d.combo_cursel(50)), "COM14")
        finally:
            self.reg("delete", self.SERIALCOMM, "/v", self.ADAPTER_VALUE, "/f")
        self.assert_entries_when_opened(before)
        self.assertEqual(d.combo_item(50, d.combo_cursel(50)), "COM14")
        self.assertEqual(d.text(51), OPENED)


class Com14Test(PortwandWindowTest, WholeClockChecks):
    settings = b"; clock on the USB adapter\r\nport = COM14\r\n"

    def setUp(self):
        super().setUp()
        pair14.read(100, timeout=0.05)  # nothing from earlier tests

    def test_f5_at_second_59_8_and_the_system_menu_set_the_whole_clock(self):
        d = self.driver
        self.assertEqual(d.text(51), OPENED)
        self.set_device_a_day_behind()
        wait_for_second(59.8)
        d.keys("F5")
        self.assert_device_right(read_until_quiet(pair14))
        # The same from the window's system menu: its last item.
        d.keys("ALT+SPACE")
        self.assertTrue(uidriver.wait_until(d.menu_open), "the system menu did not open")
        d.keys("UP RETURN")
        self.assert_device_right(read_until_quiet(pair14))
        self.close_window()
        self.assertEqual(self.read_settings(), self.settings)

    def test_window_answers_while_f5_runs_and_esc_stops_it(self):
        d = self.driver
        self.set_device_a_day_behind()
        # From second 58.6 on F5 waits for second 0 of the next minute, then sends six pairs.
        d.keys("F5")
        statuses = []
        deadline = time.monotonic() + 15
        while not (statuses and statuses[-1] == OPENED):
            d.sync(200)  # DriverError when the window takes longer to answer
            statuses.append(d.text(51))
            self.assertLess(time.monotonic(), deadline, sorted(set(statuses)))
        self.assertTrue({"Ожидание...", "Секунды...", "Год..."} <= set(statuses), set(statuses))
        self.assert_device_right(read_until_quiet(pair14))
        # Esc while it waits: it stops before the next pair.
        wait_for_second(58.6)
        d.keys("F5")
        d.keys("ESCAPE")
        self.assertTrue(uidriver.wait_until(lambda: d.text(51) == "Остановлено", timeout=5))
        got = read_until_quiet(pair14, first_timeout=1)
        self.assertEqual(len(got) % 14, 0)
        self.assertLess(len(got), 84)

    def test_line_settings_reach_the_device(self):
        # Another program left the line at 19200 baud, 7 bits, even parity, 2 stop bits, RTS/CTS.
        fd = os.open(pair14.device, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
        try:
            attrs = termios.tcgetattr(fd)
            attrs[4] = attrs[5] = termios.B19200
            attrs[2] = ((attrs[2] & ~termios.CSIZE) | termios.CS7 | termios.PARENB |
                        termios.CSTOPB | termios.CRTSCTS)
            termios.tcsetattr(fd, termios.TCSANOW, attrs)
        finally:
            os.close(fd)
        self.driver.click(12)
        self.assertEqual(pair14.read_bytes(7), b"A0032\n\r")
        fd = os.open(pair14.device, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
        try:
            _, _, cflag, _, ispeed, ospeed, _ = termios.tcgetattr(fd)
        finally:
            os.close(fd)
        self.assertEqual((ispeed, ospeed), (termios.B9600, termios.B9600))
        self.assertEqual(cflag & termios.CSIZE, termios.CS8)
        self.assertFalse(cflag & (termios.PARENB | termios.CSTOPB | termios.CRTSCTS))

    def test_double_press_late_in_a_second_sends_one_pair(self):
        d = self.driver
        tab_x, tab_y, _, _ = d.rect(0)
        d.click_at(tab_x + 110, tab_y + 10)
        self.assertTrue(uidriver.wait_until(lambda: d.visible(19), timeout=3))
        x, y, w, h = d.rect(19)
        for fraction in (0.84, 0.88):
            wait_for_fraction(fraction)
            pressed = time.time()
            d.click_at(x + w // 2, y + h // 2, 2, 30)
            got = read_until_quiet(pair14, first_timeout=3, quiet=1.6)
            self.assertEqual(len(got), 14, bytes(b for b, _ in got))
            first = got[0][1]
            self.assertEqual(int(first), int(pressed) + 1)
            self.assertEqual(bytes(b for b, _ in got), clock_pair(6, time.localtime(first).tm_sec))


class SyncCommandTest(unittest.TestCase, WholeClockChecks):
    """Portwand.com, the console program beside Portwand.exe, on a Russian Windows (whose console
    code page is 866)."""

    COM_PROGRAM = os.path.splitext(portwand_exe())[0] + ".com"
    # Without the extension: cmd.exe takes Portwand.com, as on Windows.
    PORTWAND = uidriver.windows_path(os.path.splitext(portwand_exe())[0])

    def setUp(self):
        self.work = uidriver.fresh_folder("portwand-sync-")
        pair14.read(100, timeout=0.05)

    def tearDown(self):
        uidriver.remove_folder(self.work)

    def run_wine(self, *command, debug="-all", locale="ru_RU.UTF-8"):
        env = dict(uidriver.wine_env(), LC_ALL=locale, WINEDEBUG=debug)
        done = subprocess.run([uidriver.WINE, *command], cwd=self.work, env=env,
                              stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        return done.returncode, done.stdout.decode("cp866").strip(), done.stderr

    def sync(self, *args):
        code, out, err = self.run_wine(self.COM_PROGRAM, "/sync", *args)
        return code, out, err.decode("cp866").strip()

    def folder(self):
        files = {}
        for name in os.listdir(self.work):
            with open(os.path.join(self.work, name), "rb") as f:
                files[name] = f.read()
        return files

    def test_sync_at_second_59_8_sets_the_clock_and_leaves_the_settings_alone(self):
        with open(os.path.join(self.work, "Portwand.ini"), "wb") as f:
            f.write(b"port = COM3\r\n")
        before = self.folder()
        self.set_device_a_day_behind()
        wait_for_second(59.8)
        code, line, _ = self.sync("COM14")
        self.assertEqual(code, 0)
        seconds_at = self.assert_device_right(read_until_quiet(pair14))
        self.assertEqual(line, "Время компьютера передано в порт COM14: " +
                         time.strftime("%d.%m.%Y %H:%M:%S", time.localtime(seconds_at)))
        self.assertEqual(self.folder(), before)
        # Without a port, the one of Portwand.ini, which is only read.
        with open(os.path.join(self.work, "Portwand.ini"), "wb") as f:
            f.write(b"Port=COM14\r\n")
        before = self.folder()
        code, _, _ = self.sync()
        self.assertEqual(code, 0)
        self.assert_device_right(read_until_quiet(pair14))
        self.assertEqual(self.folder(), before)

    def test_sync_on_a_missing_port_or_with_wrong_arguments(self):
        code, out, err = self.sync(MISSING)
        self.assertEqual((code, out), (1, ""))
        self.assertEqual(err, f"Порт {MISSING} недоступен, время не передано")
        code, out, err = self.sync("COM14", "extra")
        self.assertEqual((code, out), (2, ""))
        self.assertTrue(err.startswith("Использование: Portwand /sync [порт]"), err)
        self.assertEqual(len(err.splitlines()), 1)
        # No port named and no Portwand.ini here or beside the program: nothing is guessed.
        code, out, err = self.sync()
        self.assertEqual((code, out), (2, ""))
        self.assertEqual(err, "Порт не указан, а Portwand.ini с портом нет ни в текущей папке, "
                              "ни в папке программы; время не передано. Укажите порт: "
                              "Portwand /sync COM14")
        self.assertTrue(pair14.silent_for(0.5))
        self.assertEqual(self.folder(), {})

    def test_sync_from_cmd_and_a_batch_file_reports_its_exit_code(self):
        code, out, _ = self.run_wine("cmd", "/c", f"{self.PORTWAND} /sync COM14 >nul")
        self.assertEqual((code, out), (0, ""))
        self.assert_device_right(read_until_quiet(pair14))
        with open(os.path.join(self.work, "sync.bat"), "w", newline="\r\n") as f:
            f.write(f"@echo off\n{self.PORTWAND} /sync COM14 >log.txt\necho done %errorlevel%\n"
                    f"{self.PORTWAND} /sync {MISSING} 2>nul\necho missing %errorlevel%\n"
                    f"{self.PORTWAND} /sync COM14 extra 2>nul\necho wrong %errorlevel%\n")
        code, out, _ = self.run_wine("cmd", "/c", "sync.bat")
        self.assertEqual(out.split(), ["done", "0", "missing", "1", "wrong", "2"])
        self.assert_device_right(read_until_quiet(pair14))
        # The redirected line reads right in the console's code page.
        with open(os.path.join(self.work, "log.txt"), "rb") as f:
            self.assertRegex(f.read().decode("cp866"),
                             r"^Время компьютера передано в порт COM14: [0-9.: ]+\r\n$")
        # An English Windows's console code page (437) has no Cyrillic: the line is in UTF-8.
        self.run_wine("cmd", "/c", f"{self.PORTWAND} /sync {MISSING} 2>err.txt",
                      locale="en_US.UTF-8")
        with open(os.path.join(self.work, "err.txt"), "rb") as f:
            self.assertEqual(f.read().decode("utf-8"),
                             f"Порт {MISSING} недоступен, время не передано\r\n")

    def test_both_programs_keep_the_timer_resolution_when_hidden(self):
        # Asked for at run time (Wine has no such setting and says so): older Windows lacks the
        # call, which must not keep the programs from starting there.
        for program in (self.COM_PROGRAM, portwand_exe()):
            _, _, err = self.run_wine(program, "/sync", MISSING, debug="fixme+process")
            self.assertRegex(err.decode("ascii", "replace"),
                             r"NtSetInformationProcess \(0xffffffffffffffff,0x0000004d,"
                             r"0x[0-9a-f]+,0x0000000c\)", program)
            imports = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", program],
                                     capture_output=True, text=True, check=True).stdout
            self.assertNotIn("SetProcessInformation", imports)


if __name__ == "__main__":
    unittest.main()
