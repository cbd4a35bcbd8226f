#!/usr/bin/env bash
# Builds the libFuzzer targets (build-fuzz/) and runs each for SECONDS
# (default 60), one after the other; names after SECONDS pick the targets. A crash, leak, timeout or sanitizer
# report fails the script; its reproducer is copied to fuzz/regressions/,
# where the normal build's ctest runs it from then on.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
targets=(whole_run command_parsers editing_commands saved_log rule_round_trip)
[ "$#" -gt 1 ] && targets=("${@:2}")

cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz -j 2 --target "${targets[@]/%/_fuzz}" || exit 1

failed=0
shm=/dev/shm
[ -d "$shm" ] && [ -w "$shm" ] || shm="${TMPDIR:-/tmp}"
for target in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$target"
  findings="build-fuzz/findings/$target"
  rm -rf "$findings"
  mkdir -p "$corpus" "$findings"
  echo "== fuzzing $target for $seconds s"
  work="$(mktemp -d "$shm/webquill-fuzz.XXXXXX")"
  WEBQUILL_FUZZ_DIR="$work" nice -n 19 "build-fuzz/fuzz/${target}_fuzz" "$corpus" "fuzz/seeds/$target" \
    -dict=fuzz/webquill.dict -max_total_time="$seconds" -timeout=10 -rss_limit_mb=3072 \
    -max_len=16384 -print_final_stats=1 -artifact_prefix="$findings/" 2>&1 | tail -n 40
  status="${PIPESTATUS[0]}"
  rm -rf "$work"
  if [ "$status" -ne 0 ]; then
    failed=1
    mkdir -p "fuzz/regressions/$target"
    cp "$findings"/* "fuzz/regressions/$target/" 2>/dev/null
    echo "fuzz: $target found a fault; its reproducer is in fuzz/regressions/$target/" >&2
  fi
done
exit "$failed"
