"""Runs one end-to-end test file as `python3 -m unittest discover -s <folder> -p <file> -v` does,
and besides:
- reports every failed test with the state and the last lines of the log of each program it
  launched (what Wine said when a program crashed, or hung at start-up, is in there);
- writes each test's time and the whole file's to <LCT_E2E_TIMES>/<file>.tsv, when that variable
  names a folder, for the summary of the test run.

Usage: run_file.py <test file>
"""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import uidriver  # noqa: E402


class ResultWithLogs(unittest.TextTestResult):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.times = []  # (seconds, test id, passed)
        self._programs_before = 0
        self._started = time.monotonic()
        self._passed = True

    def startTest(self, test):
        self._programs_before = len(uidriver.launched_since(0))
        self._started = time.monotonic()
        self._passed = True
        super().startTest(test)

    def stopTest(self, test):
        super().stopTest(test)
        self.times.append((time.monotonic() - self._started, test.id(), self._passed))

    def _add_logs(self, entries):
        self._passed = False
        programs = uidriver.launched_since(self._programs_before)
        if programs and entries:
            test, text = entries[-1]
            entries[-1] = (test, text + "\nPrograms the test launched:\n"
                           + "\n".join(p.report() for p in programs) + "\n")

    def addError(self, test, err):
        super().addError(test, err)
        self._add_logs(self.errors)

    def addFailure(self, test, err):
        super().addFailure(test, err)
        self._add_logs(self.failures)

    def addSubTest(self, test, subtest, err):
        super().addSubTest(test, subtest, err)
        if err is not None:
            self._add_logs(self.failures if issubclass(err[0], test.failureException)
                           else self.errors)


def write_times(path, result, seconds):
    folder = os.environ.get("LCT_E2E_TIMES")
    if not folder:
        return
    os.makedirs(folder, exist_ok=True)
    name = os.path.relpath(path, os.path.dirname(os.path.dirname(path)))
    outcome = "passed" if result.wasSuccessful() else "FAILED"
    with open(os.path.join(folder, name.replace(os.sep, "-") + ".tsv"), "w",
              encoding="utf-8") as f:
        f.write(f"file\t{seconds:.1f}\t{name}\t{outcome}, {result.testsRun} tests\n")
        for test_seconds, test_id, passed in result.times:
            f.write(f"test\t{test_seconds:.1f}\t{test_id}\t{'passed' if passed else 'FAILED'}\n")


def main(path):
    path = os.path.abspath(path)
    started = time.monotonic()
    suite = unittest.defaultTestLoader.discover(os.path.dirname(path),
                                                pattern=os.path.basename(path))
    runner = unittest.TextTestRunner(verbosity=2, resultclass=ResultWithLogs)
    result = runner.run(suite)
    write_times(path, result, time.monotonic() - started)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
