#!/usr/bin/env bash
# Builds freeglut for 64-bit Windows as a static library, from Debian's own source package, and
# installs it under PREFIX (headers, libfreeglut_static.a, its CMake package). Does nothing when
# PREFIX already holds this version.
#
# The source comes from Debian's archive as this machine's apt sources name it (so a mirror or
# a proxy set up here is the one used), signed, through apt with a configuration of its own
# (this machine's apt settings are not touched), and is checked against the SHA-256 below: no
# file of another project is kept in this repository. Usage: windows/freeglut.sh PREFIX
set -euo pipefail
prefix=$(realpath -m "${1:?usage: windows/freeglut.sh PREFIX}")
here=$(cd "$(dirname "$0")" && pwd)

version=3.4.0
tarball=freeglut_${version}.orig.tar.gz
sha256=3c0bcb915d9b180a97edaebd011b7a1de54583a838644dcd42bb0ea0c6f3eaec
stamp=$prefix/freeglut-$version.built
[ -f "$stamp" ] && exit 0

work=$prefix.work
rm -rf "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/source"

# The archive: the source of this machine's "bookworm" lines, else of any line whose lists
# Debian's main archive signed (a newer Debian's; its mirrors keep bookworm too).
source "$here/../tools/debian_root.sh"
archive=$(orvessa_debian_archive bookworm)
if [ -z "$archive" ]; then
  echo "error: none of this machine's apt sources is Debian's archive, which freeglut" \
    "$version's source comes from: add a Debian mirror to apt's sources, then apt-get update" >&2
  exit 1
fi
# A deb-src line for bookworm's main there, read by apt alone, verified with Debian's key.
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
echo "deb-src [signed-by=$keyring] $archive bookworm main" >"$work/apt/sources.list"
apt_private=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o "Dir::Etc::SourceParts=-"
  -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache"
  -o "APT::Sandbox::User=root" -qq)
echo "Fetching freeglut $version's source from $archive"
apt-get "${apt_private[@]}" update >/dev/null || {
  echo "error: apt could not read Debian's source index for freeglut" >&2
  exit 1
}
(cd "$work/source" && apt-get "${apt_private[@]}" source --download-only freeglut) \
  >/dev/null || {
  echo "error: apt could not fetch freeglut $version's source" >&2
  exit 1
}
# Any Debian revision of this version shares the one upstream tarball.
echo "$sha256  $work/source/$tarball" | sha256sum -c --quiet - || {
  echo "error: $tarball is not the file this build was made for" >&2
  exit 1
}
tar -xzf "$work/source/$tarball" -C "$work/source"

echo "Building freeglut $version for Windows (static)"
cmake -S "$work/source/freeglut-$version" -B "$work/build" \
  -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DFREEGLUT_BUILD_DEMOS=OFF \
  -DFREEGLUT_BUILD_STATIC_LIBS=ON -DFREEGLUT_BUILD_SHARED_LIBS=OFF >"$work/configure.log" 2>&1 &&
  cmake --build "$work/build" -j "$(nproc)" >"$work/build.log" 2>&1 &&
  cmake --install "$work/build" >"$work/install.log" 2>&1 || {
  echo "error: freeglut did not build; see the logs in $work" >&2
  exit 1
}
# Its licence goes into the zip beside the program that links it.
install -m 644 "$work/source/freeglut-$version/COPYING" "$prefix/COPYING"
rm -rf "$work"
touch "$stamp"
