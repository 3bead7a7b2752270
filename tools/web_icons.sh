#!/usr/bin/env bash
# Renders the web page's icons (web/icon-192.png, web/icon-512.png) from the program's start
# view with the package icon's renderer (packaging/render_icon.py), so that they show what the
# program shows. The web build has no native program to render them with, so they are kept in
# the source tree; e2e.start_view checks they still match what the program shows.
# Builds first, like run.sh; the program runs on a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
orvessa_install_missing
orvessa_build build
# 32 colours, not dithered: the 512 × 512 icon stays near 50 kB, where a full-colour frame
# takes about 290 kB, and a browser may fetch it on the page's first visit.
for size in 192 512; do
  /usr/bin/python3 packaging/render_icon.py build/orvessa build "web/icon-$size.png" "$size" 32
  echo "Wrote web/icon-$size.png ($(stat -c %s "web/icon-$size.png") bytes)"
done
