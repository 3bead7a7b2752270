#!/usr/bin/env bash
# Builds Orvessa and starts it from the build folder, where the textures are generated.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
orvessa_install_missing
orvessa_build build
cd build
exec ./orvessa "$@"
