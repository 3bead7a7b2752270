#!/usr/bin/env python3
"""One short run of the real program under valgrind's memcheck: start, a dozen keys including
"i" and a texture reload, Escape. Fails on any invalid read, write or free, on definitely lost
bytes, or when Escape does not end the program with status 0.

Usage: memcheck.py BUILD_DIR [SUPPRESSIONS]
The program runs in BUILD_DIR with the textures the build generated there; valgrind's report
is left in BUILD_DIR/memcheck.log.
"""

import os
import re
import sys

sys.dont_write_bytecode = True
import driver  # noqa: E402

KEYS = ["Up", "Up", "Left", "s", "Right", "p", "Up", "p", "Prior", "End", "a", "i", "Down"]
BAD_ACCESS = re.compile(r"^==\d+== (Invalid (read|write|free)|Mismatched free|"
                        r"Source and destination overlap)", re.M)
DEFINITELY_LOST = re.compile(r"definitely lost: ([\d,]+) bytes")


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    build_dir = os.path.abspath(argv[1])
    log = os.path.join(build_dir, "memcheck.log")
    valgrind = ["valgrind", "--tool=memcheck", "--leak-check=full",
                "--show-leak-kinds=definite", "--errors-for-leak-kinds=definite",
                # Mesa unloads its driver before the leak check: keep its symbols for the report
                "--keep-debuginfo=yes", "--num-callers=30", "--log-file=" + log]
    if len(argv) == 3:
        valgrind.append("--suppressions=" + os.path.abspath(argv[2]))
    driver.require_tools()

    # Under valgrind every frame takes seconds: generous waits, one frame per key group.
    with driver.Session(os.path.join(build_dir, "orvessa"), build_dir, prefix=valgrind,
                        startup_timeout=600) as program:
        for key in KEYS:
            program.keys(key)
            program.wait_idle(timeout=600, quiet=1.0)
        status = program.quit(timeout=600)

    with open(log) as f:
        report = f.read()
    bad = [m.group(0).split("== ", 1)[1] for m in BAD_ACCESS.finditer(report)]
    lost = [int(n.replace(",", "")) for n in DEFINITELY_LOST.findall(report)]
    summary = re.search(r"ERROR SUMMARY: .*", report)
    print("memcheck: %s; definitely lost: %d bytes; exit status %d (report: %s)"
          % (summary.group(0) if summary else "no error summary", sum(lost), status, log))
    failures = []
    if bad:
        failures.append("%d invalid accesses, first: %s" % (len(bad), bad[0]))
    if sum(lost):
        failures.append("%d bytes definitely lost" % sum(lost))
    if not summary:
        failures.append("valgrind wrote no summary")
    if status != 0:
        failures.append("exit status %d after Escape" % status)
    for failure in failures:
        print("error: " + failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
