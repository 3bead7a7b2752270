#!/usr/bin/env bash
# Regenerates the README's pictures from the headless tour, so that they show what the program
# shows: docs/images/start.png (the start view) and docs/images/turned-round.png.
# Builds first, like run.sh; the tour runs on a private Xvfb whether or not there is a display.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
orvessa_install_missing
orvessa_build build

tour=$(mktemp -d)
trap 'rm -rf "$tour"' EXIT
/usr/bin/python3 tools/tour.py build "$tour" >/dev/null
mkdir -p docs/images
limit=300000 # bytes; the README's pictures stay small
for pair in 01-start.png:start.png 06-turned-round.png:turned-round.png; do
  out=docs/images/${pair#*:}
  # 800 x 600 in 256 colours keeps a view near 200 KB; -strip leaves out time stamps, so an
  # unchanged view gives an unchanged file.
  /usr/bin/convert "$tour/${pair%%:*}" -resize 800x600 -colors 256 -strip "$out"
  size=$(stat -c %s "$out")
  if [ "$size" -ge "$limit" ]; then
    echo "error: $out is $size bytes, over $limit" >&2
    exit 1
  fi
  echo "Wrote $out ($size bytes)"
done
