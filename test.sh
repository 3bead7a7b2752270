#!/usr/bin/env bash
# Builds Orvessa, its web, Windows, ARM and portable Linux versions, and runs every test (GL
# tests under a private Xvfb when there is no display). Extra arguments go to ctest, e.g.
# ./test.sh -R Camera
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
orvessa_install_missing "${ORVESSA_ALL_TEST_PACKAGES[@]}"
orvessa_build_all_for_tests
if ! tools/with-xvfb.sh ctest --test-dir build --output-on-failure -j "$(nproc)" "$@"; then
  echo "error: some tests failed (see above)" >&2
  exit 1
fi
