"""The Windows download, as a user meets it: orvessa-<version>-windows-x64.zip unpacks to one
folder holding orvessa.exe, the six textures (the bytes the Linux build makes), LICENSE.txt,
README.txt and the third-party notices; orvessa.exe imports from Windows' own DLLs alone; and
started in that folder, as a double click starts it, it shows the scene with those textures."""

import os
import re
import subprocess
import unittest
import zipfile

import driver
import e2e_case
import scene_model as model

OBJDUMP = "x86_64-w64-mingw32-objdump"
# What any Windows since 7 has; anything else would have to come with the program.
WINDOWS_DLLS = {"advapi32.dll", "gdi32.dll", "glu32.dll", "kernel32.dll", "msvcrt.dll",
                "opengl32.dll", "user32.dll", "winmm.dll", "shell32.dll", "ole32.dll"}
FILES = {"orvessa.exe", "LICENSE.txt", "README.txt", "THIRD-PARTY-NOTICES.txt",
         *model.TEXTURE_FILES}


class WindowsZip(e2e_case.E2ECase):
    def test_zip_unpacks_to_one_folder_that_runs_on_its_own_textures(self):
        version = e2e_case.project_version()
        name = "orvessa-%s-windows-x64" % version
        with zipfile.ZipFile(os.path.join(e2e_case.BUILD_DIR, name + ".zip")) as archive:
            archive.extractall(self.workdir)
        folder = os.path.join(self.workdir, name)
        self.assert_download_folder(folder, FILES, "LICENSE.txt", ("freeglut", "MinGW-w64"))

        exe = os.path.join(folder, "orvessa.exe")
        headers = subprocess.run([OBJDUMP, "-p", exe], capture_output=True, text=True,
                                 check=True).stdout
        imports = {dll.lower() for dll in re.findall(r"DLL Name: (\S+)", headers)}
        self.assertTrue(imports, "no imports found:\n" + headers[:2000])
        self.assertLessEqual(imports, WINDOWS_DLLS, "DLLs a plain Windows lacks")

        # A double click starts the program in its own folder.
        with driver.Session(driver.Wine(exe, e2e_case.WINE_PREFIX), folder,
                            log=self.path("program.log")) as program:
            self.assert_scene_lawn(program.frame(), "unzipped, start")
            self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    unittest.main()
