"""Every download in one release: tools/release.sh (./run.sh --release), on the builds
./test.sh has made and into a scratch folder, writes the Debian packages (amd64, arm64,
armhf), the portable Linux tarballs (x86_64, aarch64), the source release, the web zip and the
Windows zip, each named with project()'s version, and SHA256SUMS that `sha256sum -c` accepts.
Each holds what it should, and the web zip, unpacked into a folder deep in a static server, is
the whole page: installable there, and after one visit it starts with the server gone."""

import os
import re
import shutil
import subprocess
import tarfile
import unittest
import zipfile

import e2e_case
import test_web_app
import web_case

ROOT = os.path.join(e2e_case.HERE, "..", "..")
# Where a project page would put it, e.g. https://NAME.example/some/path/orvessa/.
DEEP = "some/path/orvessa/"


class DeepAppSession(test_web_app.AppSession):
    """The page as the app cases open it, but from a folder deep inside the served one."""

    def open_page(self):
        return test_web_app.browser.Page(self.browser.tab, self.site.url + DEEP,
                                         self.before_page, phone=self.phone)


class Release(web_case.WebCase):
    def test_release_writes_eight_downloads_and_their_sums(self):
        version = e2e_case.project_version()
        dist = os.path.join(self.workdir, "dist")
        builds = os.environ["ORVESSA_RELEASE_BUILDS"].split(":")
        made = subprocess.run([os.path.join(ROOT, "tools", "release.sh"), "--as-built", dist,
                               *builds], capture_output=True, text=True)
        self.assertEqual(made.returncode, 0, made.stdout + made.stderr)
        web, windows = "orvessa-%s-web" % version, "orvessa-%s-windows-x64" % version
        debs = ["orvessa_%s_%s.deb" % (version, arch) for arch in ("amd64", "arm64", "armhf")]
        portable = ["orvessa-%s-linux-%s.tar.gz" % (version, processor)
                    for processor in ("x86_64", "aarch64")]
        downloads = [*debs, "orvessa-%s.tar.gz" % version, *portable, web + ".zip",
                     windows + ".zip"]
        self.assertEqual(sorted(os.listdir(dist)),
                         sorted(downloads + ["SHA256SUMS", "BUILDINFO"]))
        checked = subprocess.run(["sha256sum", "-c", "SHA256SUMS"], cwd=dist,
                                 capture_output=True, text=True)
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        self.assertEqual(sorted(line[: -len(": OK")] for line in checked.stdout.splitlines()
                                if line.endswith(": OK")), sorted(downloads))

        with open(os.path.join(dist, "BUILDINFO")) as info:
            buildinfo = info.read()
        head = subprocess.run(["git", "-C", ROOT, "rev-parse", "HEAD"], capture_output=True,
                              text=True, check=True).stdout.strip()
        self.assertIn("\nCommit: %s\n" % head, buildinfo)
        with open(os.path.join(dist, "SHA256SUMS")) as listed:
            for line in listed:
                digest, name = line.split()
                self.assertRegex(buildinfo, r"\n %s \d+ %s\n" % (digest, re.escape(name)))
        for tool in ("cmake", "emscripten", "qemu-user", "libgl1-mesa-dri"):
            self.assertRegex(buildinfo, r"\nTools:\n(?: .*\n)* %s:\w+ \S+\n" % tool)

        for deb, arch in zip(debs, ("amd64", "arm64", "armhf")):
            fields = subprocess.run(["dpkg-deb", "-f", os.path.join(dist, deb), "Package",
                                     "Version", "Architecture"],
                                    capture_output=True, text=True, check=True).stdout
            self.assertEqual(fields.split(), ["Package:", "orvessa", "Version:", version,
                                              "Architecture:", arch])
        with tarfile.open(os.path.join(dist, "orvessa-%s.tar.gz" % version)) as source:
            self.assertIn("orvessa-%s/CMakeLists.txt" % version, source.getnames())
        for tarball in portable:
            with tarfile.open(os.path.join(dist, tarball)) as archive:
                self.assertIn(tarball[: -len(".tar.gz")] + "/orvessa", archive.getnames())
        with zipfile.ZipFile(os.path.join(dist, windows + ".zip")) as archive:
            self.assertIn(windows + "/orvessa.exe", archive.namelist())
        with zipfile.ZipFile(os.path.join(dist, web + ".zip")) as archive:
            self.assertEqual({name.split("/")[0] for name in archive.namelist()}, {web})
            served = os.path.join(self.workdir, "served")
            archive.extractall(served)
        site = os.path.join(served, DEEP)
        os.makedirs(os.path.dirname(site.rstrip("/")))
        shutil.move(os.path.join(served, web), site)
        for name in os.listdir(web_case.SITE):
            self.assertTrue(os.path.exists(os.path.join(site, name)), name + " not in the zip")

        with DeepAppSession(self, served) as app:
            tab = app.page.tab
            self.assertEqual(tab.call("Page.getAppManifest").get("errors"), [])
            self.assertEqual(tab.call("Page.getInstallabilityErrors")["installabilityErrors"],
                             [])
            app.cache_once_kept()
            app.go_offline()
            app.reload("the page started offline, deep in the site")
            self.assert_scene_lawn(app.page.frame(), "offline start from the web zip")


if __name__ == "__main__":
    unittest.main()
