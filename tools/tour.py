#!/usr/bin/env python3
"""A short guided tour for machines without a display: starts the program on a private Xvfb,
walks it with real key presses and saves what each stop shows as a PNG.

Usage: tools/tour.py [--wine] BUILD_DIR OUTPUT_DIR
The program runs in BUILD_DIR, where the build puts its textures. With --wine, BUILD_DIR is the
Windows build, whose orvessa.exe takes the tour under Wine.
"""

import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import driver  # noqa: E402

# (keys, file, what it shows). From the start pose the heading is about 13 degrees right of
# the hall's axis; Right turns clockwise seen from above, one degree a press.
STOPS = [
    ([], "01-start.png", "the start: the hall ahead, the pool on the left, two minarets"),
    (["Up"] * 12, "02-at-the-pool.png", "24 units on, beside the pool's long border"),
    (["Right"] * 36, "03-turned-to-a-minaret.png",
     "turned 36 degrees right, facing the front-right minaret across the pool"),
    (["Up"] * 25 + ["p"] + ["Up"] * 35, "04-looking-up-at-the-minaret.png",
     "walked up to the minaret and tilted the view 35 degrees up"),
    (["Down"] * 35 + ["p"] + ["Prior"] * 50 + ["Left"] * 71 + ["Up"] * 31 + ["p"] + ["Down"] * 70,
     "05-over-the-hall-looking-down.png",
     "flown 100 units up, over the middle of the hall, looking 70 degrees down at the roof"),
    (["Up"] * 70 + ["End"] + ["Down"] * 40 + ["p"], "06-turned-round.png",
     "level, turned round and looking 40 degrees down: the front of the hall and the pool"),
]


def main(argv):
    wine = argv[1:2] == ["--wine"]
    if wine:
        argv = argv[:1] + argv[2:]
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    build_dir, out_dir = (os.path.abspath(a) for a in argv[1:])
    if wine:
        launch = driver.Wine(os.path.join(build_dir, "orvessa.exe"),
                             os.path.join(build_dir, "wine"))
    else:
        launch = driver.Native(os.path.join(build_dir, "orvessa"))
    driver.require_tools()
    os.makedirs(out_dir, exist_ok=True)
    saved = []
    with driver.Session(launch, build_dir) as program:
        for keys, name, what in STOPS:
            frame = program.press(*keys) if keys else program.frame()
            path = os.path.join(out_dir, name)
            frame.save_png(path)
            saved.append((path, what))
        status = program.quit()
    print("Tour views saved in %s:" % out_dir)
    for path, what in saved:
        print("  %-36s %s" % (os.path.basename(path), what))
    if status != 0:
        print("error: the program ended with status %d after Escape" % status, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
