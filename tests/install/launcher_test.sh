#!/usr/bin/env bash
# Installs into a scratch prefix and starts the installed launcher from an unrelated folder:
# the window must show textured surfaces, which it can only do if the launcher found them.
# Usage: launcher_test.sh BUILD_DIR
set -euo pipefail
# A private X server: on a shared one, other tests' windows come and go while xdotool walks the
# window tree, and a window vanishing mid-walk makes xdotool fail with BadWindow.
if [ -z "${ORVESSA_LAUNCHER_TEST_PRIVATE_X:-}" ]; then
  ORVESSA_LAUNCHER_TEST_PRIVATE_X=1 DISPLAY= exec "$(dirname "$0")/../../tools/with-xvfb.sh" "$0" "$@"
fi
build_dir=$1
scratch=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
for file in bin/orvessa bin/orvessa-bin share/orvessa/minar.bmp share/orvessa/grass.bmp \
            share/orvessa/door.bmp share/orvessa/pool.bmp share/orvessa/roof.bmp share/orvessa/sw.bmp; do
  [ -e "$scratch/prefix/$file" ] || { echo "FAIL: $file not installed"; exit 1; }
done

mkdir "$scratch/elsewhere"
cd "$scratch/elsewhere"
"$scratch/prefix/bin/orvessa" &
pid=$!
wid=
for attempt in $(seq 1 100); do
  wid=$(xdotool search --onlyvisible --pid "$pid" --name '^Orvessa\.' 2>/dev/null | head -n 1 || true)
  [ -z "$wid" ] || break
  sleep 0.2
done
[ -n "$wid" ] || { echo "FAIL: no window"; exit 1; }
xdotool windowmove --sync "$wid" 0 0

# The lawn fills the lower part of the start view: with textures it is far from white. The
# window itself is captured, so other tests' windows on the same display cannot cover it, and
# the first frame may take a while on a loaded machine.
for attempt in $(seq 1 150); do
  # Raw RGB bytes of one pixel, as six hex digits.
  colour=$(/usr/bin/import -window "$wid" -crop 1x1+512+700 -depth 8 rgb:- 2>/dev/null |
           od -An -tx1 | tr -d ' \n' || true)
  if [ "${#colour}" -eq 6 ] && [ "$colour" != "ffffff" ]; then
    echo "PASS: installed launcher shows textures (lawn pixel $colour)"
    [ ! -e "$scratch/elsewhere/grass.bmp" ] || { echo "FAIL: files appeared in the cwd"; exit 1; }
    exit 0
  fi
  sleep 0.2
done
echo "FAIL: the start view stayed white (lawn pixel ${colour:-unreadable})"
exit 1
