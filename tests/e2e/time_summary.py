"""Prints what run_file.py recorded in a test run: one line per end-to-end test file with its
time, then the run's ten slowest tests, so that a run growing slower shows.

Usage: time_summary.py <times folder> <folder of the test files>
"""

import glob
import os
import sys


def read_records(times_folder):
    files, tests = {}, []
    for path in glob.glob(os.path.join(times_folder, "*.tsv")):
        with open(path, encoding="utf-8") as f:
            for line in f:
                kind, seconds, name, outcome = line.rstrip("\n").split("\t")
                if kind == "file":
                    files[name] = (float(seconds), outcome)
                else:
                    tests.append((float(seconds), name, outcome))
    return files, tests


def main(times_folder, tests_folder):
    files, tests = read_records(times_folder)
    expected = sorted(os.path.relpath(p, tests_folder)
                      for p in glob.glob(os.path.join(tests_folder, "*", "test_*.py")))
    print("End-to-end test files:")
    for name in expected:
        if name in files:
            seconds, outcome = files[name]
            print(f"  {seconds:7.1f} s  {name}  ({outcome})")
        else:
            print(f"  {'-':>7}    {name}  (no record: it did not run to its end)")
    print("The ten slowest end-to-end tests:")
    for seconds, name, outcome in sorted(tests, reverse=True)[:10]:
        mark = "" if outcome == "passed" else f"  ({outcome})"
        print(f"  {seconds:7.1f} s  {name}{mark}")
    total = sum(seconds for seconds, _ in files.values())
    print(f"  {len(tests)} tests in {len(files)} files, {total:.0f} s")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
