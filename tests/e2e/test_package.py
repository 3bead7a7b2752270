"""The Debian package: CPack builds it into a scratch folder from this build (an ARM build's,
ORVESSA_LAUNCH=qemu-*, is the one that build made), and it is checked without installing it
into this machine. Its file list, textures, program and dependencies; lintian (no errors, no
warnings, nothing about the copyright file); the licence, as in LICENSE; the desktop entry;
the manual page, rendered without warnings; the icon. Then it is unpacked into a scratch root, and its
launcher answers --version and the manual page's examples as the page shows, without a
display; started from an empty folder, it shows the scene's own textures; from a folder holding
all six pictures, those pictures; from a folder that lacks one of them, the scene's own
again."""

import glob
import os
import shlex
import shutil
import subprocess
import tempfile
import unittest

import driver
import e2e_case
import scene_model as model

BUILD_DIR = e2e_case.BUILD_DIR
SOURCE_DIR = os.path.join(e2e_case.HERE, "..", "..")
FILES = {
    "usr/bin/orvessa",
    "usr/libexec/orvessa/orvessa",
    "usr/share/man/man6/orvessa.6.gz",
    "usr/share/applications/orvessa.desktop",
    "usr/share/icons/hicolor/256x256/apps/orvessa.png",
    "usr/share/doc/orvessa/copyright",
    "usr/share/doc/orvessa/changelog.gz",
} | {"usr/share/orvessa/" + name for name in model.TEXTURE_FILES}
# The libraries the program links, as Debian 12 names their packages.
DEPENDS = ("libglut", "libglu1", "libopengl0", "libglx0", "libstdc++6", "libc6")
# An ARM build's package is for that architecture.
ARM = {"qemu-aarch64": "arm64", "qemu-arm": "armhf"}.get(e2e_case.LAUNCH)
# readelf's name for the machine each architecture's programs are for.
MACHINES = {"amd64": "Advanced Micro Devices X86-64", "arm64": "AArch64", "armhf": "ARM"}
# The launcher starts the program itself, which this machine can run only under qemu.
NATIVE_ONLY = unittest.skipIf(ARM, "an ARM program starts here only under qemu, not by itself")


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, **kwargs)


