"""The portable Linux downloads, as a user of any distribution meets them: each
orvessa-<version>-linux-<processor>.tar.gz unpacks to one folder holding the program, the six
textures (the native build's bytes), README.txt, LICENSE and the third-party notices; the
program needs no library but those every Linux desktop has, at symbol versions that Ubuntu
22.04 and RHEL 9 have; and started in that folder, it shows the scene with its textures. The
aarch64 one runs under qemu."""

import os
import re
import subprocess
import tarfile
import unittest

import driver
import e2e_case
import scene_model as model

FILES = {"orvessa", "LICENSE", "README.txt", "THIRD-PARTY-NOTICES.txt", *model.TEXTURE_FILES}
# GL, the X11 client libraries and the C and C++ runtimes: freeglut and GLU are linked in.
LIBRARIES = {"libGL.so.1", "libX11.so.6", "libXi.so.6", "libXxf86vm.so.1", "libc.so.6",
             "libm.so.6", "libstdc++.so.6", "libgcc_s.so.1", "ld-linux-aarch64.so.1"}
# The newest version of each runtime's symbols that glibc 2.34 and GCC 11's libstdc++ have.
NEWEST = {"GLIBC": (2, 34), "GLIBCXX": (3, 4, 29), "CXXABI": (1, 3, 13), "GCC": (11,)}
BUILDS = {"x86_64": (e2e_case.BUILD_DIR, driver.Native),
          "aarch64": (os.environ.get("ORVESSA_PORTABLE_ARM_BUILD"),
                      lambda binary: driver.Qemu(binary, "qemu-aarch64"))}


def needs(program):
    """The libraries a program names as needed, and the symbol versions it asks of them."""
    dynamic = subprocess.run(["readelf", "-d", program], capture_output=True, text=True,
                             check=True).stdout
    versions = subprocess.run(["readelf", "-V", program], capture_output=True, text=True,
                              check=True).stdout
    return (set(re.findall(r"\(NEEDED\).*\[(.+)\]", dynamic)),
            set(re.findall(r"Name: ([A-Z]+)_([0-9.]+)", versions)))


class PortableTarballs(e2e_case.E2ECase):
    def test_each_unpacks_to_a_folder_that_runs_on_any_linux(self):
        for processor, (build_dir, launcher) in BUILDS.items():
            with self.subTest(processor):
                name = "orvessa-%s-linux-%s" % (e2e_case.project_version(), processor)
                unpacked = os.path.join(self.workdir, processor)
                with tarfile.open(os.path.join(build_dir, name + ".tar.gz")) as archive:
                    archive.extractall(unpacked)
                folder = os.path.join(unpacked, name)
                self.assert_download_folder(folder, FILES, "LICENSE", ("freeglut", "GLU"))

                program = os.path.join(folder, "orvessa")
                libraries, versions = needs(program)
                self.assertLessEqual(libraries, LIBRARIES, "libraries a desktop may lack")
                for family, version in versions:
                    if family in NEWEST:
                        number = tuple(int(part) for part in version.split("."))
                        self.assertLessEqual(number, NEWEST[family], family + "_" + version)

                with driver.Session(launcher(program), folder, log=self.path("program.log")) as run:
                    self.assert_scene_lawn(run.frame(), processor + ", unpacked, start")
                    self.assertEqual(run.quit(), 0)


if __name__ == "__main__":
    unittest.main()
