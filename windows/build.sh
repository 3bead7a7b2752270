#!/usr/bin/env bash
# Cross-builds Orvessa for 64-bit Windows into BUILD_DIR (default build-windows): freeglut once
# (windows/freeglut.sh), then the program, the textures its own generator makes under Wine, its
# unit tests, and BUILD_DIR/orvessa-<version>-windows-x64.zip.
# Usage: windows/build.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath -m "${1:-build-windows}")

windows/freeglut.sh "$build_dir/freeglut"
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S . -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/windows/toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DFreeGLUT_DIR="$build_dir/freeglut/lib/cmake/FreeGLUT" \
    >/dev/null || {
    echo "error: cmake could not configure the Windows build in $build_dir" >&2
    exit 1
  }
fi
cmake --build "$build_dir" -j "$(nproc)" || {
  echo "error: the Windows build failed (see above)" >&2
  exit 1
}
cmake --build "$build_dir" --target package >/dev/null || {
  echo "error: the Windows zip could not be made" >&2
  exit 1
}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
echo "The Windows download: $build_dir/orvessa-$version-windows-x64.zip"
