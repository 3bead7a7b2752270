#!/usr/bin/env bash
# Cross-builds Orvessa for 64-bit Windows into BUILD_DIR (default build-windows): freeglut once
# (windows/freeglut.sh), then the program, the textures its own generator makes under Wine, its
# unit tests, and BUILD_DIR/orvessa-<version>-windows-x64.zip.
# Usage: windows/build.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
build_dir=$(realpath -m "${1:-build-windows}")

windows/freeglut.sh "$build_dir/freeglut"
orvessa_build_download "$build_dir" "the Windows build" \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/windows/toolchain.cmake" \
  -DFreeGLUT_DIR="$build_dir/freeglut/lib/cmake/FreeGLUT"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
echo "The Windows download: $build_dir/orvessa-$version-windows-x64.zip"
