#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix PREFIX, made on first use, with no display:
# the Windows build runs its texture generator and its unit tests this way.
# Usage: windows/wine.sh PREFIX PROGRAM [ARGUMENTS...]
set -uo pipefail
prefix=$(realpath -m "${1:?usage: windows/wine.sh PREFIX PROGRAM [ARGUMENTS...]}")
shift
export WINEPREFIX=$prefix WINEDEBUG=-all
# No Mono or Gecko: a new prefix would otherwise offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# The folder a desktop session gives its programs; Wine complains on stderr without one.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
mkdir -p "$prefix"
wine "$@"
status=$?
# A Wine server started without a display would keep a later program in this prefix from
# opening windows: wait until it has gone.
wineserver -w
exit "$status"
