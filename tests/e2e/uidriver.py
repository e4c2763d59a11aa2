"""Client of uidriver.exe: drives a Windows program's window under Wine by control id.

Environment (set by ctest): LCT_BUILD_DIR (the MinGW build folder), LCT_SOURCE_DIR, WINEPREFIX.
"""

import contextlib
import os
import shutil
import subprocess
import tempfile
import time

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"


def wine_env():
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    if "WINEPREFIX" not in env:
        env["WINEPREFIX"] = os.path.join(build_dir(), "wineprefix")
    return env


def build_dir():
    return os.environ.get("LCT_BUILD_DIR") or os.path.join(source_dir(), "build", "mingw")


def source_dir():
    return os.environ.get("LCT_SOURCE_DIR") or os.path.abspath(
        os.path.join(os.path.dirname(__file__), "..", ".."))


def windows_path(path):
    """A Linux path as Wine's programs name it (drive Z: is the root)."""
    return "Z:" + path.replace("/", "\\")


def _wineserver(env, *args):
    subprocess.run([WINESERVER, *args], env=env, check=False, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60)


def set_registry(key, values, env=None):
    """Sets values of a key of the prefix's registry: `values` are regedit lines such as
    '"COM5"="/dev/pts/3"' or '"COM3"=-'. Wine reads such settings when its session starts, so
    every Wine program of the prefix is ended first and the next one starts a new session."""
    env = env or wine_env()
    _wineserver(env, "-k")
    _wineserver(env, "-w")
    with tempfile.TemporaryDirectory() as folder:
        reg = os.path.join(folder, "settings.reg")
        with open(reg, "w", encoding="ascii") as f:
            f.write("\r\n".join(["REGEDIT4", "", f"[{key}]", *values]) + "\r\n")
        subprocess.run([WINE, "regedit", "/S", windows_path(reg)], env=env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    _wineserver(env, "-w")


@contextlib.contextmanager
def display_dpi(dpi):
    """Within it, Wine programs run in a prefix of their own whose display has `dpi` pixels per
    inch (made on first use as scripts/lib.sh makes the tests' prefix): the tests' prefix keeps its
    96 DPI whatever happens here. Wine reads the DPI when a session starts, so the session is
    ended before the setting and at the end."""
    saved = os.environ.get("WINEPREFIX")
    prefix = os.path.join(build_dir(), f"wineprefix-{dpi}dpi")
    env = dict(wine_env(), WINEPREFIX=prefix)
    subprocess.run(["bash", "-c", 'source "$0/scripts/lib.sh" && ensure_wineprefix', source_dir()],
                   env=env, check=True, timeout=300, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    set_registry(r"HKEY_CURRENT_USER\Control Panel\Desktop", [f'"LogPixels"=dword:{dpi:08x}'],
                 env)
    os.environ["WINEPREFIX"] = prefix
    try:
        yield prefix
    finally:
        _wineserver(env, "-k")
        if saved is None:
            os.environ.pop("WINEPREFIX", None)
        else:
            os.environ["WINEPREFIX"] = saved


LOG_SUFFIX = ".log"
# Wine's own errors (a missing DLL, a failed load) go to the program's log; its fixme and warning
# lines would only bury them.
PROGRAM_DEBUG = "-all,err+all"


class Program(subprocess.Popen):
    """A Windows program under Wine whose stderr (where Wine reports a crash, an unhandled
    exception or a missing DLL) goes to `log_path`, "<program>.log" in the folder given."""

    def __init__(self, exe, args, log_folder, **popen):
        self.name = os.path.basename(exe)
        self.log_path = os.path.join(log_folder, self.name + LOG_SUFFIX)
        self.stopped = False  # ended on purpose by stop(): its end is no news
        with open(self.log_path, "ab") as log:
            log.write(f"== {self.name} started at {time.strftime('%H:%M:%S')}\n".encode())
            log.flush()
            super().__init__([WINE, exe, *args], env=dict(wine_env(), WINEDEBUG=PROGRAM_DEBUG),
                             stderr=log, **popen)

    def state(self):
        code = self.poll()
        if code is None:
            return f"{self.name} is still running"
        # Wine passes on the low byte of the Windows exit code: 5 for an access violation.
        return f"{self.name} ended with exit code {code}"

    def report(self, lines=30):
        """The state and the last lines of the log, for a failure message."""
        try:
            with open(self.log_path, "rb") as log:
                tail = log.read().decode("utf-8", "replace").splitlines()[-lines:]
        except OSError:
            tail = ["(the log is gone)"]
        return f"{self.state()}; last lines of {self.log_path}:\n" + "\n".join(
            "    " + line for line in tail)


# The programs launch() started, oldest first. Kept here because the tests call launch(),
# UiDriver() and attach() apart from each other: attach() and the waits learn from it which
# program they wait for, and a failed test which logs to show.
_launched = []


def launched_since(count):
    """The programs launched after the first `count` ones; len(launched_since(0)) counts all."""
    return _launched[count:]


def _awaited_program():
    """The program launched last, unless stop() ended it."""
    return _launched[-1] if _launched and not _launched[-1].stopped else None


def _news_of_program():
    """For a failed command: the report of the program launched last if it has ended."""
    program = _awaited_program()
    if program is None or program.poll() is None:
        return ""
    return "\n" + program.report()


def launch(exe, cwd, args=()):
    """Starts a Windows program under Wine with `cwd` as its working folder, where its stderr
    goes to "<program>.log"."""
    program = Program(exe, args, cwd, cwd=cwd, stdin=subprocess.DEVNULL,
                      stdout=subprocess.DEVNULL)
    _launched.append(program)
    return program


def stop(process, timeout=10):
    """Ends a program started with launch(), if it is still running."""
    process.stopped = True
    if process.poll() is None:
        try:
            process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def fresh_folder_base():
    """The folder that holds the tests' working folders."""
    base = os.path.join(build_dir(), "e2e-work")
    os.makedirs(base, exist_ok=True)
    return base


def fresh_folder(prefix="e2e-"):
    """A new empty working folder under the build folder (removed by the caller)."""
    return tempfile.mkdtemp(prefix=prefix, dir=fresh_folder_base())


def remove_folder(path):
    shutil.rmtree(path, ignore_errors=True)


def folder_files(path):
    """The names in a working folder, less the programs' logs."""
    return [name for name in os.listdir(path) if not name.endswith(LOG_SUFFIX)]


class DriverError(RuntimeError):
    pass


def _unescape(s):
    out = []
    i = 0
    while i < len(s):
        c = s[i]
        if c == "\\" and i + 1 < len(s):
            nxt = s[i + 1]
            out.append({"n": "\n", "r": "\r", "t": "\t", "\\": "\\"}.get(nxt, nxt))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


class UiDriver:
    """uidriver.exe under Wine. Its own log goes to the working folder of the program launched
    last, or else to the end-to-end work folder."""

    # attach() asks the driver in slices this long, to see between them whether the program
    # it waits for has ended.
    ATTACH_SLICE_MS = 200

    def __init__(self, exe=None):
        exe = exe or os.path.join(build_dir(), "tests", "e2e", "driver", "uidriver.exe")
        program = _awaited_program()
        folder = os.path.dirname(program.log_path) if program else fresh_folder_base()
        self._proc = Program(exe, (), folder, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             encoding="utf-8", bufsize=1)

    def close_driver(self):
        if self._proc.poll() is None:
            try:
                self._proc.stdin.write("quit\n")
                self._proc.stdin.flush()
                self._proc.wait(timeout=10)
            except (BrokenPipeError, subprocess.TimeoutExpired):
                self._proc.kill()
                self._proc.wait()
        for pipe in (self._proc.stdin, self._proc.stdout):
            try:
                pipe.close()
            except BrokenPipeError:
                pass

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close_driver()

    def _exchange(self, line):
        """Sends one command; returns the status ("ok" or "err") and the payload."""
        try:
            self._proc.stdin.write(line + "\n")
            self._proc.stdin.flush()
            reply = self._proc.stdout.readline()
        except BrokenPipeError:
            reply = ""
        if not reply:
            self._proc.wait(timeout=10)
            raise DriverError(f"driver ended during: {line}\n{self._proc.report()}"
                              + _news_of_program())
        status, _, payload = reply.rstrip("\n").rstrip("\r").partition("\t")
        return status, _unescape(payload)

    def call(self, *args):
        line = "\t".join(str(a) for a in args)
        status, payload = self._exchange(line)
        if status != "ok":
            raise DriverError(f"{line!r}: {payload}" + _news_of_program())
        return payload

    def attach(self, title, timeout_ms=30000):
        """Waits for a shown top-level window with that title and drives it from then on. Fails at
        once when the program launched last ends first, with its exit code and its log."""
        program = _awaited_program()
        line = f"attach\t{title}\t{timeout_ms}"
        deadline = time.monotonic() + timeout_ms / 1000
        while True:
            if program and program.poll() is not None:
                raise DriverError(f"{line!r}: the program ended before its window showed\n"
                                  + program.report())
            left_ms = max(0, int((deadline - time.monotonic()) * 1000))
            status, payload = self._exchange(
                f"attach\t{title}\t{min(left_ms, self.ATTACH_SLICE_MS)}")
            if status == "ok":
                return payload
            if left_ms <= self.ATTACH_SLICE_MS:
                shown = self.call("windows", title)
                raise DriverError(f"{line!r}: {payload}; windows: {shown or 'none'}"
                                  + (f"\n{program.report()}" if program else ""))

    # The window.
    def title(self):
        return self.call("title")

    def client_size(self):
        w, h = self.call("client").split()
        return int(w), int(h)

    def window_rect(self):
        return tuple(int(v) for v in self.call("winrect").split())

    def screen_size(self):
        w, h = self.call("screen").split()
        return int(w), int(h)

    def work_area(self):
        """The primary monitor's work area: (left, top, right, bottom)."""
        return tuple(int(v) for v in self.call("workarea").split())

    def window_style(self):
        style, ex = self.call("style").split()
        return int(style, 16), int(ex, 16)

    def control_style(self, control_id):
        style, ex = self.call("control_style", control_id).split()
        return int(style, 16), int(ex, 16)

    def sync(self, timeout_ms=5000):
        """Waits until the window has handled what was sent before; DriverError when it takes
        longer than the time-out (the window does not answer)."""
        self.call("sync", timeout_ms)

    def close(self):
        self.call("close")

    def wait_closed(self, timeout_ms=10000):
        self.call("wait_closed", timeout_ms)

    # Controls.
    def activation(self, mode):
        """"auto": key presses and clicks first make the window the foreground window;
        "manual": they leave the activation as it is."""
        self.call("activation", mode)

    def foreground(self, title_part):
        """Activates another top-level window, found by a part of its title."""
        self.call("foreground", title_part)

    def active_title(self):
        return self.call("active")

    def text(self, control_id):
        return self.call("text", control_id)

    def set_text(self, control_id, text):
        self.call("settext", control_id, text)

    def enabled(self, control_id):
        return self.call("enabled", control_id) == "1"

    def visible(self, control_id):
        return self.call("visible", control_id) == "1"

    def exists(self, control_id):
        return self.call("exists", control_id) == "1"

    def class_name(self, control_id):
        return self.call("class", control_id)

    def checked(self, control_id):
        return self.call("checked", control_id) == "1"

    def click(self, control_id):
        self.call("click", control_id)

    def post_click(self, control_id):
        self.call("post_click", control_id)

    def focus(self):
        value = self.call("focus")
        return None if value == "none" else int(value)

    def rect(self, control_id):
        return tuple(int(v) for v in self.call("rect", control_id).split())

    def menu_text(self, item_id):
        return self.call("menu", item_id)

    def menu_command(self, item_id):
        self.call("menu_command", item_id)

    # Input as a user makes it.
    def keys(self, chords):
        self.call("keys", chords)

    def type_text(self, text, delay_ms=0):
        self.call("type", text, delay_ms)

    def burst(self, *parts):
        """Text and key chords in turn ("ab", "BACK", "c", "CONTROL+S"), sent as one input
        burst: no pause between them in which the program's timer could tick."""
        self.call("burst", *parts)

    def set_clipboard(self, text):
        self.call("clipboard", text)

    def menu_open(self):
        """Whether a menu of the program is open (a popup menu window shows)."""
        return self.call("menu_open") == "1"

    # The end of a Windows session: WM_QUERYENDSESSION, then WM_ENDSESSION with the answer.
    def end_session(self):
        self.call("end_session")

    def end_session_result(self, timeout_ms=10000):
        """True when the program let the session end, False when it blocked it, None while it
        has not answered yet."""
        value = self.call("end_session_result", timeout_ms)
        return None if value == "pending" else value == "1"

    def click_at(self, x, y, count=1, gap_ms=0):
        """`count` left clicks at a point of the client area, `gap_ms` apart."""
        self.call("click_at", x, y, count, gap_ms)

    def move_mouse(self, screen_x, screen_y):
        self.call("move_mouse", screen_x, screen_y)

    def pixel(self, x, y):
        return tuple(int(v) for v in self.call("pixel", x, y).split())

    # Message boxes of the attached window's process.
    def msgbox(self, timeout_ms=3000):
        value = self.call("msgbox", timeout_ms)
        if value == "none":
            return None
        title, _, text = value.partition("\t")
        return title, text

    def dialog_edits(self, timeout_ms=3000):
        """The texts of the edit boxes of the open dialog (a file dialog's name, say)."""
        value = self.call("dialog_edits", timeout_ms)
        return None if value == "none" else value.split("\t")

    def lit(self):
        """Whether a tool tip of the program shows or one of its buttons is lit by the mouse."""
        return self.call("lit") == "1"

    def msgbox_ok(self, timeout_ms=3000):
        if self.call("msgbox_ok", timeout_ms):
            raise DriverError("message box did not close")

    IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7

    def msgbox_press(self, button_id):
        """Presses a button of the open message box or dialog by its id (IDYES, IDNO, ...)."""
        if self.call("msgbox_press", button_id):
            raise DriverError("message box did not close")

    # Drop-down lists.
    def combo_select(self, control_id, index):
        self.call("combo_select", control_id, index)

    def combo_count(self, control_id):
        return int(self.call("combo_count", control_id))

    def combo_cursel(self, control_id):
        return int(self.call("combo_cursel", control_id))

    def combo_item(self, control_id, index):
        return self.call("combo_item", control_id, index)

    def combo_dropped(self, control_id):
        return self.call("combo_dropped", control_id) == "1"

    def combo_dropped_height(self, control_id):
        return int(self.call("combo_dropped_height", control_id))

    # Added for the Portwand tests: (client height, item height, entries) of the opened list.
    def combo_open_list(self, control_id):
        return tuple(int(v) for v in self.call("combo_open_list", control_id).split())

    # Pictures.
    @staticmethod
    def screenshot(path):
        subprocess.run(["import", "-window", "root", path], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def wait_until(predicate, timeout=5.0, interval=0.05):
    """Polls `predicate` until it returns a true value or the time runs out; returns its last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)
