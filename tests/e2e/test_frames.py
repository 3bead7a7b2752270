"""Pixel for pixel: the Linux program and the program under test (orvessa.exe under Wine, an
ARM build's under qemu), side by side on the same textures and the same screen size, take the
scripted tour (tools/tour.py), and every view of the one is byte for byte the other's. Both
draw with the same Mesa driver, so that only the programs' own differences could show."""

import os
import sys
import unittest

import driver
import e2e_case
import texture_cost

sys.path.insert(0, os.path.join(e2e_case.HERE, "..", "..", "tools"))
import tour  # noqa: E402  (its stops)


# llvmpipe makes machine code for the processor it draws on, and aarch64's draws one pixel of
# the tour otherwise than x86-64's; softpipe is the same C code on every processor. So an ARM
# program and this machine's are compared on softpipe; orvessa.exe draws with this machine's
# llvmpipe under Wine, so both use that.
DRIVER_ENV = {"GALLIUM_DRIVER": "softpipe"} if e2e_case.EMULATED else {}


class Frames(e2e_case.E2ECase):
    def test_the_tour_looks_the_same_on_both(self):
        linux_build = e2e_case.NATIVE_BUILD_DIR
        texture_cost.sound_folder(linux_build, self.workdir)
        linux_program = driver.Native(os.path.join(linux_build, "orvessa"), env=DRIVER_ENV)
        native = driver.Session(linux_program, self.workdir, log=self.path("native.log"))
        other = driver.Session(e2e_case.launcher(driver_env=DRIVER_ENV), self.workdir,
                               log=self.path("other.log"))
        with native as linux, other as tested:
            for keys, name, _ in tour.STOPS:
                frames = [program.press(*keys) if keys else program.frame()
                          for program in (linux, tested)]
                if frames[0] != frames[1]:
                    self.keep(frames[0], "linux " + name)
                    self.keep(frames[1], "%s %s" % (e2e_case.LAUNCH, name))
                    self.fail_with_frames("%s differs between the Linux program and %s"
                                          % (name, e2e_case.BINARY))
            self.assertEqual([linux.quit(), tested.quit()], [0, 0])


if __name__ == "__main__":
    unittest.main()
