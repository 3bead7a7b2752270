"""A cross build's plain C++ unit tests (ORVESSA_BUILD_DIR/tests/orvessa_unit_tests, .exe on
Windows), in one process of the emulator that runs its program (Wine, qemu): every start of
one is slow. The Windows file reader's own cases are among them."""

import os
import unittest

import e2e_case


class UnitTests(unittest.TestCase):
    def test_all_pass(self):
        name = "orvessa_unit_tests" + (".exe" if e2e_case.ON_WINDOWS else "")
        binary = os.path.join(e2e_case.BUILD_DIR, "tests", name)
        self.assertTrue(os.path.isfile(binary), "no %s (its build makes it)" % binary)
        done = e2e_case.run_without_display(e2e_case.launcher(binary), timeout=240)
        print(done.stdout[-3000:], done.stderr[-3000:])
        self.assertEqual(done.returncode, 0, "the unit tests failed (above)")
        self.assertIn("[  PASSED  ]", done.stdout)


if __name__ == "__main__":
    unittest.main()
