# Sourced by run.sh, test.sh and tools/release.sh: installs the Debian packages a task needs,
# only those missing, so a fresh Debian 12 or 13 machine needs nothing beforehand; and the
# builds, and their downloads (tools/downloads.sh).
source "$(dirname "${BASH_SOURCE[0]}")/downloads.sh"

# Building and running (./run.sh): the compiler, CMake, freeglut, GLU and Mesa; for the tour of
# a machine without a display, Xvfb, xdotool and ImageMagick, which also render the desktop
# icon at build time.
ORVESSA_PACKAGES=(
  g++ cmake make pkg-config
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri
  xvfb xdotool imagemagick python3
)
# The tests (./test.sh, .ci/run): GoogleTest, Google Benchmark and stb_image (the benchmarks
# build with the tests), xdpyinfo, clang with the sanitizer runtime of the release's own clang,
# clang-format, valgrind, and git, which the release cases list the tracked files with.
ORVESSA_TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev libstb-dev x11-utils
  clang libclang-rt-dev clang-format valgrind git
)
# The Debian packages: CPack's dependency list (dpkg-shlibdeps, file), and their checks
# (lintian, the desktop entry's validator, the manual page rendered).
ORVESSA_DEB_PACKAGES=(dpkg-dev file lintian desktop-file-utils man-db groff-base)
# Checking that a release is the same bytes wherever it is made: a tree listed in a shuffled
# order (disorderfs), and diffoscope's account of a difference, with the tools it reads the
# downloads' contents with.
ORVESSA_REPRODUCIBLE_PACKAGES=(disorderfs diffoscope python3-debian xxd unzip binutils-multiarch)
# The web version: its build (Emscripten, whose tools and our texture step run under node) and
# its tests, driven from Python: Chromium through DevTools, Firefox through WebDriver BiDi,
# WebKitGTK's MiniBrowser through WebKitWebDriver (webkit2gtk-driver, on Debian 13 a transitional
# name for webkitgtk-webdriver). Firefox loads EGL for WebGL by itself: on a minimal system
# nothing else brings libegl1, and without it no WebGL.
ORVESSA_WEB_PACKAGES=(emscripten nodejs)
ORVESSA_WEB_TEST_PACKAGES=(chromium firefox-esr libegl1 webkit2gtk-driver python3-websocket)
# npm installs fast-check for the link's property tests. Debian's nodejs comes without it (its
# npm package adds it); another nodejs, such as NodeSource's, carries its own, which that
# package would conflict with.
if ! command -v npm >/dev/null 2>&1; then
  ORVESSA_WEB_TEST_PACKAGES+=(npm)
fi
# The Windows program: MinGW-w64's cross compilers; Wine, which runs what they build (the
# textures at build time, the tests, ./run.sh --windows); Debian's archive key, which signs
# freeglut's source (windows/freeglut.sh); GoogleTest's source, built for its unit tests.
ORVESSA_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64 wine wine64 debian-archive-keyring libgtest-dev)
# The portable Linux program (portable/): the X11 libraries freeglut's static archive calls.
ORVESSA_PORTABLE_PACKAGES=(libxi-dev libxxf86vm-dev)
# ARM Linux (arm/): Debian's cross compilers, qemu's user-mode emulators that run what they
# build, and for each architecture the libraries the programs and unit tests link and the Mesa
# they draw with under qemu, as Debian's multiarch packages of that architecture.
ORVESSA_ARM_ARCHITECTURES=(arm64 armhf)
ORVESSA_ARM_PACKAGES=(crossbuild-essential-arm64 crossbuild-essential-armhf qemu-user)
for orvessa_arch in "${ORVESSA_ARM_ARCHITECTURES[@]}"; do
  ORVESSA_ARM_PACKAGES+=("libglut-dev:$orvessa_arch" "libglu1-mesa-dev:$orvessa_arch"
    "libgl1-mesa-dri:$orvessa_arch" "libxi-dev:$orvessa_arch" "libxxf86vm-dev:$orvessa_arch"
    "libgtest-dev:$orvessa_arch")
done
unset orvessa_arch
# Everything the tests use: ./test.sh and .ci/run install these.
ORVESSA_ALL_TEST_PACKAGES=("${ORVESSA_TEST_PACKAGES[@]}" "${ORVESSA_DEB_PACKAGES[@]}"
  "${ORVESSA_REPRODUCIBLE_PACKAGES[@]}"
  "${ORVESSA_WEB_PACKAGES[@]}" "${ORVESSA_WEB_TEST_PACKAGES[@]}" "${ORVESSA_WINDOWS_PACKAGES[@]}"
  "${ORVESSA_PORTABLE_PACKAGES[@]}" "${ORVESSA_ARM_PACKAGES[@]}")

