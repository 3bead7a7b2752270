#!/usr/bin/env bash
# Builds Orvessa and starts it from the build folder, where the textures are generated.
# Without a display ($DISPLAY unset) it takes a scripted tour on a private Xvfb instead and
# saves the views as PNG files under tour/.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
orvessa_install_missing
orvessa_build build
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: taking the scripted tour under Xvfb instead."
  exec /usr/bin/python3 tools/tour.py build tour
fi
cd build
exec ./orvessa "$@"
