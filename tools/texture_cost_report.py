#!/usr/bin/env python3
"""Measures what the hostile texture pair costs the real program against the shipped textures
and appends the result to the benchmark page as its own section (replacing an earlier one).

Usage: tools/texture_cost_report.py BUILD_DIR REPORT [ROUNDS]
Runs the built program BUILD_DIR/orvessa on private Xvfb servers, both ways side by side, in
ROUNDS rounds (5 by default), and reports medians.
"""

import os
import statistics
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import report_section  # noqa: E402
import texture_cost  # noqa: E402

HEADING = "## Hostile textures against the shipped ones"
MiB = 1 << 20


def measure(build_dir):
    """One round: the shipped textures and the hostile pair, side by side."""
    with tempfile.TemporaryDirectory(prefix="orvessa-cost-") as scratch:
        folders = [os.path.join(scratch, name) for name in ("sound", "hostile")]
        for folder, fill in zip(folders, (texture_cost.sound_folder, texture_cost.hostile_folder)):
            os.mkdir(folder)
            fill(build_dir, folder)
        costs = texture_cost.measure(os.path.join(build_dir, "orvessa"), folders)
    if any(cost.status != 0 for cost in costs):
        raise SystemExit("error: the program ended with %s instead of 0"
                         % [cost.status for cost in costs])
    return costs


def section(rounds, sound, hostile, load_before):
    def row(label, costs):
        peak = statistics.median(c.peak_bytes for c in costs) / MiB
        press = statistics.median(c.press_seconds for c in costs) / texture_cost.PRESSES
        return label, peak, press

    rows = [row("shipped textures", sound), row("hostile pair", hostile)]
    base_peak, base_press = rows[0][1], rows[0][2]
    lines = [
        HEADING,
        "",
        "Two copies of the real program, each under a private Xvfb (1024 × 768): one in a"
        " folder holding the six textures the build generates, one in a copy of it where"
        " `grass.bmp` is %s and `roof.bmp` %s. Each draws its first frame; then they take turns"
        " at %d batches of %d presses of an unlisted key (each press re-reads and re-uploads"
        " every texture twice, and redraws), and each one's cheapest batch counts; then each"
        " takes one step forward and quits with Escape. Peak memory is the process's `VmHWM`"
        " after the presses. The time is the processor time of all the process's threads over"
        " a batch (from `/proc/PID/task/*/schedstat`), redraws included, given per press."
        " Medians of %d such rounds, measured %s with a load average of %s before. Bounds,"
        " checked by `e2e.texture_cost`: the hostile run's peak at most 32 MiB above the"
        " shipped one's, and its presses at most 1.5 × the time."
        % (texture_cost.HOSTILE["grass.bmp"], texture_cost.HOSTILE["roof.bmp"],
           texture_cost.BATCHES, texture_cost.PRESSES, rounds, time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime()),
           load_before),
        "",
        "| Textures | Peak memory | over shipped | CPU per key press | / shipped |",
        "|---|---|---|---|---|",
    ]
    for label, peak, press in rows:
        lines.append("| %s | %.1f MiB | %+.1f MiB | %.1f ms | %.2f |"
                     % (label, peak, peak - base_peak, press * 1e3, press / base_press))
    return "\n".join(lines) + "\n"


def main():
    if len(sys.argv) not in (3, 4):
        raise SystemExit(__doc__)
    build_dir, report = os.path.abspath(sys.argv[1]), sys.argv[2]
    rounds = int(sys.argv[3]) if len(sys.argv) == 4 else 5
    load_before = report_section.load_average()
    sound, hostile = [], []
    for _ in range(rounds):
        one_sound, one_hostile = measure(build_dir)
        sound.append(one_sound)
        hostile.append(one_hostile)
    text = section(rounds, sound, hostile, load_before)
    report_section.replace_section(report, HEADING, text)
    print("Added the texture cost to %s" % report)


if __name__ == "__main__":
    main()
