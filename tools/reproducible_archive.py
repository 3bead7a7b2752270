#!/usr/bin/python3
"""Packs a folder as a .tar.gz or a .zip that is the same bytes wherever, whenever and by
whomever it is made: one top folder, entries sorted by name, every time the one given
(SOURCE_DATE_EPOCH), owner root, modes 0755 for folders and programs and 0644 for the rest
whatever the umask, and no name or time in the gzip header.

Usage: reproducible_archive.py --mtime SECONDS [--files LIST] OUTPUT TOP FOLDER
  OUTPUT  the archive, ending in .tar.gz or .zip
  TOP     the folder the archive unpacks into
  FOLDER  whose files it holds: all of them, or those the file LIST names (one path a line)
"""

import argparse
import gzip
import os
import stat
import sys
import tarfile
import time
import zipfile

# Zip stores local time to 2 s, from 1980 on, and no zone: the time in UTC is the same
# wherever the archive is made.
ZIP_EPOCH = (1980, 1, 1, 0, 0, 0)


def entries(folder, listed):
    """The relative paths to pack, folders included, sorted; only plain files and folders."""
    if listed is None:
        listed = []
        for parent, folders, files in os.walk(folder):
            folders.sort()
            listed += [os.path.relpath(os.path.join(parent, name), folder) for name in files]
    paths = set()
    for path in listed:
        full = os.path.join(folder, path)
        if os.path.islink(full) or not os.path.isfile(full):
            raise SystemExit("error: %s is not a plain file" % full)
        paths.add(path)
        parent = os.path.dirname(path)
        while parent:
            paths.add(parent + "/")
            parent = os.path.dirname(parent)
    return sorted(paths)


def mode_of(full):
    """0755 for a folder or a file its owner may run, 0644 otherwise."""
    executable = os.path.isdir(full) or os.stat(full).st_mode & stat.S_IXUSR
    return 0o755 if executable else 0o644


def write_tar(output, top, folder, paths, mtime):
    with open(output, "wb") as out, \
            gzip.GzipFile(filename="", mode="wb", fileobj=out, compresslevel=9,
                          mtime=0) as zipped, \
            tarfile.open(fileobj=zipped, mode="w", format=tarfile.PAX_FORMAT) as archive:
        for path in ["", *paths]:
            full = os.path.join(folder, path)
            info = tarfile.TarInfo(os.path.join(top, path).rstrip("/"))
            info.mtime, info.mode = mtime, mode_of(full)
            info.uid = info.gid = 0
            info.uname = info.gname = ""
            if path == "" or path.endswith("/"):
                info.type = tarfile.DIRTYPE
                archive.addfile(info)
            else:
                info.size = os.path.getsize(full)
                with open(full, "rb") as data:
                    archive.addfile(info, data)


def write_zip(output, top, folder, paths, mtime):
    stamp = max(time.gmtime(mtime)[:6], ZIP_EPOCH)
    with zipfile.ZipFile(output, "w") as archive:
        for path in ["", *paths]:
            full = os.path.join(folder, path)
            info = zipfile.ZipInfo(os.path.join(top, path) if path else top + "/", stamp)
            info.create_system = 3  # Unix, so that the modes below are read
            if info.is_dir():
                info.external_attr = (stat.S_IFDIR | mode_of(full)) << 16 | 0x10
                archive.writestr(info, b"")
            else:
                info.external_attr = (stat.S_IFREG | mode_of(full)) << 16
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(full, "rb") as data:
                    archive.writestr(info, data.read(), compresslevel=9)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--mtime", type=int, required=True)
    parser.add_argument("--files")
    parser.add_argument("output")
    parser.add_argument("top")
    parser.add_argument("folder")
    args = parser.parse_args()
    listed = None
    if args.files:
        with open(args.files, encoding="utf-8") as names:
            listed = [line.rstrip("\n") for line in names if line.strip()]
    paths = entries(args.folder, listed)
    if args.output.endswith(".tar.gz"):
        write_tar(args.output, args.top, args.folder, paths, args.mtime)
    elif args.output.endswith(".zip"):
        write_zip(args.output, args.top, args.folder, paths, args.mtime)
    else:
        sys.exit("error: %s: the archive must end in .tar.gz or .zip" % args.output)


if __name__ == "__main__":
    main()
