#!/usr/bin/env bash
# Checks downloads against their source: makes the release again from the tree it stands in
# (tools/release.sh, into build-verify/dist) and compares each file that SUMS lists with the
# one made here. Where one differs it names it and, when the downloaded file lies beside SUMS,
# shows diffoscope's report of the difference; where a BUILDINFO lies beside SUMS, it shows
# how the two machines' tools differ. Exit status 0 when every file is the same.
# Usage: tools/verify_release.sh SUMS   (./run.sh --verify-release SUMS)
set -euo pipefail
sums=$(realpath "${1:?usage: tools/verify_release.sh SHA256SUMS}")
downloads=$(dirname "$sums")
cd "$(dirname "$0")/.."
source tools/deps.sh
orvessa_install_missing "${ORVESSA_REPRODUCIBLE_PACKAGES[@]}"

rebuilt=$PWD/build-verify/dist
echo "Making the release again from $PWD, into $rebuilt"
tools/release.sh "$rebuilt"

same=0
differ=()
while read -r digest name; do
  name=${name#\*}
  if [ ! -f "$rebuilt/$name" ]; then
    echo "MISSING  $name: the release made here has no such file"
    differ+=("$name")
  elif [ "$(sha256sum <"$rebuilt/$name" | cut -d' ' -f1)" = "$digest" ]; then
    echo "same     $name"
    same=$((same + 1))
  else
    echo "DIFFERS  $name"
    differ+=("$name")
  fi
done <"$sums"

for name in "${differ[@]}"; do
  if [ -f "$downloads/$name" ] && [ -f "$rebuilt/$name" ]; then
    echo
    echo "== diffoscope $downloads/$name $rebuilt/$name"
    diffoscope --text - --max-report-size 200000 "$downloads/$name" "$rebuilt/$name" || true
  elif [ -f "$rebuilt/$name" ]; then
    echo "($name is not beside $sums: put the downloaded file there to see how it differs)"
  fi
done
if [ "${#differ[@]}" -gt 0 ] && [ -f "$downloads/BUILDINFO" ]; then
  echo
  echo "== how the tools differ (BUILDINFO there, and here)"
  diff -u "$downloads/BUILDINFO" "$rebuilt/BUILDINFO" | tail -n +3 || true
fi
echo
if [ "${#differ[@]}" -eq 0 ]; then
  echo "Verified: all $same files are the same bytes as the release made here."
else
  echo "error: ${#differ[@]} of $((same + ${#differ[@]})) files differ: ${differ[*]}" >&2
  exit 1
fi
