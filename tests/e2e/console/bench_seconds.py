#!/usr/bin/env python3
"""How close to the start of the armed second the seconds pair leaves Portwand under Wine.

Presses "Секунды" 20 times at random points of a second and prints, for the first byte of each
pair read from a pseudo-terminal mapped as COM5, its delay after the start of the second it carries
(by the host clock, which Wine's local time follows): minimum, median and maximum.

Needs the MinGW build (LCT_BUILD_DIR, default build/mingw), its Wine prefix and an X display:
    source scripts/lib.sh; start_display; python3 tests/e2e/console/bench_seconds.py
"""

import os
import random
import statistics
import sys
import time

from portwand_e2e import SerialPair, clock_pair, map_com_ports, portwand_exe
import uidriver

PRESSES = 20


def main():
    pair = SerialPair("bench").start()
    map_com_ports({"COM5": pair.device})
    work = uidriver.fresh_folder("portwand-bench-")
    with open(os.path.join(work, "Portwand.ini"), "wb") as f:
        f.write(b"port = COM5\r\n")
    process = uidriver.launch(portwand_exe(), work)
    delays = []
    problems = []
    try:
        with uidriver.UiDriver() as driver:
            driver.attach("Portwand", 60000)
            uidriver.wait_until(lambda: driver.text(51) != "", timeout=10)
            for _ in range(PRESSES):
                time.sleep(random.uniform(0.05, 1.0))
                pressed = time.time()
                driver.click(19)
                got = pair.read(14, timeout=3)
                if len(got) < 14:
                    problems.append(f"press at {pressed:.3f}: only {len(got)} bytes")
                    continue
                first = got[0][1]
                second = time.localtime(first).tm_sec
                if bytes(b for b, _ in got) != clock_pair(6, second):
                    problems.append(f"press at {pressed:.3f}: pair does not carry second {second}")
                if int(first) != int(pressed) + 1:
                    problems.append(f"press at {pressed:.3f}: sent in second {int(first)}")
                delays.append((first - int(first)) * 1000.0)
            driver.close()
            driver.wait_closed(10000)
    finally:
        uidriver.stop(process)
        pair.stop()
        map_com_ports({"COM5": None})
        uidriver.remove_folder(work)

    if delays:
        print(f"seconds pair, first byte after the start of its second, {len(delays)} presses:")
        print(f"  min {min(delays):.2f} ms, median {statistics.median(delays):.2f} ms, "
              f"max {max(delays):.2f} ms")
        print("  all: " + " ".join(f"{d:.1f}" for d in sorted(delays)))
    for p in problems:
        print("problem: " + p)
    return 1 if problems or not delays else 0


if __name__ == "__main__":
    sys.exit(main())
