"""What a texture folder costs the running program: its peak resident memory and the processor
time of a few ordinary key presses, each of which re-reads every texture file. Measured on the
real binary under a private X server; used by the end-to-end case and the benchmark page."""

import collections
import os
import shutil

import bmp_files
import driver
import scene_model as model

PRESSES = 5
# A header alone that claims 16384 x 16384 pixels, and a FIFO where a picture should be.
HOSTILE = {model.LAWN: "a 54-byte header claiming 16384 x 16384",
           model.ROOF: "a FIFO"}

Cost = collections.namedtuple("Cost", "peak_bytes press_seconds start walked status")


def sound_folder(build_dir, folder):
    """The six textures the build generates, copied into folder."""
    for name in model.TEXTURE_FILES:
        shutil.copyfile(os.path.join(build_dir, name), os.path.join(folder, name))


def hostile_folder(build_dir, folder):
    """The sound folder with the lawn's and the roof's files replaced by the hostile pair."""
    sound_folder(build_dir, folder)
    bmp_files.huge_claim(os.path.join(folder, model.LAWN), 16384)
    roof = os.path.join(folder, model.ROOF)
    os.remove(roof)
    os.mkfifo(roof)


def measure(binary, folder, log=None, quit_timeout=20):
    """Starts the program in folder, presses an unlisted key PRESSES times, then walks one step
    and quits. The processor time counts the presses alone (and the frames they redraw); the
    peak is the whole run's up to the walk."""
    with driver.Session(binary, folder, log=log) as program:
        start = program.frame()
        before = program.cpu_seconds()
        program.keys(*["a"] * PRESSES)
        program.wait_idle()
        spent = program.cpu_seconds() - before
        peak = program.peak_memory()
        walked = program.press("Up")
        status = program.quit(timeout=quit_timeout)
    return Cost(peak, spent, start, walked, status)
