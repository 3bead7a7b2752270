#!/usr/bin/env bash
# Builds Orvessa and runs every test (GL tests under a private Xvfb when there is no display).
# Extra arguments go to ctest, e.g. ./test.sh -R Camera
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
orvessa_install_missing "${ORVESSA_WEB_PACKAGES[@]}" "${ORVESSA_WEB_TEST_PACKAGES[@]}" \
  "${ORVESSA_WINDOWS_PACKAGES[@]}"
orvessa_build build
orvessa_build_web build-web         # served by the web cases (ctest -L web)
orvessa_build_windows build-windows # run under Wine by the Windows cases (ctest -L windows)
if ! tools/with-xvfb.sh ctest --test-dir build --output-on-failure -j "$(nproc)" "$@"; then
  echo "error: some tests failed (see above)" >&2
  exit 1
fi
