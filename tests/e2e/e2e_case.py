"""Shared set-up for the end-to-end cases: the binary, a scratch working folder, the test
textures and the comparison of a captured frame with the frame a pose must give."""

import filecmp
import os
import re
import shutil
import subprocess
import tempfile
import unittest

import bmp_files
import driver
import scene_model as model

HERE = os.path.dirname(os.path.abspath(__file__))
BINARY = os.environ.get("ORVESSA_BIN", os.path.join(HERE, "..", "..", "build", "orvessa"))
BUILD_DIR = os.environ.get("ORVESSA_BUILD_DIR", os.path.dirname(BINARY))
# How the cases start the program (ORVESSA_BIN): "native"; "wine" for the Windows build's
# orvessa.exe, each run in a copy of the Wine prefix that build made; "qemu-aarch64" or
# "qemu-arm" for an ARM build's program under that emulator.
LAUNCH = os.environ.get("ORVESSA_LAUNCH", "native")
ON_WINDOWS = LAUNCH == "wine"
EMULATED = LAUNCH.startswith("qemu-")
# The portable Linux program (ORVESSA_PORTABLE=1), whose manual is the README.txt beside it.
PORTABLE = os.environ.get("ORVESSA_PORTABLE") == "1"
MANUAL = (r"README\.txt beside orvessa\.exe" if ON_WINDOWS else
          r"README\.txt beside orvessa" if PORTABLE else "man 6 orvessa")
# The Mesa driver each launch draws with. llvmpipe for 32-bit ARM, under qemu-arm, samples the
# wrong texels of textures an odd number of pixels wide; softpipe draws as it does on this
# machine. (A Raspberry Pi draws with its own GPU's driver, neither of these.)
DRIVER_ENV = {"qemu-arm": {"GALLIUM_DRIVER": "softpipe"}}.get(LAUNCH, {})
WINE_PREFIX = os.environ.get("ORVESSA_WINE_PREFIX", os.path.join(BUILD_DIR, "wine"))
# The Linux build, which the Windows cases hold orvessa.exe's textures and frames against.
NATIVE_BUILD_DIR = os.environ.get("ORVESSA_NATIVE_BUILD_DIR",
                                  os.path.join(HERE, "..", "..", "build"))
# Frames of a failed case are saved here (of every case with ORVESSA_E2E_KEEP_FRAMES=1).
ARTIFACTS = os.environ.get("ORVESSA_E2E_ARTIFACTS",
                           os.path.join(HERE, "..", "..", "build", "e2e-artifacts"))

WHITE = (255, 255, 255)

