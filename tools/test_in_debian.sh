#!/usr/bin/env bash
# Runs the whole suite as a new user would on another Debian release (default: Debian 13,
# trixie): in a fresh minimal root made with debootstrap, this checkout's HEAD is cloned and
# ./test.sh installs what it needs from that release's archive, builds and tests. The root is
# removed afterwards; its base system and the packages downloaded are kept for the next run
# (tools/debian_root.sh). Needs root; without it, says so and does nothing.
# Usage: tools/test_in_debian.sh [RELEASE] [-- ARGUMENTS FOR ./test.sh]
set -euo pipefail
cd "$(dirname "$0")/.."
release=trixie
if [ $# -gt 0 ] && [ "$1" != "--" ]; then
  release=$1
  shift
fi
[ "${1:-}" = "--" ] && shift

if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: the suite on Debian $release needs root (debootstrap, mount and chroot" \
    "make its root); run tools/test_in_debian.sh as root"
  exit 0
fi
source tools/deps.sh
source tools/debian_root.sh
orvessa_install_missing debootstrap git

if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "note: the run tests the commit $(git rev-parse --short HEAD): uncommitted changes are" \
    "not in it"
fi
root=$ORVESSA_ROOTS/$release-suite.$$
trap 'orvessa_root_remove "$root"' EXIT
trap 'exit 130' INT TERM
started=$SECONDS
orvessa_root_create "$root" "$release"
orvessa_root_mount "$root" "$release"
orvessa_root_upgrade "$root"
git clone --quiet --no-hardlinks "$PWD" "$root/root/orvessa"
echo "== ./test.sh on Debian $(cat "$root/etc/debian_version") ($release), in $root"
# In the background, so that a signal to this script ends the run at once (the trap ends every
# process in the root) rather than once the suite is over.
orvessa_root_run "$root" /bin/bash -c 'cd /root/orvessa && ./test.sh "$@"' test.sh "$@" &
if wait $!; then
  echo "== the suite passed on Debian $release in $((SECONDS - started)) s"
else
  echo "error: the suite failed on Debian $release (see above)" >&2
  exit 1
fi
