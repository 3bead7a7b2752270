"""The installed layout: `cmake --install` into a scratch prefix, then the launcher started from
an unrelated, empty folder. The start view shows textures, which the program can only have
read if the launcher took it to the installed textures' folder, and that empty folder stays
empty."""

import os
import shutil
import subprocess
import tempfile
import unittest

import driver
import e2e_case
import scene_model as model

BUILD_DIR = e2e_case.BUILD_DIR
INSTALLED = ["bin/orvessa", "libexec/orvessa/orvessa"] + [
    "share/orvessa/" + name for name in model.TEXTURE_FILES]


class InstalledLauncher(e2e_case.E2ECase):
    def test_launcher_finds_the_textures_from_any_folder(self):
        prefix = tempfile.mkdtemp(prefix="orvessa-prefix-")
        self.addCleanup(shutil.rmtree, prefix, True)
        subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        for path in INSTALLED:
            self.assertTrue(os.path.exists(os.path.join(prefix, path)), path + " not installed")

        launcher = os.path.join(prefix, "bin", "orvessa")
        # The log goes beside the prefix, so that the start folder holds nothing of ours.
        with driver.Session(launcher, self.workdir,
                            log=os.path.join(prefix, "program.log")) as program:
            self.assert_scene_lawn(program.frame(), "installed, start")
            self.assertEqual(os.listdir(self.workdir), [], "files appeared in the start folder")
            self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    unittest.main()