class Package(e2e_case.E2ECase):
    @classmethod
    def setUpClass(cls):
        # A scratch output folder for CPack and its staging area, not the build tree that
        # other tests use meanwhile (there it writes only its install manifest, as the
        # installed_launcher case's `cmake --install` does).
        cls.scratch = tempfile.mkdtemp(prefix="orvessa-package-")
        try:
            cls.deb = cls.built_package() if ARM else cls.package()
            cls.root = os.path.join(cls.scratch, "root")
            subprocess.run(["dpkg-deb", "-x", cls.deb, cls.root], check=True)
        except BaseException:
            shutil.rmtree(cls.scratch, True)
            raise

    @classmethod
    def package(cls):
        built = run("cpack", "--config", os.path.join(BUILD_DIR, "CPackConfig.cmake"),
                    "-B", cls.scratch)
        debs = glob.glob(os.path.join(cls.scratch, "*.deb"))
        if built.returncode != 0 or len(debs) != 1:
            raise AssertionError("cpack failed (%d), made %s:\n%s%s" % (
                built.returncode, debs, built.stdout, built.stderr))
        return debs[0]

    @classmethod
    def built_package(cls):
        """The package an ARM build made (CPack would write into that build's folder)."""
        deb = os.path.join(BUILD_DIR, "orvessa_%s_%s.deb" % (e2e_case.project_version(), ARM))
        if not os.path.isfile(deb):
            raise AssertionError("no %s (the ARM build makes it)" % deb)
        return deb

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch, True)

    def test_name_files_and_dependencies(self):
        arch = ARM or run("dpkg", "--print-architecture").stdout.strip()
        self.assertEqual(os.path.basename(self.deb),
                         "orvessa_%s_%s.deb" % (e2e_case.project_version(), arch))
        listed = run("dpkg-deb", "-c", self.deb).stdout.splitlines()
        files = {line.split(None, 5)[5][2:] for line in listed if not line.startswith("d")}
        self.assertEqual(files, FILES)
        depends = run("dpkg-deb", "-f", self.deb, "Depends").stdout
        for name in DEPENDS:
            self.assertIn(name, depends)
        # The same textures on every architecture, and the program for this one.
        self.assert_native_textures(os.path.join(self.root, "usr/share/orvessa"))
        header = run("readelf", "-h", os.path.join(self.root, "usr/libexec/orvessa/orvessa"))
        self.assertRegex(header.stdout, r"Machine: +%s\n" % MACHINES[arch])

    def test_lintian_desktop_entry_manual_page_and_icon(self):
        # TMPDIR: lintian leaves a temporary file of its own behind, here in the scratch folder.
        lint = run("lintian", "--fail-on", "error,warning", "--tag-display-limit", "0", self.deb,
                   env=dict(os.environ, TMPDIR=self.scratch))
        self.assertEqual(lint.returncode, 0, "lintian:\n" + lint.stdout + lint.stderr)
        about_copyright = [line for line in lint.stdout.splitlines() if "copyright" in line]
        self.assertEqual(about_copyright, [], "lintian on the copyright file")
        # Every file under Expat, whose text is LICENSE's word for word (" ." lines aside).
        with open(os.path.join(self.root, "usr/share/doc/orvessa/copyright")) as shipped:
            paragraphs = shipped.read().split("\n\n")
        files = [p for p in paragraphs if p.startswith("Files: *\n")]
        self.assertEqual([p.splitlines()[-1] for p in files], ["License: Expat"])
        texts = [p for p in paragraphs if p.startswith("License: Expat\n")]
        self.assertEqual(len(texts), 1, "one Expat licence paragraph")
        with open(os.path.join(SOURCE_DIR, "LICENSE")) as source:
            licence = source.read().split("Permission", 1)[1].split()
        self.assertEqual([w for w in texts[0].split("Permission", 1)[1].split() if w != "."],
                         licence)

        desktop = os.path.join(self.root, "usr/share/applications/orvessa.desktop")
        valid = run("desktop-file-validate", desktop)
        self.assertEqual((valid.returncode, valid.stdout + valid.stderr), (0, ""))

        # As lintian renders manual pages, plus groff's own warnings; then the text in ASCII.
        page = os.path.join(self.root, "usr/share/man/man6/orvessa.6.gz")
        env = dict(os.environ, LC_ALL="C.UTF-8", MANROFFSEQ="", MANWIDTH="80")
        shown = run("man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", page, env=env)
        self.assertEqual((shown.returncode, shown.stderr), (0, ""))
        source = subprocess.run(["gzip", "-dc", page], check=True, capture_output=True).stdout
        groff = run("groff", "-ww", "-z", "-man", "-Tutf8", input=source.decode())
        self.assertEqual((groff.returncode, groff.stderr), (0, ""))
        text = run("man", "-l", page, env=dict(env, LC_ALL="C", MANWIDTH="200")).stdout
        for name in model.TEXTURE_FILES:
            self.assertIn(name, text)
        command = e2e_case.readme_picture_command()
        self.assertTrue(command in text, "the manual page should show the README's command: "
                        + command)

        icon = os.path.join(self.root, "usr/share/icons/hicolor/256x256/apps/orvessa.png")
        described = run("/usr/bin/identify", "-format", "%m %w %h %k", icon).stdout.split()
        self.assertEqual(described[:3], ["PNG", "256", "256"])
        self.assertGreater(int(described[3]), 1000, "the icon has too few colours to be a view")

    @NATIVE_ONLY
    def test_launcher_answers_as_the_manual_page_shows_without_a_display(self):
        launcher = os.path.join(self.root, "usr/bin/orvessa")
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        version = run(launcher, "--version", env=env, cwd=self.workdir)
        self.assertEqual((version.returncode, version.stdout, version.stderr),
                         (0, "orvessa %s\n" % e2e_case.project_version(), ""))

        # Each "$ orvessa ..." line of the page is a command; the lines after it, up to the
        # next command or a blank line, what it prints.
        page = os.path.join(self.root, "usr/share/man/man6/orvessa.6.gz")
        text = run("man", "-l", page, env=dict(env, LC_ALL="C", MANWIDTH="200")).stdout
        examples, shown = [], None
        for line in (line.strip() for line in text.splitlines()):
            if line.startswith("$ orvessa"):
                shown = []
                examples.append((line[2:], shown))
            elif shown is not None and line:
                shown.append(line)
            else:
                shown = None
        self.assertGreaterEqual(len(examples), 2, "the manual page's examples:\n" + text)
        for command, shown in examples:
            got = run(launcher, *shlex.split(command)[1:], env=env, cwd=self.workdir)
            self.assertEqual((got.stdout + got.stderr).splitlines(), shown, command)

    @NATIVE_ONLY
    def test_unpacked_launcher_picks_its_textures(self):
        launcher = os.path.join(self.root, "usr/bin/orvessa")
        x = driver.XServer()
        self.addCleanup(x.stop)

        def start(folder):
            program = driver.Program(x, launcher, folder,
                                     log=os.path.join(self.scratch, "program.log"))
            self.addCleanup(program.stop)
            return program

        program = start(self.workdir)
        self.assert_scene_lawn(program.frame(), "empty folder")
        self.assertEqual(os.listdir(self.workdir), [], "files appeared in the start folder")
        self.assertEqual(program.quit(), 0)

        self.write_textures()
        program = start(self.workdir)
        self.assert_shows(program.frame(), model.start_pose(), "all six of our own")
        self.assertEqual(program.quit(), 0)

        os.remove(self.path(model.ROOF))
        program = start(self.workdir)
        self.assert_scene_lawn(program.frame(), "five of our own")
        self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    unittest.main()
