"""The source release, as tools/release.sh packs it, written into a scratch folder. The tarball
holds exactly the files git tracks, under orvessa-<version>/, the scripts still executable, and
its record of the commit and that commit's time. Unpacked (no git there), it packs itself again
into the same bytes, then configures, builds and passes its own tests
(ctest -LE 'web|e2e|windows') with no network: as root, in a namespace of its own (unshare)
with no network and a private X socket folder (/tmp/.X11-unix), so its Xvfb servers cannot meet
anyone else's."""

import os
import shutil
import subprocess
import tarfile
import tempfile
import unittest

import e2e_case

SOURCE_DIR = os.path.normpath(os.path.join(e2e_case.HERE, "..", ".."))
BUILD_DIR = e2e_case.BUILD_DIR
ISOLATE = ["unshare", "--net", "--mount", "--propagation", "private"]
# In a network namespace of its own an X server finds every display number free and would take
# the outer servers' socket files: it gets a folder of its own for them. Only that folder: the
# build itself may well be under /tmp.
X_SOCKETS = "/tmp/.X11-unix"
PRIVATE_X_SOCKETS = "mkdir -p {0} && mount -t tmpfs orvessa-release {0} && chmod 1777 {0}".format(
    X_SOCKETS)


def tracked_files():
    """Each file git tracks, and whether it is executable."""
    listed = subprocess.run(["git", "-C", SOURCE_DIR, "ls-files", "-s", "-z"], check=True,
                            capture_output=True, text=True).stdout
    entries = (line.split("\t", 1) for line in listed.split("\0") if line)
    return {path: info.split()[0] == "100755" for info, path in entries}


def pack_source(tree, out):
    """orvessa_pack_source of tools/downloads.sh, run in `tree`, at the time the tree gives."""
    env = dict(os.environ)
    env.pop("SOURCE_DATE_EPOCH", None)
    return subprocess.run(["bash", "-c", 'source tools/deps.sh && orvessa_pack_source "$@"',
                           "pack", e2e_case.project_version(), out], cwd=tree, env=env,
                          capture_output=True, text=True)


def git(*args):
    return subprocess.run(["git", "-C", SOURCE_DIR, *args], check=True, capture_output=True,
                          text=True).stdout.strip()


def can_isolate():
    return subprocess.run(ISOLATE + ["sh", "-c", PRIVATE_X_SOCKETS],
                          capture_output=True).returncode == 0


class SourceRelease(unittest.TestCase):
    def test_tarball_holds_the_tracked_files_and_builds_offline(self):
        scratch = tempfile.mkdtemp(prefix="source-release-", dir=BUILD_DIR)
        self.addCleanup(shutil.rmtree, scratch, True)
        out = os.path.join(scratch, "out")
        os.mkdir(out)
        packed = pack_source(SOURCE_DIR, out)
        self.assertEqual(packed.returncode, 0, packed.stdout + packed.stderr)
        top = "orvessa-" + e2e_case.project_version()
        made = [name for name in os.listdir(out) if os.path.isfile(os.path.join(out, name))]
        self.assertEqual(made, [top + ".tar.gz"])
        tarball = os.path.join(out, made[0])

        with tarfile.open(tarball) as archive:
            members = archive.getmembers()
        outside = [m.name for m in members if not (m.name + "/").startswith(top + "/")]
        self.assertEqual(outside, [], "entries outside %s/" % top)
        files = {m.name[len(top) + 1:]: bool(m.mode & 0o100) for m in members if not m.isdir()}
        self.assertEqual({m.mtime for m in members}, {int(git("log", "-1", "--format=%ct"))})
        tracked = tracked_files()
        tracked[".source-release"] = False
        self.assertEqual(sorted(files.keys() - tracked.keys()), [], "untracked files packed")
        self.assertEqual(sorted(tracked.keys() - files.keys()), [], "tracked files left out")
        modes = sorted(path for path in tracked if files[path] != tracked[path])
        self.assertEqual(modes, [], "executable or not, unlike in git")
        print("%s: %d bytes, %d files" % (made[0], os.path.getsize(tarball), len(files)))

        subprocess.run(["tar", "-xzf", tarball, "-C", scratch], check=True)
        with open(os.path.join(scratch, top, ".source-release")) as record:
            self.assertIn("commit %s\n" % git("rev-parse", "HEAD"), record.read())
        again = os.path.join(scratch, "again")
        os.mkdir(again)
        repacked = pack_source(os.path.join(scratch, top), again)
        self.assertEqual(repacked.returncode, 0, repacked.stdout + repacked.stderr)
        with open(tarball, "rb") as first, open(os.path.join(again, made[0]), "rb") as second:
            self.assertTrue(first.read() == second.read(),
                            "the unpacked release packs itself into other bytes")
        script = ("cmake -S {top} -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo"
                  " && cmake --build build -j2"
                  " && {top}/tools/with-xvfb.sh ctest --test-dir build -LE 'web|e2e|windows' -j2"
                  " --output-on-failure").format(top=top)
        env = dict(os.environ)
        if can_isolate():
            print("network cut off, private %s (unshare)" % X_SOCKETS)
            command = ISOLATE + ["sh", "-c", PRIVATE_X_SOCKETS + " && " + script]
            env.pop("DISPLAY", None)  # the outer display is out of reach: with-xvfb starts one
        else:
            print("NOTE: unshare is not available (not root?): built with the network on")
            command = ["sh", "-c", script]
        log_path = os.path.join(BUILD_DIR, "tests", "source-release.log")
        with open(log_path, "w") as log:
            built = subprocess.run(command, cwd=scratch, env=env, stdin=subprocess.DEVNULL,
                                   stdout=log, stderr=subprocess.STDOUT)
        with open(log_path) as log:
            tail = log.readlines()[-40:]
        self.assertEqual(built.returncode, 0, "the unpacked release failed to configure, build "
                         "or pass its tests (whole log: %s):\n%s" % (log_path, "".join(tail)))


if __name__ == "__main__":
    unittest.main()
