#!/usr/bin/env bash
# tools/release.sh on a host that is not Debian 12: the release is built in a Debian 12 root,
# so that its downloads are the same bytes as a Debian 12 host's and run wherever Debian 12
# does. The root is made once with debootstrap and kept under ORVESSA_ROOTS, with the packages
# it installed and its builds, for the next release. Needs root.
# Usage: tools/release_in_debian12.sh DIST
set -euo pipefail
cd "$(dirname "$0")/.."
dist=$(realpath -m "${1:?usage: tools/release_in_debian12.sh DIST}")
source tools/deps.sh
source tools/debian_root.sh

system=$( (. /etc/os-release 2>/dev/null && echo "$PRETTY_NAME") || uname -s)
if [ "$(id -u)" -ne 0 ]; then
  echo "error: this machine runs $system, and the downloads are built against Debian 12 in a" \
    "root of its own (debootstrap, mount, chroot), which needs root: run again as root, or set" \
    "ORVESSA_RELEASE_HERE=1 to build with this machine's tools (its downloads then differ" \
    "from Debian 12's)" >&2
  exit 1
fi
orvessa_install_missing debootstrap

root=$ORVESSA_ROOTS/bookworm-release
echo "This machine runs $system: the release is built in a Debian 12 root, $root (kept for" \
  "the next time)"
if [ ! -d "$root/root" ]; then
  rm -rf --one-file-system "$root"
  orvessa_root_create "$root" bookworm
fi
trap 'orvessa_root_unmount "$root"' EXIT
trap 'exit 130' INT TERM
orvessa_root_mount "$root" bookworm
# Kept between releases, it is brought up to date as a maintained Debian 12 machine would be.
orvessa_root_sources "$root" bookworm "$(orvessa_debian_archive bookworm)"
orvessa_root_upgrade "$root"

if [ "$(orvessa_source_origin)" = git ] &&
  [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "warning: the tree has uncommitted changes: these downloads are not commit" \
    "$(git rev-parse --short=12 HEAD)'s" >&2
fi
# The source as an unpacked source release (its record says the commit and the time), beside
# the builds kept from the last time, whose unchanged files need not be built again.
source_dir=$root/root/orvessa
mkdir -p "$source_dir"
find "$source_dir" -mindepth 1 -maxdepth 1 ! -name 'build*' -exec rm -rf --one-file-system {} +
orvessa_copy_source "$source_dir"
# In the background, so that a signal to this script ends the build at once.
orvessa_root_run "$root" /bin/bash -c 'cd /root/orvessa && tools/release.sh dist' &
wait $!

rm -rf "$dist"
cp -r "$source_dir/dist" "$dist"
echo "Copied to $dist"
