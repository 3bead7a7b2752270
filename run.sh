#!/usr/bin/env bash
# Builds Orvessa and starts it from the build folder, where the textures are generated.
# Without a display ($DISPLAY unset) it takes a scripted tour on a private Xvfb instead and
# saves the views as PNG files under tour/. ./run.sh --web serves the web version instead.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
# --web: builds the web version into build-web/ and serves it on this machine until Ctrl-C.
if [ "${1:-}" = "--web" ]; then
  orvessa_install_missing "${ORVESSA_WEB_PACKAGES[@]}"
  orvessa_build_web build-web
  port=${ORVESSA_PORT:-8080}
  echo "Orvessa in a browser: http://127.0.0.1:$port/ (Ctrl-C stops serving)"
  exec /usr/bin/python3 -m http.server --bind 127.0.0.1 --directory build-web "$port"
fi
orvessa_install_missing
orvessa_build build
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: taking the scripted tour under Xvfb instead."
  exec /usr/bin/python3 tools/tour.py build tour
fi
cd build
exec ./orvessa "$@"
