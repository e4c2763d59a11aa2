#!/usr/bin/env python3
"""Benchmarks of Facetor under Wine; prints figures, asserts nothing about speed.

- start-up: from starting the process to the window being shown, and to the end of start-up
  (focus in the capture box, keys labelled, clock captions written);
- idle CPU: user + system time of the Facetor process over 10 s while the live clock runs;
- typing: 60 characters sent 10 ms apart, whether all land in order, and how long after the
  last key press the last one shows.

Run by hand, with the MinGW build done and a display (scripts/lib.sh: start_display):
  LCT_BUILD_DIR=build/mingw WINEPREFIX=build/mingw/wineprefix python3 tests/e2e/editor/bench_facetor.py
"""

import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from facetor_session import (CAPTURE, FACETOR_EXE, SETTINGS_FILE, remove_recovery_copies,  # noqa: E402
                             uidriver)

TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # utime and stime are fields 14 and 15 of the line; fields[0] here is field 3.
    return (int(fields[11]) + int(fields[12])) / TICKS_PER_SECOND


def main():
    remove_recovery_copies()  # a copy left by an earlier run would ask at start
    work = uidriver.fresh_folder("bench-")
    shutil.copy(SETTINGS_FILE, work)
    with uidriver.UiDriver() as ui:
        ui.screen_size()  # the driver is up, and with it the wineserver
        started = time.monotonic()
        process = uidriver.launch(FACETOR_EXE, work)
        try:
            ui.attach("Facetor", 60000)
            shown = time.monotonic() - started
            uidriver.wait_until(lambda: ui.focus() == CAPTURE and ui.text(2057) != ""
                                and ui.text(2001) != "", timeout=30, interval=0.01)
            ready = time.monotonic() - started
            print(f"start-up: window shown after {shown:.2f} s, start-up finished after "
                  f"{ready:.2f} s")

            time.sleep(1)
            before = cpu_seconds(process.pid)
            time.sleep(10)
            used = cpu_seconds(process.pid) - before
            print(f"idle CPU over 10 s with the live clock: {used:.2f} s "
                  f"({100 * used / 10:.1f} % of one core)")

            text = ("Facetor60" * 7)[:60]
            expected = [c for c in text]
            sent = time.monotonic()
            ui.type_text(text, 10)
            typed = time.monotonic()

            def cells():
                first = [ui.text(i) for i in range(100, 160)]
                return first if first == expected else None

            landed = uidriver.wait_until(cells, timeout=10, interval=0.02)
            done = time.monotonic()
            shown_cells = [ui.text(i) for i in range(100, 160)]
            in_order = sum(1 for a, b in zip(shown_cells, expected) if a == b)
            print(f"typing: 60 characters sent 10 ms apart in {typed - sent:.2f} s; "
                  f"{'all landed in order' if landed else f'{in_order} of 60 in place'}, "
                  f"the last shown {done - typed:.2f} s after the last key press")
            ui.close()
            # The typed cells are unsaved work: closing asks, and the benchmark keeps nothing.
            if ui.msgbox(5000) is not None:
                ui.msgbox_press(ui.IDNO)
            ui.wait_closed(10000)
        finally:
            uidriver.stop(process)
            uidriver.remove_folder(work)
    return 0


if __name__ == "__main__":
    sys.exit(main())
