# Sourced by run.sh and test.sh: installs the Debian packages the project needs, only those
# missing, so a fresh Debian 12 machine needs nothing beforehand.

ORVESSA_PACKAGES=(
  g++ cmake make pkg-config
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri
  libgtest-dev libgmock-dev libbenchmark-dev libstb-dev
  xvfb xdotool x11-utils imagemagick python3
  clang libclang-rt-14-dev clang-format valgrind
  # the Debian package: CPack's dependency list and checks, the manual page
  dpkg-dev file lintian desktop-file-utils man-db groff-base
)
# The web version: its build (Emscripten, whose tools and our texture step run under node) and
# its tests (Chromium driven through DevTools, Firefox through WebDriver BiDi, from Python).
ORVESSA_WEB_PACKAGES=(emscripten nodejs)
ORVESSA_WEB_TEST_PACKAGES=(chromium firefox-esr python3-websocket)
# The Windows program: MinGW-w64's cross compilers; Wine, which runs what they build (the
# textures at build time, the tests, ./run.sh --windows); Debian's archive key, which signs
# freeglut's source (windows/freeglut.sh).
ORVESSA_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64 wine wine64 debian-archive-keyring)

orvessa_missing_packages() {
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      printf '%s\n' "$package"
    fi
  done
}

# Extra arguments are more packages to install, e.g. "${ORVESSA_WEB_PACKAGES[@]}".
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
  if ! { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
           --no-install-recommends "${missing[@]}" >/dev/null; }; then
    echo "error: apt-get could not install: ${missing[*]}" >&2
    return 1
  fi
}

# Configures (once) and builds the default build folder.
orvessa_build() {
  local build_dir=$1
  shift
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null || {
      echo "error: cmake could not configure the build in $build_dir" >&2
      return 1
    }
  fi
  cmake --build "$build_dir" -j "$(nproc)" || {
    echo "error: the build failed (see above)" >&2
    return 1
  }
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

# Cross-builds the Windows program and its zip (windows/build.sh).
orvessa_build_windows() {
  windows/build.sh "$1"
}
