#!/usr/bin/env bash
# Writes every download of this version into DIST (default dist/): the Debian packages for
# amd64, arm64 and armhf, the portable Linux tarballs for x86_64 and aarch64, the source
# release, the web site as a zip and the Windows zip; SHA256SUMS over the eight; and BUILDINFO,
# what they were made from and with. The builds they come from (build/, build-web/,
# build-windows/, build-arm64/, build-armhf/, build-linux-x86_64/, build-linux-aarch64/) are
# made or updated first.
#
# The same source gives the same bytes (tools/downloads.sh): every time in them is the
# commit's, SOURCE_DATE_EPOCH. They are built against Debian 12, the oldest release supported,
# so that they run wherever it does: on a host of another release (or another system) the
# release is built in a Debian 12 root (tools/release_in_debian12.sh), kept for the next time.
# ORVESSA_RELEASE_HERE=1 builds with this machine's own tools instead.
#
# Usage: tools/release.sh [DIST]
#        tools/release.sh --as-built DIST BUILD_DIR...
#   --as-built: pack the builds given as they are (the native one first), installing and
#   building nothing, and write nothing but DIST (the release tests' way).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
export LC_ALL=C  # one order for the sums, whatever the locale
trap 'echo "error: the release failed (tools/release.sh, line $LINENO)" >&2' ERR

builds=(build "${ORVESSA_OTHER_BUILDS[@]}")
if [ "${1:-}" = "--as-built" ]; then
  dist=$(realpath -m "${2:?usage: tools/release.sh --as-built DIST BUILD_DIR...}")
  shift 2
  builds=("$@")
else
  dist=$(realpath -m "${1:-dist}")
  if [ "$(orvessa_debian_release)" != bookworm ] && [ "${ORVESSA_RELEASE_HERE:-}" != 1 ]; then
    exec tools/release_in_debian12.sh "$dist"
  fi
  orvessa_install_missing "${ORVESSA_RELEASE_PACKAGES[@]}"
  orvessa_build_to_run build
  orvessa_build_others
fi

# One version in every name: project()'s, which each build's cache holds.
version_of() { sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt"; }
version=$(version_of "${builds[0]}")
for build_dir in "${builds[@]}"; do
  if [ "$(version_of "$build_dir")" != "$version" ]; then
    echo "error: $build_dir is version $(version_of "$build_dir"), ${builds[0]} is $version" >&2
    exit 1
  fi
done
SOURCE_DATE_EPOCH=$(orvessa_source_date_epoch)
export SOURCE_DATE_EPOCH
commit=$(orvessa_source_commit)
modified=no
if [ "$(orvessa_source_origin)" = git ] &&
  [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  modified=yes
  echo "warning: the tree has uncommitted changes: these downloads are not commit" \
    "${commit:0:12}'s" >&2
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for build_dir in "${builds[@]}"; do
  orvessa_pack_download "$build_dir" "$stage"
done
orvessa_pack_source "$version" "$stage"

# Everything a rebuild needs to know to explain a difference: the commit, the time, the system
# and the version of every package on it, the tools the downloads were made with first.
write_buildinfo() {
  echo "Format: orvessa-buildinfo 1"
  echo "Version: $version"
  echo "Commit: $commit"
  echo "Tree-Modified: $modified"
  echo "Source-Date-Epoch: $SOURCE_DATE_EPOCH ($(date -u -d "@$SOURCE_DATE_EPOCH" +%FT%TZ))"
  echo "Build-System: $(. /etc/os-release && echo "$PRETTY_NAME"), $(cat /etc/debian_version)"
  echo "Build-Architecture: $(dpkg --print-architecture)"
  echo "Checksums-Sha256:"
  (cd "$stage" && sha256sum -- *.deb *.tar.gz *.zip | while read -r sum name; do
    echo " $sum $(stat -c %s "$name") $name"
  done)
  echo "Tools:"
  orvessa_installed_versions "${ORVESSA_RELEASE_TOOLS[@]}" | sed 's/^/ /'
  echo "Installed:"
  orvessa_installed_versions | sed 's/^/ /'
}
write_buildinfo >"$stage/BUILDINFO.part"

rm -rf "$dist"
mkdir -p "$dist"
mv "$stage"/*.deb "$stage"/*.tar.gz "$stage"/*.zip "$dist/"
mv "$stage/BUILDINFO.part" "$dist/BUILDINFO"
(cd "$dist" && sha256sum -- *.deb *.tar.gz *.zip >SHA256SUMS)
echo "Orvessa $version's downloads, in $dist (time: commit ${commit:0:12}'s," \
  "$(date -u -d "@$SOURCE_DATE_EPOCH" +%FT%TZ)):"
(cd "$dist" && ls -l --block-size=K -- *.deb *.tar.gz *.zip SHA256SUMS BUILDINFO |
  awk '{print "  " $5 "\t" $NF}')
