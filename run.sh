#!/usr/bin/env bash
# The front door: installs what is missing, builds Orvessa and starts it, or takes one of its
# other ways (./run.sh --help lists them). Its arguments are checked before anything is
# installed or built.
set -euo pipefail
cd "$(dirname "$0")"

usage() {
  cat <<'EOF'
Usage: ./run.sh [MODE]
Installs what is missing (Debian 12 or 13, as root), builds, and starts Orvessa.

  ./run.sh                        build and start the walk-through; with no display, take a
                                  scripted tour on a private Xvfb and save its views in tour/
  ./run.sh ARGUMENT...            the same, with arguments for the program (on a display):
                                  --version, --help, or GLUT's, such as -geometry 800x600
  ./run.sh --web [--lan]          build the web version and serve it at http://127.0.0.1:8080/
                                  (ORVESSA_PORT picks another port); --lan serves it to every
                                  interface, for a phone on the same network
  ./run.sh --windows [ARGUMENT...]
                                  cross-build the Windows program and its zip, and start it
                                  under Wine (with no display, the tour, saved in tour-windows/)
  ./run.sh --release              write every download, SHA256SUMS and BUILDINFO into dist/
  ./run.sh --verify-release SUMS  make the release again from this tree and compare it with
                                  the files a SHA256SUMS lists: a file that differs is named,
                                  with diffoscope's report when the file lies beside SUMS
  ./run.sh --help                 this list

./test.sh runs every test.
EOF
}

refuse() {
  echo "error: ./run.sh: $* (./run.sh --help lists what it takes)" >&2
  exit 2
}

# Arguments go to the program only where it starts on a display: the tour takes none.
check_program_arguments() {
  if [ $# -gt 0 ] && [ -z "${DISPLAY:-}" ]; then
    refuse "with no display the scripted tour runs, which takes no arguments: $*"
  fi
}

mode=${1:-}
case "$mode" in
  --help | -h)
    usage
    exit 0
    ;;
  --web)
    shift
    for argument in "$@"; do
      [ "$argument" = --lan ] || refuse "--web takes --lan only, not $argument"
    done
    ;;
  --windows)
    shift
    check_program_arguments "$@"
    ;;
  --release)
    [ $# -eq 1 ] || refuse "--release takes nothing more, not ${*:2}"
    ;;
  --verify-release)
    [ $# -eq 2 ] || refuse "--verify-release takes one file, the downloads' SHA256SUMS"
    [ -f "$2" ] || refuse "--verify-release: no such file: $2"
    ;;
  *)
    check_program_arguments "$@"
    ;;
esac

source tools/deps.sh
case "$mode" in
  # Cross-builds the Windows program and its zip into build-windows/ and starts it under Wine.
  --windows)
    orvessa_install_missing "${ORVESSA_WINDOWS_PACKAGES[@]}"
    orvessa_build_windows build-windows
    if [ -z "${DISPLAY:-}" ]; then
      echo "No display: taking the scripted tour under Xvfb and Wine instead."
      exec /usr/bin/python3 tools/tour.py --wine build-windows tour-windows
    fi
    cd build-windows
    WINEPREFIX=$PWD/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" exec wine orvessa.exe "$@"
    ;;
  # Every download of this version in dist/, with their checksums and what they were made with.
  --release)
    exec tools/release.sh dist
    ;;
  --verify-release)
    exec tools/verify_release.sh "$2"
    ;;
  # Builds the web version into build-web/ and serves its site folder until Ctrl-C.
  --web)
    orvessa_install_missing "${ORVESSA_WEB_PACKAGES[@]}"
    orvessa_build_web build-web
    exec /usr/bin/python3 web/serve.py build-web/site --port "${ORVESSA_PORT:-8080}" "$@"
    ;;
esac
orvessa_install_missing
orvessa_build_to_run build
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: taking the scripted tour under Xvfb instead."
  exec /usr/bin/python3 tools/tour.py build tour
fi
cd build
exec ./orvessa "$@"
