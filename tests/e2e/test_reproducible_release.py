"""Two releases of this commit, each from a fresh clone, made as differently as a build could
notice: in folders of other paths and lengths, in other time zones, with other umasks, minutes
apart, and (where FUSE allows) from a tree whose folders list their files in a shuffled order
(disorderfs). Every download must be the same bytes. With ORVESSA_RELEASE_ALL=1 (.ci/run) each
release is the whole of tools/release.sh, all eight downloads; otherwise the four that build
quickly: the amd64 package, the portable x86_64 tarball, the web zip and the source release.
The clones are of HEAD: uncommitted changes are not in them."""

import os
import shutil
import subprocess
import tempfile
import unittest

import e2e_case

SOURCE_DIR = os.path.normpath(os.path.join(e2e_case.HERE, "..", ".."))
ALL = os.environ.get("ORVESSA_RELEASE_ALL") == "1"
QUICK = ("source tools/deps.sh && orvessa_build_to_run build && orvessa_build_web build-web"
         " && orvessa_build_portable x86_64 build-linux-x86_64"
         " && tools/release.sh --as-built dist build build-web build-linux-x86_64")
# The same release, whatever this machine runs: not in a Debian 12 root of its own.
RELEASE = "umask {umask} && ORVESSA_RELEASE_HERE=1 " + ("tools/release.sh dist" if ALL else
                                                        "bash -c '%s'" % QUICK)
# Far apart: whatever a build took from the time zone or the umask would differ.
SETTINGS = [("UTC", "022"), ("Pacific/Kiritimati", "002")]


def sums(dist):
    with open(os.path.join(dist, "SHA256SUMS")) as listed:
        return {name: digest for digest, name in (line.split() for line in listed)}


class ReproducibleRelease(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="reproducible-", dir=e2e_case.BUILD_DIR)
        self.mounts = []
        self.addCleanup(shutil.rmtree, self.scratch, True)

    def tearDown(self):
        for mount in self.mounts:
            subprocess.run(["umount", mount], check=False)

    def shuffled(self, tree):
        """The tree seen through disorderfs, which lists each folder in a shuffled order, or the
        tree itself where FUSE is not to be had."""
        mount = tree + "-shuffled"
        os.mkdir(mount)
        mounted = subprocess.run(["disorderfs", "--shuffle-dirents=yes", "--multi-user=yes",
                                  tree, mount], capture_output=True, text=True)
        if mounted.returncode != 0:
            print("NOTE: disorderfs could not mount (%s): folders list in their own order"
                  % mounted.stderr.strip())
            return tree
        self.mounts.append(mount)
        return mount

    def release(self, folder, zone, umask, shuffle):
        tree = os.path.join(self.scratch, folder)
        subprocess.run(["git", "clone", "--quiet", "--no-hardlinks", SOURCE_DIR, tree],
                       check=True)
        if shuffle:
            tree = self.shuffled(tree)
        env = dict(os.environ, TZ=zone)
        for name in ("SOURCE_DATE_EPOCH", "DISPLAY"):
            env.pop(name, None)
        log_path = os.path.join(self.scratch, folder.replace("/", "-") + ".log")
        with open(log_path, "w") as log:
            made = subprocess.run(["sh", "-c", RELEASE.format(umask=umask)], cwd=tree, env=env,
                                  stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
        if made.returncode != 0:
            with open(log_path) as log:
                self.fail("the release in %s failed:\n%s" % (tree, "".join(log.readlines()[-30:])))
        return os.path.join(tree, "dist")

    def test_two_releases_are_the_same_bytes(self):
        first = self.release("a", *SETTINGS[0], shuffle=False)
        second = self.release("a-folder-of-another-length/src/orvessa", *SETTINGS[1],
                              shuffle=True)
        one, other = sums(first), sums(second)
        self.assertEqual(len(one), 8 if ALL else 4, sorted(one))
        self.assertEqual(sorted(one), sorted(other))
        differ = sorted(name for name in one if one[name] != other[name])
        reports = [self.difference(first, second, name) for name in differ]
        self.assertEqual(differ, [], "\n".join(reports))
        print("%d downloads, the same bytes in both releases" % len(one))

    @staticmethod
    def difference(first, second, name):
        if shutil.which("diffoscope") is None:
            return "%s differs (diffoscope would show how)" % name
        report = subprocess.run(["diffoscope", "--text", "-", "--max-report-size", "60000",
                                 os.path.join(first, name), os.path.join(second, name)],
                                capture_output=True, text=True).stdout
        return "%s differs:\n%s" % (name, report)


if __name__ == "__main__":
    unittest.main()
