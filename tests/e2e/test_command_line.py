"""The built program's own options, with no display at all: --help and --version print and end
with 0, an unknown option is refused on the standard error with 2, and (on Linux) GLUT's X
options (with their values) and a run with no arguments still reach GLUT, which names the
display it could not open. Under Wine, the same for orvessa.exe; under qemu, for an ARM
build's program. And the front door, ./run.sh: --help lists its ways, and what it does not know
is refused before anything is installed or built."""

import os
import re
import subprocess
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


@unittest.skipUnless(e2e_case.LAUNCH == "native" and not e2e_case.PORTABLE,
                     "./run.sh builds this machine's program")
class FrontDoor(unittest.TestCase):
    def test_run_script_lists_its_ways_and_refuses_what_it_does_not_know(self):
        """./run.sh answers before it installs or builds anything (so each row takes moments)."""
        script = os.path.join(e2e_case.HERE, "..", "..", "run.sh")
        refused = r"error: \./run\.sh: %s \(\./run\.sh --help lists what it takes\)\n"
        rows = [  # arguments, exit status, standard output, standard error (regular expressions)
            (["--help"], 0, r"Usage: \./run\.sh .*" + ".*".join(
                re.escape(way) for way in ("./run.sh ARGUMENT", "--web [--lan]", "--windows",
                                           "--release", "--verify-release SUMS", "--help")), ""),
            (["--fly"], 2, "", refused % ".*takes no arguments: --fly"),
            (["--web", "--wan"], 2, "", refused % "--web takes --lan only, not --wan"),
            (["--release", "now"], 2, "", refused % "--release takes nothing more, not now"),
            (["--verify-release"], 2, "", refused % "--verify-release takes one file.*"),
            (["--verify-release", "/no/SHA256SUMS"], 2, "",
             refused % "--verify-release: no such file: /no/SHA256SUMS"),
        ]
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        for args, status, out, err in rows:
            done = subprocess.run([script, *args], env=env, capture_output=True, text=True,
                                  timeout=30, stdin=subprocess.DEVNULL)
            self.assertEqual(done.returncode, status, args)
            self.assertRegex(done.stdout, re.compile("^%s" % out, re.S), args)
            self.assertRegex(done.stderr, re.compile("^%s$" % err, re.S), args)


if __name__ == "__main__":
    unittest.main()
