#!/usr/bin/env bash
# Builds the benchmarks (Release, in build-bench/), runs every case under a private Xvfb with
# Mesa's software renderer, and writes the results to docs/benchmarks.md; then measures the
# program's memory and key presses with hostile textures, and the web version against the
# native program (tools/web_benchmarks.py), and the Windows program under Wine and the arm64
# program under qemu against it (tools/emulated_benchmarks.py), each in a section of its own.
# Extra arguments go to the benchmark program, e.g. --benchmark_filter=loadBmp24 or
# --benchmark_repetitions=3 for a quicker, rougher run.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
orvessa_install_missing "${ORVESSA_TEST_PACKAGES[@]}"

build_dir=build-bench
report=docs/benchmarks.md
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null || {
    echo "error: cmake could not configure $build_dir" >&2
    exit 1
  }
fi
# Two jobs at most: the machine may be shared, and the timings should not wait on a build. (The
# icon, in packaging_files, is the arm64 build's too.)
cmake --build "$build_dir" -j 2 --target orvessa_bench orvessa textures packaging_files || {
  echo "error: the benchmarks did not build (see above)" >&2
  exit 1
}

# The revision measured, marked when the code that is timed differs from it.
commit=$(git rev-parse --short HEAD 2>/dev/null || echo unknown)
if [ -n "$(git status --porcelain -- CMakeLists.txt app bench camera image scene \
             tools/make_textures.cpp textures/texture_generator.cpp 2>/dev/null)" ]; then
  commit="$commit with local changes"
fi
mkdir -p "$(dirname "$report")"
# No DISPLAY: with-xvfb.sh starts its own 1024 x 768 screen, so every run draws the same frame.
if ! env -u DISPLAY LIBGL_ALWAYS_SOFTWARE=1 tools/with-xvfb.sh \
    "$build_dir/bench/orvessa_bench" \
    --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \
    --report="$report" --notes=bench/notes.md --commit="$commit" "$@"; then
  echo "error: a benchmark failed (see above); $report may be incomplete" >&2
  exit 1
fi
# The whole program with hostile textures against the shipped ones: its own section.
if ! /usr/bin/python3 tools/texture_cost_report.py "$build_dir" "$report"; then
  echo "error: the texture cost was not measured (see above)" >&2
  exit 1
fi

# The Windows program under Wine and the arm64 one under qemu against the native program, each
# in a section of its own.
orvessa_install_missing "${ORVESSA_WINDOWS_PACKAGES[@]}" "${ORVESSA_ARM_PACKAGES[@]}"
orvessa_build_windows build-windows >/dev/null
orvessa_build_arm arm64 build-arm64 "$build_dir" >/dev/null
for emulated in "wine build-windows" "qemu-aarch64 build-arm64"; do
  read -r kind other_build <<<"$emulated"
  if ! /usr/bin/python3 tools/emulated_benchmarks.py "$kind" "$build_dir" "$other_build" \
    "$report"; then
    echo "error: the program under $kind was not measured (see above)" >&2
    exit 1
  fi
done

# The web version against the native program, in a section of its own at the end of the page.
orvessa_install_missing "${ORVESSA_WEB_PACKAGES[@]}" "${ORVESSA_WEB_TEST_PACKAGES[@]}"
orvessa_build_web build-web
if ! /usr/bin/python3 tools/web_benchmarks.py build-web/site "$build_dir/bench/orvessa_bench" \
    "$report" >/dev/null; then
  echo "error: the web measurements failed (see above); $report lacks them" >&2
  exit 1
fi
echo "Wrote $report"
