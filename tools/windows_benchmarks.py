#!/usr/bin/env python3
"""Measures the Windows program under Wine against the Linux program, in one run, and puts the
result on the benchmark page as a section of its own (replacing an earlier one).

Usage: tools/windows_benchmarks.py BUILD_DIR WINDOWS_BUILD_DIR REPORT [ROUNDS]
Both programs run side by side, each on a private Xvfb with Mesa's llvmpipe (Wine hands
orvessa.exe's OpenGL calls to the same Mesa), in a folder holding the textures their builds
made, and take turns at batches of key presses. ROUNDS rounds (5 by default), medians reported.
"""

import contextlib
import os
import platform
import statistics
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import driver  # noqa: E402
import report_section  # noqa: E402
import texture_cost  # noqa: E402

HEADING = "## The Windows program under Wine"
BATCHES, PRESSES = 5, 10
# A turn redraws one frame; an unlisted key also reads and uploads every texture twice.
KEYS = {"turn (Right, then Left)": ("Right", "Left"), "reload (an unlisted key)": ("a", "a")}


def measure(launches, folders):
    """One round: every program in its folder, side by side; for each kind of key, the processor
    time per press of each program's cheapest batch, and the time to its first frame."""
    results = [{} for _ in launches]
    with tempfile.TemporaryDirectory(prefix="orvessa-wine-bench-") as logs, \
            contextlib.ExitStack() as stack:
        programs = []
        for i, (launch, folder, result) in enumerate(zip(launches, folders, results)):
            started = time.monotonic()
            programs.append(stack.enter_context(
                driver.Session(launch, folder, log=os.path.join(logs, "%d.log" % i))))
            programs[-1].frame()
            result["start"] = time.monotonic() - started
        for label, (there, back) in KEYS.items():
            spent = [[] for _ in programs]
            for batch in range(BATCHES):
                key = there if batch % 2 == 0 else back
                for program, times in zip(programs, spent):
                    before = program.cpu_seconds()
                    program.keys(*[key] * PRESSES)
                    program.wait_idle()
                    times.append((program.cpu_seconds() - before) / PRESSES)
            for result, times in zip(results, spent):
                result[label] = min(times)
        for program in programs:
            if program.quit() != 0:
                raise SystemExit("error: a program did not end with status 0 on Escape")
    return results


def section(rounds, native, wine, load_before, wine_version):
    lines = [
        HEADING,
        "",
        "The Linux program (`build/orvessa`) and the Windows one (`build-windows/orvessa.exe`)"
        " under %s, side by side, each on a private Xvfb (1024 × 768) where both draw with"
        " Mesa's llvmpipe, in a folder holding the six textures their builds made. The time to"
        " the first frame runs from the start of the process until the window covers the screen"
        " and the program is idle (under Wine it includes starting the Wine server and its"
        " services in a new prefix). Per press: the processor time of all the program's own"
        " threads over a batch of %d presses (from `/proc/PID/task/*/schedstat`; the Wine"
        " server's and the X server's time not counted), the cheapest of %d batches. Medians of"
        " %d rounds, measured %s on this machine (%s, %d cores, %s) with a load average of %s"
        " before."
        % (wine_version, PRESSES, BATCHES, rounds,
           time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime()), cpu_name(), os.cpu_count(),
           platform.platform(terse=True), load_before),
        "",
        "| | Linux | Windows under Wine | Wine / Linux |",
        "|---|---|---|---|",
    ]
    for label, unit, scale in [("start", "s", 1)] + [(k, "ms", 1e3) for k in KEYS]:
        a = statistics.median(r[label] for r in native) * scale
        b = statistics.median(r[label] for r in wine) * scale
        name = "to the first frame" if label == "start" else "CPU per press, " + label
        lines.append("| %s | %.2f %s | %.2f %s | %.2f |" % (name, a, unit, b, unit, b / a))
    return "\n".join(lines) + "\n"


def cpu_name():
    with open("/proc/cpuinfo") as f:
        return next((line.split(":", 1)[1].strip() for line in f
                     if line.startswith("model name")), "unknown processor")


def main():
    if len(sys.argv) not in (4, 5):
        raise SystemExit(__doc__)
    build_dir, windows_dir, report = (os.path.abspath(a) for a in sys.argv[1:4])
    rounds = int(sys.argv[4]) if len(sys.argv) == 5 else 5
    driver.require_tools()
    load_before = report_section.load_average()
    wine_version = subprocess.run(["wine", "--version"], capture_output=True,
                                  text=True).stdout.strip() or "Wine"
    native, wine = [], []
    for _ in range(rounds):
        with tempfile.TemporaryDirectory(prefix="orvessa-wine-bench-") as scratch:
            folders = []
            for build in (build_dir, windows_dir):
                folder = os.path.join(scratch, os.path.basename(build))
                os.mkdir(folder)
                texture_cost.sound_folder(build, folder)
                folders.append(folder)
            launches = [driver.Native(os.path.join(build_dir, "orvessa")),
                        driver.Wine(os.path.join(windows_dir, "orvessa.exe"),
                                    os.path.join(windows_dir, "wine"))]
            one_native, one_wine = measure(launches, folders)
        native.append(one_native)
        wine.append(one_wine)
    report_section.replace_section(report, HEADING,
                                   section(rounds, native, wine, load_before, wine_version))
    print("Added the Windows program under Wine to %s" % report)


if __name__ == "__main__":
    main()
