"""The built program's own options, with no display at all: --help and --version print and end
with 0, an unknown option is refused on the standard error with 2, and (on Linux) GLUT's X
options (with their values) and a run with no arguments still reach GLUT, which names the
display it could not open. Under Wine, the same for orvessa.exe; under qemu, for an ARM
build's program."""

import re
import unittest

import e2e_case
import scene_model as model


def run(*args):
    return e2e_case.run_without_display(e2e_case.launcher(), *args)


class CommandLine(unittest.TestCase):
    def test_answers_and_exit_statuses_without_a_display(self):
        hint = "Try 'orvessa --help' for more information.\n"
        glut = r"freeglut \(.*\): failed to open display '%s'\n"
        rows = [  # arguments, exit status, standard output, standard error (regular expressions)
            (["--help"], 0, r"Usage: orvessa .*The manual: %s\n" % e2e_case.MANUAL, ""),
            (["--version"], 0, re.escape("orvessa %s\n" % e2e_case.project_version()), ""),
            (["--fly"], 2, "", re.escape("orvessa: unknown option '--fly'\n" + hint)),
            (["-sync", "-display"], 2, "", re.escape("orvessa: option '-display' needs a value\n"
                                                     + hint)),
        ]
        if not e2e_case.ON_WINDOWS:  # X displays are GLUT's business on Linux alone
            rows += [
                (["-display", ":65000", "-geometry", "640x480+0+0", "-iconic", "-sync"], 1, "",
                 glut % ":65000"),
                ([], 1, "", glut % ""),
            ]
        for args, status, out, err in rows:
            done = run(*args)
            self.assertEqual(done.returncode, status, args)
            self.assertRegex(done.stdout, re.compile("^%s$" % out, re.S), args)
            self.assertRegex(done.stderr, re.compile("^%s$" % err, re.S), args)
        help_text = run("--help").stdout
        for name in model.TEXTURE_FILES:
            self.assertIn(name, help_text)


if __name__ == "__main__":
    unittest.main()
