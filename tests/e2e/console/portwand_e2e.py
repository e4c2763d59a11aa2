"""Helpers of the Portwand end-to-end tests: pseudo-terminal pairs mapped as COM ports of the
Wine prefix, with the clock device reading the bytes Portwand sends, with their arrival times."""

import datetime
import os
import queue
import signal
import subprocess
import sys
import threading
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import uidriver  # noqa: E402



def portwand_exe():
    return os.path.join(uidriver.build_dir(), "console", "win32", "Portwand.exe")


def ports_folder():
    path = os.path.join(uidriver.build_dir(), "e2e-work", "portwand-ports")
    os.makedirs(path, exist_ok=True)
    return path


def map_com_ports(mapping):
    """Sets COM ports of the prefix: {"COM5": "/path/of/device", "COM3": None (removed)}."""
    uidriver.set_registry(r"HKEY_LOCAL_MACHINE\Software\Wine\Ports",
                          [f'"{name}"=-' if device is None else f'"{name}"="{device}"'
                           for name, device in mapping.items()])


def wait_for_fraction(fraction):
    """Sleeps until the host clock is that far into a second."""
    now = time.time()
    time.sleep((fraction - (now - int(now))) % 1.0)


def clock_device_program():
    return os.path.join(uidriver.build_dir(), "tests", "e2e", "console", "clock_device")