# What ./run.sh --release installs: everything the downloads are built, packed and checked
# with.
ORVESSA_RELEASE_PACKAGES=("${ORVESSA_DEB_PACKAGES[@]}" "${ORVESSA_WEB_PACKAGES[@]}"
  "${ORVESSA_WINDOWS_PACKAGES[@]}" "${ORVESSA_PORTABLE_PACKAGES[@]}" "${ORVESSA_ARM_PACKAGES[@]}")
# The packages whose versions a release's BUILDINFO names first, as dpkg-query patterns: the
# compilers and linkers, the libraries linked in or against, the Mesa the icon is drawn with,
# the emulators that run the generators, and the packers.
ORVESSA_RELEASE_TOOLS=(
  'g++-[0-9]*' 'gcc-[0-9]*' binutils libc6-dev 'libc6-dev-*-cross' 'libstdc++-*-dev*' cmake make
  'libglut-dev:*' 'libglu1-mesa-dev:*' 'libglut3*:*' 'libglu1-mesa:*' 'libgl1-mesa-dri:*'
  'libxi-dev:*' 'libxxf86vm-dev:*' xvfb 'imagemagick-*' 'python3.[0-9]' 'python3.[0-9][0-9]' zlib1g gzip dpkg-dev
  'g++-mingw-w64-x86-64-posix' 'binutils-mingw-w64-x86-64' mingw-w64-common wine64
  emscripten binaryen 'clang-[0-9]*' 'lld-[0-9]*' nodejs
  'g++-[0-9]*-aarch64-linux-gnu' 'g++-[0-9]*-arm-linux-gnueabihf' 'binutils-aarch64-linux-gnu'
  'binutils-arm-linux-gnueabihf' qemu-user
)

# "PACKAGE:ARCHITECTURE VERSION" of each installed package matching the patterns given (of
# every installed package without any), sorted. A pattern that matches none is left out: the
# names differ between Debian's releases.
orvessa_installed_versions() {
  { dpkg-query -W -f='${db:Status-Abbrev}${Package}:${Architecture} ${Version}\n' "$@" \
    2>/dev/null || true; } | sed -n 's/^ii *//p' | LC_ALL=C sort -u
}

# This machine's Debian release, by its code name (bookworm, trixie), or nothing.
orvessa_debian_release() {
  (. /etc/os-release 2>/dev/null && [ "${ID:-}" = debian ] && echo "${VERSION_CODENAME:-}") || true
}

