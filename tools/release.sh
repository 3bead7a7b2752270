#!/usr/bin/env bash
# Writes every download of this version into DIST (default dist/): the Debian packages for
# amd64, arm64 and armhf, the portable Linux tarballs for x86_64 and aarch64, the source
# release, the web site as a zip and the Windows zip, and SHA256SUMS over the eight. The builds
# they come from (build/, build-web/, build-windows/, build-arm64/, build-armhf/,
# build-linux-x86_64/, build-linux-aarch64/) are made or updated first; the source release
# packs the files git tracks, so commit first.
# Usage: tools/release.sh [--as-built BUILD_DIR] [DIST]
#   --as-built: take the builds as they are, BUILD_DIR as the native one, and install, build and
#   write nothing but DIST and what CPack leaves in BUILD_DIR (the release test's way).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
native=build
if [ "${1:-}" = "--as-built" ]; then
  native=$(realpath "$2")
  shift 2
else
  orvessa_install_missing "${ORVESSA_DEB_PACKAGES[@]}" "${ORVESSA_WEB_PACKAGES[@]}" \
    "${ORVESSA_WINDOWS_PACKAGES[@]}" "${ORVESSA_PORTABLE_PACKAGES[@]}" \
    "${ORVESSA_ARM_PACKAGES[@]}"
  orvessa_build_to_run build
  orvessa_build_others
fi
dist=$(realpath -m "${1:-dist}")

# One version in every name: project()'s, which each build's cache holds.
version_of() { sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt"; }
version=$(version_of "$native")
for build_dir in "${ORVESSA_OTHER_BUILDS[@]}"; do
  if [ "$(version_of "$build_dir")" != "$version" ]; then
    echo "error: $build_dir is version $(version_of "$build_dir"), $native is $version" >&2
    exit 1
  fi
done

# The cross builds have just made theirs; the others are made afresh into a staging folder,
# away from the build trees.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
pack() {
  cpack --config "$1" -B "$stage/$2" >"$stage/$2.log" 2>&1 || {
    cat "$stage/$2.log" >&2
    echo "error: cpack could not make the $2 download" >&2
    exit 1
  }
}
pack "$native/CPackConfig.cmake" deb
pack "$native/CPackSourceConfig.cmake" source
# The site as it is, in one folder: any folder of any static web server can hold it.
web=orvessa-$version-web
cp -r build-web/site "$stage/$web"
(cd "$stage" && cmake -E tar cf "$web.zip" --format=zip "$web")

rm -rf "$dist"
mkdir -p "$dist"
arch=$(dpkg --print-architecture)
cp "$stage/deb/orvessa_${version}_$arch.deb" "build-arm64/orvessa_${version}_arm64.deb" \
  "build-armhf/orvessa_${version}_armhf.deb" \
  "build-linux-x86_64/orvessa-$version-linux-x86_64.tar.gz" \
  "build-linux-aarch64/orvessa-$version-linux-aarch64.tar.gz" \
  "$stage/source/orvessa-$version.tar.gz" "$stage/$web.zip" \
  "build-windows/orvessa-$version-windows-x64.zip" "$dist/"
(cd "$dist" && sha256sum -- *.deb *.tar.gz *.zip >SHA256SUMS)
echo "Orvessa $version's downloads, in $dist:"
(cd "$dist" && ls -l --block-size=K -- *.deb *.tar.gz *.zip SHA256SUMS |
  awk '{print "  " $5 "\t" $NF}')
