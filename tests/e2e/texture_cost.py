"""What a texture folder costs the running program: its peak resident memory and the processor
time of a few ordinary key presses, each of which re-reads every texture file. Measured on the
real binary under a private X server; used by the end-to-end case and the benchmark page."""

import collections
import contextlib
import os
import shutil

import bmp_files
import driver
import scene_model as model

PRESSES = 5
# A header alone that claims 16384 x 16384 pixels, and a FIFO where a picture should be.
HOSTILE = {model.LAWN: "a 54-byte header claiming 16384 x 16384",
           model.ROOF: "a FIFO"}

BATCHES = 5

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


def measure(binary, folders, logs=None, quit_timeout=20):
    """Runs the program in every folder at once, each on its own X server, and gives each in
    turn BATCHES batches of PRESSES presses of an unlisted key, so that a busy machine weighs on
    all of them alike. The processor time is that of the cheapest batch, the presses and the
    frames they redraw; the peak is the whole run's up to then. Each then walks one step and
    quits. Returns one Cost per folder."""
    logs = logs or [None] * len(folders)
    with contextlib.ExitStack() as stack:
        programs = [stack.enter_context(driver.Session(binary, folder, log=log))
                    for folder, log in zip(folders, logs)]
        starts = [program.frame() for program in programs]
        batches = [[] for _ in programs]
        for _ in range(BATCHES):
            for program, spent in zip(programs, batches):
                before = program.cpu_seconds()
                program.keys(*["a"] * PRESSES)
                program.wait_idle()
                spent.append(program.cpu_seconds() - before)
        costs = []
        for program, start, spent in zip(programs, starts, batches):
            peak = program.peak_memory()
            walked = program.press("Up")
            costs.append(Cost(peak, min(spent), start, walked, program.quit(quit_timeout)))
    return costs