class SerialPair:
    """Two connected pseudo-terminals: Portwand writes to `device` (mapped as a COM port), the clock
    device (tests/console/device, a Linux program) reads the other end. stop() makes the device
    vanish; start() brings it back.

    The clock device reads all the time and reports each byte with its arrival time, because a
    click of the driver returns only after Portwand has sent everything; it runs a clock that the
    frames set and tells it when asked."""

    def __init__(self, name):
        self.device = os.path.join(ports_folder(), name + "-device")
        self.peer = os.path.join(ports_folder(), name + "-peer")
        self._socat = None
        self._clock_device = None
        self._reader = None
        self._received = queue.Queue()
        self._replies = queue.Queue()

    def start(self):
        for path in (self.device, self.peer):
            if os.path.lexists(path):
                os.unlink(path)
        self._socat = subprocess.Popen(
            ["socat", f"pty,raw,echo=0,link={self.device}", f"pty,raw,echo=0,link={self.peer}"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while not (os.path.exists(self.device) and os.path.exists(self.peer)):
            if time.monotonic() > deadline:
                raise RuntimeError("socat did not create the pseudo-terminals")
            time.sleep(0.02)
        self._clock_device = subprocess.Popen([clock_device_program(), self.peer],
                                              stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                              encoding="ascii", bufsize=1)
        self._reader = threading.Thread(target=self._read_reports,
                                        args=(self._clock_device.stdout,), daemon=True)
        self._reader.start()
        return self

    def _read_reports(self, reports):
        for line in reports:
            fields = line.split()
            if fields and fields[0] == "byte":
                self._received.put((int(fields[1], 16), int(fields[2]) / 1e6))
            elif fields:
                self._replies.put(fields)

    def _ask(self, command):
        self._clock_device.stdin.write(command + "\n")
        self._clock_device.stdin.flush()
        return self._replies.get(timeout=5)

    def set_clock(self, when):
        """The device's clock shows the datetime `when` from now on, its second just begun."""
        self._ask(when.strftime("set %Y %m %d %H %M %S"))

    def clock_behind(self):
        """How many seconds the device's clock is behind the computer's local time now."""
        _, *fields = self._ask("clock")
        year, month, day, hour, minute, second, into_second, now = (int(f) for f in fields)
        shown = datetime.datetime(year, month, day, hour, minute, second) + datetime.timedelta(
            microseconds=into_second)
        local = datetime.datetime.fromtimestamp(now / 1e6)
        return (local - shown).total_seconds()

    def stop(self):
        if self._clock_device is not None:
            self._clock_device.stdin.close()
            try:
                self._clock_device.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self._clock_device.kill()
                self._clock_device.wait()
            self._reader.join()
            self._clock_device.stdout.close()
            self._clock_device = None
        if self._socat is not None:
            self._socat.send_signal(signal.SIGTERM)
            try:
                self._socat.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self._socat.kill()
                self._socat.wait()
            self._socat = None
        deadline = time.monotonic() + 5
        while os.path.lexists(self.device) and time.monotonic() < deadline:
            time.sleep(0.02)

    def read(self, count, timeout=5.0):
        """Up to `count` bytes as a list of (byte, arrival time by time.time())."""
        received = []
        deadline = time.monotonic() + timeout
        while len(received) < count:
            left = deadline - time.monotonic()
            if left <= 0:
                break
            try:
                received.append(self._received.get(timeout=left))
            except queue.Empty:
                break
        return received

    def read_bytes(self, count, timeout=5.0):
        return bytes(b for b, _ in self.read(count, timeout))

    def silent_for(self, seconds):
        """True when nothing arrives for that long."""
        return not self.read(1, timeout=seconds)


class SlowOpen:
    """Makes the open of one COM port of the prefix as slow as asked, as a Bluetooth adapter's
    whose device is off: slow_open.so (made by the build from slow_open.c) preloaded into Wine's
    server, which opens the devices. Takes effect with the next Wine session, which
    map_com_ports() starts; remove() ends it with the session after that."""

    def __init__(self, port):
        self.file = os.path.join(ports_folder(), "open-delay-ms")
        self.set(0)
        os.environ.update(
            LD_PRELOAD=os.path.join(uidriver.build_dir(), "tests", "e2e", "console",
                                    "slow_open.so"),
            LCT_SLOW_OPEN_MATCH="dosdevices/" + port.lower(), LCT_SLOW_OPEN_FILE=self.file)

    def set(self, ms):
        with open(self.file, "w") as f:
            f.write(str(ms))

    def remove(self):
        for name in ("LD_PRELOAD", "LCT_SLOW_OPEN_MATCH", "LCT_SLOW_OPEN_FILE"):
            os.environ.pop(name, None)


def check_value(v):
    return (~v) & 63


def two_digits(x):
    text = str(x & 0xFF)
    return ("0" + text) if len(text) == 1 else text[:2]


def clock_pair(selector, v):
    return f"B20{two_digits(check_value(v))}\n\rB{selector:02d}{two_digits(v)}\n\r".encode()


TITLE = "Portwand"
OPENING = "Открытие..."  # the status while the trial opening runs


class PortwandWindowTest(unittest.TestCase):
    """Starts Portwand in a fresh working folder (with `settings` as its Portwand.ini, if set) and
    attaches the driver once the trial opening has shown its outcome."""

    settings = None  # bytes of Portwand.ini at start, or None for no file

    def setUp(self):
        # Cleanups, not tearDown: a set-up that fails half-way leaves no window behind for the
        # next test to attach to.
        self.work = uidriver.fresh_folder("portwand-")
        self.addCleanup(uidriver.remove_folder, self.work)
        if self.settings is not None:
            self.write_settings(self.settings)
        self.process = uidriver.launch(portwand_exe(), self.work)
        self.addCleanup(uidriver.stop, self.process)
        self.driver = uidriver.UiDriver()
        self.addCleanup(self.driver.close_driver)
        self.addCleanup(self._close_window)
        self.driver.attach(TITLE, 60000)
        # The trial opening has run once the status label shows its outcome.
        uidriver.wait_until(lambda: self.driver.text(51) not in ("", OPENING), timeout=10)

    def _close_window(self):
        if self.process.poll() is None:
            try:
                self.driver.close()
                self.driver.wait_closed(10000)
            except uidriver.DriverError:
                pass

    def write_settings(self, data):
        with open(os.path.join(self.work, "Portwand.ini"), "wb") as f:
            f.write(data)

    def read_settings(self):
        with open(os.path.join(self.work, "Portwand.ini"), "rb") as f:
            return f.read()

    def close_window(self):
        self.driver.close()
        self.driver.wait_closed(10000)
        self.assertEqual(self.process.wait(timeout=20), 0)