orvessa_missing_packages() {
  local package arch native
  native=$(dpkg --print-architecture)
  for package in "$@"; do
    # A bare name means this machine's own architecture's package (or one for all of them):
    # another architecture's copy of it does not count.
    arch=${package##*:}
    if [ "$arch" = "$package" ]; then
      arch=$native
    fi
    if ! dpkg-query -W -f='${Architecture} ${Status}\n' "$package" 2>/dev/null |
      grep -qE "^($arch|all) install ok installed$"; then
      printf '%s\n' "$package"
    fi
  done
}

# Packages of another architecture ("name:arm64") need that architecture in dpkg's list. Adding
# it changes this machine's settings: apt then reads that architecture's package lists too and
# can install its libraries beside the machine's own. `dpkg --remove-architecture` undoes it
# once no package of it is left.
orvessa_add_architectures() {
  local arch package foreign
  foreign=$(dpkg --print-foreign-architectures)
  for package in "$@"; do
    arch=${package##*:}
    if [ "$arch" = "$package" ] || grep -qx "$arch" <<<"$foreign"; then
      continue
    fi
    echo "Adding the $arch architecture to dpkg (dpkg --add-architecture $arch), so that apt" \
      "can install $arch libraries beside this machine's own for the ARM builds"
    dpkg --add-architecture "$arch" || return 1
    foreign+=$'\n'$arch
  done
}

# Installs ORVESSA_PACKAGES and the packages given, e.g. "${ORVESSA_WEB_PACKAGES[@]}".
orvessa_install_missing() {
  local missing
  mapfile -t missing < <(orvessa_missing_packages "${ORVESSA_PACKAGES[@]}" "$@")
  if [ "${#missing[@]}" -eq 0 ]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "error: installing packages needs root; run again with sudo, or install them:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    return 1
  fi
  if ! { orvessa_add_architectures "${missing[@]}" && apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >/dev/null; }; then
    echo "error: apt-get could not install: ${missing[*]}" >&2
    return 1
  fi
}

# Configures the build folder (the first time, and again whenever CMake options are given) and
# builds it.
orvessa_build() {
  local build_dir=$1
  shift
  if [ ! -f "$build_dir/CMakeCache.txt" ] || [ $# -gt 0 ]; then
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null || {
      echo "error: cmake could not configure the build in $build_dir" >&2
      return 1
    }
  fi
  cmake --build "$build_dir" -j "$(nproc)" || {
    echo "error: the build in $build_dir failed (see above)" >&2
    return 1
  }
}

# The same, but the options only configure a new build folder: an existing one is built as it is.
orvessa_build_once() {
  local build_dir=$1
  shift
  if [ -f "$build_dir/CMakeCache.txt" ]; then
    orvessa_build "$build_dir"
  else
    orvessa_build "$build_dir" "$@"
  fi
}

# The program alone, as ./run.sh needs it: a build folder made here has no tests or
# benchmarks (their libraries come with ./test.sh, which turns them on).
orvessa_build_to_run() {
  orvessa_build_once "$1" -DBUILD_TESTING=OFF -DORVESSA_BENCHMARKS=OFF
}

# The build with its tests and benchmarks, as ./test.sh needs it: turns them on in a build
# folder that ./run.sh made.
orvessa_build_to_test() {
  if grep -qE '^(BUILD_TESTING|ORVESSA_BENCHMARKS):BOOL=OFF$' "$1/CMakeCache.txt" 2>/dev/null; then
    orvessa_build "$1" -DBUILD_TESTING=ON -DORVESSA_BENCHMARKS=ON
  else
    orvessa_build "$1"
  fi
}

# The builds beside the default one in build/, which they follow (the ARM packages take its
# icon): the tests use them all (tests/CMakeLists.txt names them), the release packs theirs.
ORVESSA_OTHER_BUILDS=(build-web build-windows build-arm64 build-armhf build-linux-x86_64
  build-linux-aarch64)
orvessa_build_others() {
  orvessa_build_web build-web &&
    orvessa_build_windows build-windows &&
    orvessa_build_arm arm64 build-arm64 build &&
    orvessa_build_arm armhf build-armhf build &&
    orvessa_build_portable x86_64 build-linux-x86_64 &&
    orvessa_build_portable aarch64 build-linux-aarch64
}

# Every build the tests use.
orvessa_build_all_for_tests() {
  orvessa_build_to_test build && orvessa_build_others
}

# Configures (once) and builds the web version with Emscripten (web/README.md).
orvessa_build_web() {
  local build_dir=$1
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    emcmake cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null || {
      echo "error: emcmake could not configure the web build in $build_dir" >&2
      return 1
    }
  fi
  cmake --build "$build_dir" -j "$(nproc)" || {
    echo "error: the web build failed (see above)" >&2
    return 1
  }
}

# A download's build: configures BUILD_DIR once (Release, with the CMake options given), builds
# it and packs its download into it (tools/downloads.sh). WHAT names it in messages.
orvessa_build_download() {
  local build_dir=$1 what=$2
  shift 2
  orvessa_build_once "$build_dir" -DCMAKE_BUILD_TYPE=Release "$@" || return 1
  orvessa_pack_download "$build_dir" "$build_dir" || {
    echo "error: $what's download could not be made" >&2
    return 1
  }
}

# Cross-builds the Windows program and its zip (windows/build.sh).
orvessa_build_windows() {
  windows/build.sh "$1"
}

# Cross-builds the ARM program (arm64, armhf) with its unit tests and Debian package into
# BUILD_DIR; the package's icon is the one NATIVE_BUILD_DIR rendered, so build that first.
orvessa_build_arm() {
  local arch=$1 build_dir=$2 native_build_dir=$3
  orvessa_build_download "$build_dir" "the $arch build" \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/arm/$arch.cmake" -DORVESSA_BENCHMARKS=OFF \
    -DORVESSA_ICON_FILE="$(realpath "$native_build_dir")/packaging/orvessa.png"
}

# Builds the portable Linux program and its tarball (portable/) for x86_64 (this machine) or
# aarch64 (cross-built).
orvessa_build_portable() {
  local processor=$1 build_dir=$2 toolchain=()
  if [ "$processor" = aarch64 ]; then
    toolchain=(-DCMAKE_TOOLCHAIN_FILE="$PWD/arm/arm64.cmake")
  fi
  orvessa_build_download "$build_dir" "the portable $processor build" -DORVESSA_PORTABLE=ON \
    -DBUILD_TESTING=OFF -DORVESSA_BENCHMARKS=OFF "${toolchain[@]}"
}
