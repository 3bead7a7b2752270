#!/usr/bin/env bash
# Builds Orvessa and starts it from the build folder, where the textures are generated.
# Without a display ($DISPLAY unset) it takes a scripted tour on a private Xvfb instead and
# saves the views as PNG files under tour/. ./run.sh --web serves the web version instead
# (./run.sh --web --lan: to every interface, for a phone on the same network); ./run.sh
# --windows builds the Windows program and starts it under Wine; ./run.sh --release writes
# every download into dist/.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
# --windows: cross-builds the Windows program and its zip into build-windows/ and starts it
# under Wine (without a display: the tour, under Wine, saved in tour-windows/).
if [ "${1:-}" = "--windows" ]; then
  shift
  orvessa_install_missing "${ORVESSA_WINDOWS_PACKAGES[@]}"
  orvessa_build_windows build-windows
  if [ -z "${DISPLAY:-}" ]; then
    echo "No display: taking the scripted tour under Xvfb and Wine instead."
    exec /usr/bin/python3 tools/tour.py --wine build-windows tour-windows
  fi
  cd build-windows
  WINEPREFIX=$PWD/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" exec wine orvessa.exe "$@"
fi
# --release: every download of this version in dist/, with their checksums.
if [ "${1:-}" = "--release" ]; then
  exec tools/release.sh dist
fi
# --web: builds the web version into build-web/ and serves its site folder until Ctrl-C.
if [ "${1:-}" = "--web" ]; then
  shift
  orvessa_install_missing "${ORVESSA_WEB_PACKAGES[@]}"
  orvessa_build_web build-web
  exec /usr/bin/python3 web/serve.py build-web/site --port "${ORVESSA_PORT:-8080}" "$@"
fi
orvessa_install_missing
orvessa_build_to_run build
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: taking the scripted tour under Xvfb instead."
  exec /usr/bin/python3 tools/tour.py build tour
fi
cd build
exec ./orvessa "$@"
