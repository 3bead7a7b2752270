#!/usr/bin/env python3
"""Measures a program for another system, run by its emulator, against the Linux program, in
one run, and puts the result on the benchmark page as a section of its own (replacing an
earlier one): the Windows program under Wine, or an ARM program under qemu.

Usage: tools/emulated_benchmarks.py KIND BUILD_DIR OTHER_BUILD_DIR REPORT [ROUNDS]
  KIND  wine (OTHER_BUILD_DIR is the Windows build), qemu-aarch64 (an arm64 build) or
        qemu-arm (an armhf build)
Both programs run side by side, each on a private Xvfb with Mesa's software renderer, in a
folder holding the textures their builds made, and take turns at batches of key presses.
ROUNDS rounds (5 by default), medians reported.
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

BATCHES, PRESSES = 5, 10
# A turn redraws one frame; an unlisted key also reads and uploads every texture twice.
KEYS = {"turn (Right, then Left)": ("Right", "Left"), "reload (an unlisted key)": ("a", "a")}


def measure(launches, folders):
    """One round: every program in its folder, side by side; for each kind of key, the processor
    time per press of each program's cheapest batch, and the time to its first frame."""
    results = [{} for _ in launches]
    with tempfile.TemporaryDirectory(prefix="orvessa-emulated-bench-") as logs, \
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


class Kind:
    """What one emulator runs, and how the page describes it."""

    def __init__(self, heading, program, column, how, launcher, version_command):
        self.heading, self.program, self.column, self.how = heading, program, column, how
        self.launcher, self.version_command = launcher, version_command


QEMU_HOW = (
    "%s (user-mode emulation, translating each ARM instruction into this machine's), where the"
    " ARM program draws with its own architecture's Mesa: llvmpipe, which makes ARM code for"
    " each shader that qemu then translates in turn. The time to the first frame runs from the"
    " start of the process until the window covers the screen and the program is idle. Per"
    " press: the processor time of all the program's threads (qemu's and llvmpipe's among"
    " them)")
KINDS = {
    "wine": Kind(
        "## The Windows program under Wine", "build-windows/orvessa.exe", "Windows under Wine",
        "%s, where both draw with Mesa's llvmpipe. The time to the first frame runs from the"
        " start of the process until the window covers the screen and the program is idle"
        " (under Wine it includes starting the Wine server and its services in a new prefix)."
        " Per press: the processor time of all the program's own threads (the Wine server's not"
        " counted)",
        lambda build: driver.Wine(os.path.join(build, "orvessa.exe"),
                                  os.path.join(build, "wine")),
        ["wine", "--version"]),
    "qemu-aarch64": Kind(
        "## The arm64 program under qemu", "build-arm64/orvessa", "arm64 under qemu", QEMU_HOW,
        lambda build: driver.Qemu(os.path.join(build, "orvessa"), "qemu-aarch64"),
        ["qemu-aarch64", "--version"]),
}


def section(kind, rounds, native, other, load_before, version):
    lines = [
        kind.heading,
        "",
        "The Linux program (`build/orvessa`) and `%s` side by side, each on a private Xvfb"
        " (1024 × 768) in a folder holding the six textures their builds made, under "
        % kind.program + kind.how % version +
        " over a batch of %d presses (from `/proc/PID/task/*/schedstat`; the X server's time"
        " not counted), the cheapest of %d batches. Medians of %d rounds, measured %s on this"
        " machine (%s, %d cores, %s) with a load average of %s before."
        % (PRESSES, BATCHES, rounds, time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime()),
           cpu_name(), os.cpu_count(), platform.platform(terse=True), load_before),
        "",
        "| | Linux | %s | ratio |" % kind.column,
        "|---|---|---|---|",
    ]
    for label, unit, scale in [("start", "s", 1)] + [(k, "ms", 1e3) for k in KEYS]:
        a = statistics.median(r[label] for r in native) * scale
        b = statistics.median(r[label] for r in other) * scale
        name = "to the first frame" if label == "start" else "CPU per press, " + label
        lines.append("| %s | %.2f %s | %.2f %s | %.2f |" % (name, a, unit, b, unit, b / a))
    return "\n".join(lines) + "\n"


def cpu_name():
    with open("/proc/cpuinfo") as f:
        return next((line.split(":", 1)[1].strip() for line in f
                     if line.startswith("model name")), "unknown processor")


def main():
    if len(sys.argv) not in (5, 6) or sys.argv[1] not in KINDS:
        raise SystemExit(__doc__)
    kind = KINDS[sys.argv[1]]
    build_dir, other_dir, report = (os.path.abspath(a) for a in sys.argv[2:5])
    rounds = int(sys.argv[5]) if len(sys.argv) == 6 else 5
    driver.require_tools()
    load_before = report_section.load_average()
    version = subprocess.run(kind.version_command, capture_output=True,
                             text=True).stdout.splitlines()[0].strip()
    native, other = [], []
    for _ in range(rounds):
        with tempfile.TemporaryDirectory(prefix="orvessa-emulated-bench-") as scratch:
            folders = []
            for build in (build_dir, other_dir):
                folder = os.path.join(scratch, os.path.basename(build))
                os.mkdir(folder)
                texture_cost.sound_folder(build, folder)
                folders.append(folder)
            launches = [driver.Native(os.path.join(build_dir, "orvessa")),
                        kind.launcher(other_dir)]
            one_native, one_other = measure(launches, folders)
        native.append(one_native)
        other.append(one_other)
    report_section.replace_section(report, kind.heading,
                                   section(kind, rounds, native, other, load_before, version))
    print("Added %s to %s" % (kind.heading[3:], report))


if __name__ == "__main__":
    main()
