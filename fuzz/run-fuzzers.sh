#!/usr/bin/env bash
# Runs each BMP fuzzer in turn (one process at a time) for a bounded time on the generated
# seeds plus the corpus kept from earlier runs in the build folder. Fails on any crash, leak,
# timeout, out-of-memory or sanitizer report; the input that caused it is left in
# BUILD/fuzz/artifacts/.
#   fuzz/run-fuzzers.sh BUILD_DIR SECONDS_EACH [fuzz_bmp24 fuzz_bmp8]
set -uo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD_DIR SECONDS_EACH [TARGET...]" >&2
  exit 2
fi
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "$1" && pwd)
seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_bmp24 fuzz_bmp8)

# A 64 MiB quarantine instead of 256 still catches a use of any of the few buffers one decoding
# frees, and keeps the freed 128 KiB read batches warm: about 1.7 times the inputs a second.
export ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=64:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"

status=0
for target in "${targets[@]}"; do
  binary=$build_dir/fuzz/$target
  corpus=$build_dir/fuzz/corpus/$target
  artifacts=$build_dir/fuzz/artifacts/$target
  log=$build_dir/fuzz/$target.log
  if [ ! -x "$binary" ]; then
    echo "error: $binary is missing; build it with -DORVESSA_FUZZ=ON" >&2
    exit 1
  fi
  mkdir -p "$corpus" "$artifacts"
  echo "== $target: ${seconds}s (log: $log)"
  # 64 KiB holds every header case and rows long enough to cross a read batch; a 2 GiB
  # ceiling leaves room for the largest legal picture (16384 x 16384, 768 MiB) twice over.
  "$binary" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
    -dict="$source_dir/fuzz/bmp.dict" -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" "$build_dir/fuzz/seeds" >"$log" 2>&1
  rc=$?
  if [ $rc -ne 0 ] ||
    grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|invariant broken' "$log"; then
    echo "error: $target failed (exit $rc); the end of its log:" >&2
    tail -n 40 "$log" >&2
    status=1
    continue
  fi
  grep -E '^#[0-9]+ +DONE|^Done [0-9]+ runs|stat::number_of_executed_units|stat::peak_rss_mb' "$log"
  echo "corpus: $(find "$corpus" -type f | wc -l) files"
done
exit $status
