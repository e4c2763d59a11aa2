#!/usr/bin/env python3
"""How close to the start of a second the seconds pair leaves Portwand under Wine, for ports that
take 0, 20, 140 and 500 ms to open.

A pseudo-terminal is mapped as COM5; the open of its device is slowed down by slow_open.c,
preloaded into Wine (its server opens the devices; see SlowOpen). For each open time Portwand is
started anew (its trial opening learns the time), "Секунды" is pressed PRESSES times at random
points of a second, and the delay of each pair's first byte after the start of the second it carries (by the
host clock, which Wine's local time follows) is printed: minimum, median and maximum.

Needs the MinGW build (LCT_BUILD_DIR, default build/mingw), its Wine prefix and an X display:
    source scripts/lib.sh; start_display; python3 tests/e2e/console/bench_seconds.py
"""

import os
import random
import statistics
import sys
import time

from portwand_e2e import SerialPair, SlowOpen, clock_pair, map_com_ports, portwand_exe
import uidriver

PRESSES = int(os.environ.get("PORTWAND_BENCH_PRESSES", "15"))
OPEN_TIMES_MS = (0, 20, 140, 500)


def measure(pair, work, presses):
    """Starts Portwand on COM5 and presses "Секунды"; returns the delays in ms and any problems."""
    process = uidriver.launch(portwand_exe(), work)
    delays, problems = [], []
    try:
        with uidriver.UiDriver() as driver:
            driver.attach("Portwand", 60000)
            # The trial opening, which learns the open time, has run.
            uidriver.wait_until(lambda: driver.text(51) not in ("", "Открытие..."), timeout=10)
            pair.read(1000, timeout=0.1)
            for _ in range(presses):
                time.sleep(random.uniform(0.05, 1.0))
                pressed = time.time()
                driver.click(19)
                got = pair.read(14, timeout=4)
                if len(got) < 14:
                    problems.append(f"press at {pressed:.3f}: only {len(got)} bytes")
                    continue
                first = got[0][1]
                second = time.localtime(first).tm_sec
                if bytes(b for b, _ in got) != clock_pair(6, second):
                    problems.append(f"press at {pressed:.3f}: pair does not carry second {second}")
                delays.append((first - int(first)) * 1000.0)
            driver.close()
            driver.wait_closed(10000)
    finally:
        uidriver.stop(process)
    return delays, problems


def main():
    work = uidriver.fresh_folder("portwand-bench-")
    pair = SerialPair("bench").start()
    # Set before Wine's server starts anew, so that it runs with the slow open.
    slow = SlowOpen("COM5")
    map_com_ports({"COM5": pair.device})
    with open(os.path.join(work, "Portwand.ini"), "wb") as f:
        f.write(b"port = COM5\r\n")
    all_problems = []
    print(f"seconds pair under Wine, first byte after the start of its second "
          f"({PRESSES} presses each):")
    try:
        for open_ms in OPEN_TIMES_MS:
            slow.set(open_ms)
            delays, problems = measure(pair, work, PRESSES)
            all_problems += [f"open {open_ms} ms, {p}" for p in problems]
            if delays:
                print(f"  open {open_ms:3d} ms: min {min(delays):.2f} ms, "
                      f"median {statistics.median(delays):.2f} ms, max {max(delays):.2f} ms",
                      flush=True)
    finally:
        slow.remove()
        pair.stop()
        map_com_ports({"COM5": None})
        uidriver.remove_folder(work)
    for p in all_problems:
        print("problem: " + p)
    return 1 if all_problems else 0


if __name__ == "__main__":
    sys.exit(main())