# One colour per texture, far apart from each other and from white.
SOLID = {
    model.MINARET: (200, 40, 40),
    model.LAWN: (40, 160, 40),
    model.WALL: (40, 60, 200),
    model.WATER: (0, 200, 200),
    model.ROOF: (200, 200, 0),
    model.BORDER: (200, 0, 200),
}
# The checkered set pairs each of those colours with a darker shade of itself.
DARK = {name: tuple(c // 2 for c in colour) for name, colour in SOLID.items()}

TOLERANCE = 2  # per channel; textures are sampled nearest, so colours arrive unchanged


def readme_picture_command():
    """The README's one command that turns a picture into a texture, as written there."""
    with open(os.path.join(HERE, "..", "..", "README.md")) as readme:
        lines = [line.strip() for line in readme if line.startswith("convert ")]
    if len(lines) != 1:
        raise AssertionError("README.md should hold one line starting with 'convert ', has %d"
                             % len(lines))
    return lines[0]


def project_version():
    """The version project() gives, as the build's cache holds it."""
    with open(os.path.join(BUILD_DIR, "CMakeCache.txt")) as cache:
        return re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.+)$", cache.read(), re.M).group(1)


def launcher(binary=BINARY, driver_env=DRIVER_ENV):
    """What starts the program under test, or another program of its build (see LAUNCH)."""
    if ON_WINDOWS:
        return driver.Wine(binary, WINE_PREFIX)
    if EMULATED:
        return driver.Qemu(binary, LAUNCH, driver_env)
    return driver.Native(binary)


def run_without_display(launch, *args, timeout=60):
    """Runs a program through a launcher with no X display; returns the finished process."""
    launch.open()
    try:
        env = launch.env(os.environ)
        env.pop("DISPLAY", None)
        return subprocess.run(launch.argv(*args), env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=timeout)
    finally:
        launch.close()


def covered_by(rects, col, row):
    """Whether a pixel lies in one of some rectangles (x, y, width, height)."""
    return any(x <= col < x + w and y <= row < y + h for x, y, w, h in rects)


def close(a, b):
    return all(abs(x - y) <= TOLERANCE for x, y in zip(a, b))


def read_text(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


class E2ECase(unittest.TestCase):
    checkered = False
    folder_name = ""  # ends the working folder's name, e.g. to put other letters in its path

    def setUp(self):
        self.require()
        self.workdir = tempfile.mkdtemp(prefix="orvessa-e2e-", suffix=self.folder_name)
        self.addCleanup(shutil.rmtree, self.workdir, True)
        self.frames = []
        if os.environ.get("ORVESSA_E2E_KEEP_FRAMES"):
            self.addCleanup(self._save_frames)

    def require(self):
        """Fails the case when what it runs on is missing."""
        driver.require_tools()
        if not os.access(BINARY, os.X_OK):
            self.fail("no program at %s (build it first)" % BINARY)
        runner = "wine" if ON_WINDOWS else LAUNCH if EMULATED else None
        if runner and shutil.which(runner) is None:
            self.fail("no %s to run %s (tools/deps.sh installs it)" % (runner, BINARY))

    # Texture folder.

    def path(self, name):
        return os.path.join(self.workdir, name)

    def write_textures(self, names=model.TEXTURE_FILES):
        for name in names:
            if self.checkered:
                bmp_files.checker(self.path(name), SOLID[name], DARK[name])
            else:
                bmp_files.solid(self.path(name), SOLID[name])

    def colours_of(self, surface, palette=None):
        if surface == model.SKY:
            return [WHITE]
        palette = palette or {}
        if surface in palette:
            return [palette[surface]]
        return [SOLID[surface], DARK[surface]] if self.checkered else [SOLID[surface]]

    def session(self):
        return driver.Session(launcher(), self.workdir, log=self.path("program.log"))

    # Frames.

    def keep(self, frame, label):
        """Remembers a frame so that a failure can leave it behind as a picture."""
        self.frames.append((label, frame))
        return frame

    def _save_frames(self):
        folder = os.path.join(ARTIFACTS, self.id())
        os.makedirs(folder, exist_ok=True)
        for i, (label, frame) in enumerate(self.frames):
            name = "".join(ch if ch.isalnum() else "-" for ch in label)
            frame.save_png(os.path.join(folder, "%02d-%s.png" % (i, name)))
        return folder

    def fail_with_frames(self, message):
        self.fail("%s\n(frames saved in %s)" % (message, self._save_frames()))

    def assert_pixel(self, frame, pixel, surface, label, palette=None):
        col, row = int(pixel[0]), int(pixel[1])
        got = frame.pixel(col, row)
        allowed = self.colours_of(surface, palette)
        if not any(close(got, c) for c in allowed):
            self.fail_with_frames("%s: pixel (%d, %d) should show %s %s, shows %s"
                                  % (label, col, row, surface, allowed, got))

    def assert_shows(self, frame, pose, label, only=None, palette=None, step=24, covered=()):
        """Every pixel of a grid that lies safely inside one surface (or the sky) has that
        surface's colour. `only` limits the check to some surfaces; `palette` overrides the
        colour of some; `covered` rectangles (x, y, width, height) are left out. The grid is
        the frame's size. Returns the expected grid."""
        self.keep(frame, label)
        grid = model.expected_grid(pose, step, size=(frame.width, frame.height))
        wrong = []
        for (col, row), surface in sorted(grid.items(), key=lambda item: item[0][::-1]):
            if only is not None and surface not in only:
                continue
            if covered_by(covered, col, row):
                continue
            got = frame.pixel(col, row)
            allowed = self.colours_of(surface, palette)
            if not any(close(got, c) for c in allowed):
                wrong.append("(%d, %d) %s %s got %s" % (col, row, surface, allowed[0], got))
        if wrong:
            self.fail_with_frames("%s: %d of %d checked pixels differ from %r, e.g.\n  %s"
                                  % (label, len(wrong), len(grid), pose,
                                     "\n  ".join(wrong[:12])))
        return grid

    def assert_all_white(self, frame, label):
        self.keep(frame, label)
        if frame.rgb != bytes(WHITE) * (frame.width * frame.height):
            colours = frame.colours()
            others = sorted(c for c in colours if c != bytes(WHITE))[:5]
            self.fail_with_frames("%s: expected every pixel white, also found %s"
                                  % (label, [tuple(c) for c in others]))

    def assert_scene_lawn(self, frame, label):
        """The lawn of the start view shows the scene's own grass picture: no white pixel (a
        missing file) and many colours (not one plain colour of a test folder)."""
        self.keep(frame, label)
        lawn = [pixel for pixel, surface in model.expected_grid(model.start_pose()).items()
                if surface == model.LAWN]
        self.assertTrue(lawn, "the start view should show the lawn")
        colours = [frame.pixel(*p) for p in lawn]
        white = [p for p, c in zip(lawn, colours) if c == WHITE]
        if white:
            self.fail_with_frames("%s: %d of %d lawn pixels are white, e.g. %s: the textures "
                                  "were not found" % (label, len(white), len(lawn), white[:5]))
        if len(set(colours)) < len(lawn) // 4:
            self.fail_with_frames("%s: only %d colours on %d lawn pixels, e.g. %s: not the "
                                  "scene's grass" % (label, len(set(colours)), len(lawn),
                                                     colours[:3]))

    def assert_native_textures(self, folder):
        """The six textures in a folder are the native build's, byte for byte."""
        for name in model.TEXTURE_FILES:
            self.assertTrue(filecmp.cmp(os.path.join(folder, name),
                                        os.path.join(NATIVE_BUILD_DIR, name), shallow=False),
                            name + " differs from the native build's")

    def assert_download_folder(self, folder, files, licence, notices):
        """An unpacked download: one folder alone in its parent, holding exactly `files`: the
        native build's textures, our licence as `licence`, a README naming the version, the
        keys and the pictures, and third-party notices that name each of `notices`."""
        self.assertEqual(os.listdir(os.path.dirname(folder)), [os.path.basename(folder)])
        self.assertEqual(set(os.listdir(folder)), set(files))
        self.assert_native_textures(folder)
        self.assertEqual(read_text(os.path.join(folder, licence)),
                         read_text(os.path.join(HERE, "..", "..", "LICENSE")))
        readme = read_text(os.path.join(folder, "README.txt"))
        for word in ["Orvessa %s" % project_version(), "Escape", *model.TEXTURE_FILES]:
            self.assertIn(word, readme)
        text = read_text(os.path.join(folder, "THIRD-PARTY-NOTICES.txt"))
        for word in (*notices, "Permission is hereby granted"):
            self.assertIn(word, text)

    def assert_grids_differ(self, before, after, at_least, what):
        """Guards the test's own power: two poses must differ visibly on enough pixels that
        a program doing one instead of the other would fail the check."""
        changed = [p for p in before.keys() & after.keys() if before[p] != after[p]]
        self.assertGreaterEqual(len(changed), at_least,
                                "%s: the predictions differ on only %d pixels"
                                % (what, len(changed)))
