#!/usr/bin/env python3
"""Renders the desktop icon from the program itself: its start view on a private Xvfb, the
hall's front cut out as a square and scaled to 256 x 256. tools/web_icons.sh renders the web
page's icons with it too, at other sizes and in few colours.

Usage: packaging/render_icon.py PROGRAM TEXTURE_DIR OUTPUT_PNG [SIZE [COLOURS]]
  SIZE     the side in pixels (256)
  COLOURS  a palette of at most this many colours, without dithering, for a small file
"""

import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import driver  # noqa: E402

CONVERT = "/usr/bin/convert"  # ImageMagick's, whatever else is on PATH
# On the 1024 x 768 start view: the hall's front with its door, the pool's end and the lawn.
CROP = "640x640+216+0"
SIZE = 256


def main(argv):
    if len(argv) not in (4, 5, 6):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    program, texture_dir, output = (os.path.abspath(a) for a in argv[1:4])
    size = int(argv[4]) if len(argv) > 4 else SIZE
    palette = ["+dither", "-colors", argv[5], "PNG8:"] if len(argv) > 5 else [""]
    driver.require_tools()
    # Mesa's softpipe, not llvmpipe: llvmpipe generates its code for the processor it runs on,
    # and the same frame drawn with and without SSE differs in a few hundred pixels; softpipe's
    # is plain C, so the icon is the same bytes on every machine.
    os.environ["GALLIUM_DRIVER"] = "softpipe"
    # The scratch folder sits beside the output, so that the final move is one rename.
    with tempfile.TemporaryDirectory(prefix=".icon-", dir=os.path.dirname(output)) as scratch:
        frame_png = os.path.join(scratch, "start.png")
        with driver.Session(program, texture_dir,
                            log=os.path.join(scratch, "program.log")) as session:
            session.frame().save_png(frame_png)
            status = session.quit()
        if status != 0:
            print("error: the program ended with status %d after Escape" % status,
                  file=sys.stderr)
            return 1
        # Made in the scratch folder and moved, so that a failed run leaves no icon behind;
        # no time stamps, so an unchanged view gives an unchanged file.
        partial = os.path.join(scratch, "icon.png")
        subprocess.run([CONVERT, frame_png, "-crop", CROP, "+repage", "-resize",
                        "%dx%d" % (size, size), "-strip"] + palette[:-1] + [palette[-1] + partial],
                       check=True)
        os.replace(partial, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
