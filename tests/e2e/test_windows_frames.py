"""Pixel for pixel: the Linux program and orvessa.exe under Wine, side by side on the same
textures and the same screen size, take the scripted tour (tools/tour.py) and every view of
the one is byte for byte the other's. Both draw with Mesa's llvmpipe."""

import os
import sys
import unittest

import driver
import e2e_case
import texture_cost

sys.path.insert(0, os.path.join(e2e_case.HERE, "..", "..", "tools"))
import tour  # noqa: E402  (its stops)


class WindowsFrames(e2e_case.E2ECase):
    def test_the_tour_looks_the_same_on_both(self):
        linux_build = e2e_case.NATIVE_BUILD_DIR
        texture_cost.sound_folder(linux_build, self.workdir)
        native = driver.Session(os.path.join(linux_build, "orvessa"), self.workdir,
                                log=self.path("native.log"))
        wine = driver.Session(e2e_case.launcher(), self.workdir, log=self.path("wine.log"))
        with native as linux, wine as windows:
            for keys, name, _ in tour.STOPS:
                frames = [program.press(*keys) if keys else program.frame()
                          for program in (linux, windows)]
                if frames[0] != frames[1]:
                    self.keep(frames[0], "linux " + name)
                    self.keep(frames[1], "windows " + name)
                    self.fail_with_frames("%s differs between Linux and Windows" % name)
            self.assertEqual([linux.quit(), windows.quit()], [0, 0])


if __name__ == "__main__":
    unittest.main()
