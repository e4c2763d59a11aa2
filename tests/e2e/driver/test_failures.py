"""What a test learns when the program it started never shows its window."""

import io
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.abspath(os.path.join(os.path.dirname(__file__), "..")))
import run_file  # noqa: E402
import uidriver  # noqa: E402

PROGRAM = os.path.join(uidriver.build_dir(), "tests", "e2e", "driver", "ends_at_start.exe")


class ProgramWithoutWindow(unittest.TestCase):

    def setUp(self):
        self.work = uidriver.fresh_folder("driver-")
        self.addCleanup(uidriver.remove_folder, self.work)

    def test_attach_stops_when_the_program_ends_and_says_how_it_ended(self):
        for argument, timeout_ms, expected in [
                ("exit 3", 60000, ["ended before its window showed", "exit code 3"]),
                # Wine mostly gives 5 for the access violation, now and then 0.
                ("crash", 60000, ["ended before its window showed", "Unhandled page fault"]),
                ("hang", 1500, ["window not found", "ends_at_start.exe is still running"])]:
            with self.subTest(argument):
                program = uidriver.launch(PROGRAM, self.work, argument.split())
                self.addCleanup(uidriver.stop, program, 0)
                started = time.monotonic()
                with uidriver.UiDriver() as ui, self.assertRaises(uidriver.DriverError) as error:
                    ui.attach("Facetor", timeout_ms)
                self.assertLess(time.monotonic() - started, 30, "it waited out the timeout")
                for text in expected + ["last lines of " + program.log_path]:
                    self.assertIn(text, str(error.exception))

    def test_a_failed_test_is_reported_with_the_log_of_the_program_it_started(self):
        class Broken(unittest.TestCase):
            def runTest(inner):
                uidriver.stop(uidriver.launch(PROGRAM, self.work, ["crash"]), 30)
                inner.fail("no window")

        result = run_file.ResultWithLogs(unittest.runner._WritelnDecorator(io.StringIO()), True, 2)
        Broken().run(result)
        report = result.failures[0][1]
        for text in ["AssertionError: no window", "Programs the test launched",
                     "ends_at_start.exe ended with exit code", "Unhandled page fault"]:
            self.assertIn(text, report)


if __name__ == "__main__":
    unittest.main()
