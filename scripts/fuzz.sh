#!/usr/bin/env bash
# Builds the libFuzzer targets (build-fuzz/) and runs each for SECONDS
# (default 60), one after the other; names after SECONDS pick the targets.
# A crash, leak, timeout or sanitizer report fails the script; its reproducer
# is copied to fuzz/regressions/, where the normal build's ctest runs it from
# then on.
#
# scripts/fuzz.sh --fixed [TARGET...] is the CI pass: each target starts from
# its seeds alone with a fixed random seed and a fixed number of inputs, so a
# run gives the same inputs on every machine and its verdict can be checked
# here before a submission. New ground is found by the timed runs, whose
# corpora are kept in build-fuzz/corpus between runs.
set -uo pipefail
cd "$(dirname "$0")/.."
fixed=0
if [ "${1:-}" = "--fixed" ]; then
  fixed=1
  seconds=300  # a cap only; the input counts below end each run well before it
  shift
else
  seconds="${1:-60}"
  [ "$#" -gt 0 ] && shift
fi
targets=(whole_run command_parsers editing_commands saved_log rule_round_trip)
[ "$#" -gt 0 ] && targets=("$@")
# Inputs per target in the fixed pass: about a minute each on this machine.
declare -A fixed_runs=([whole_run]=100000 [command_parsers]=800000 [editing_commands]=400000
  [saved_log]=50000 [rule_round_trip]=200000)

cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz -j 2 --target "${targets[@]/%/_fuzz}" || exit 1

failed=0
shm=/dev/shm
[ -d "$shm" ] && [ -w "$shm" ] || shm="${TMPDIR:-/tmp}"
source_dir="$PWD"
for target in "${targets[@]}"; do
  findings="build-fuzz/findings/$target"
  rm -rf "$findings"
  mkdir -p "$findings"
  if [ "$fixed" -eq 1 ]; then
    # Everything the target sees stays the same from one machine and checkout
    # to the next: the folders and names it is given (it runs inside a folder
    # of fixed name, through links), the run date, the environment, Qt's hash
    # seed and the addresses; each reaches the code under test, and with it
    # what the fuzzer learns. Where the machine refuses fixed addresses, the
    # pass still does without the operands of compares that the fuzzer
    # records, which carry addresses into its mutations most directly (the
    # dictionary still gives the markers); some targets then differ a little.
    work="$shm/webquill-fuzz-fixed"
    rm -rf "$work" && mkdir -p "$work/corpus" "$work/files" "$work/findings"
    ln -s "$source_dir/build-fuzz/fuzz/${target}_fuzz" "$work/fuzz"
    ln -s "$source_dir/fuzz/seeds/$target" "$work/seeds"
    ln -s "$source_dir/fuzz/webquill.dict" "$work/dict"
    launch=(env -i PATH=/usr/bin:/bin SOURCE_DATE_EPOCH=1000000000 TZ=UTC QT_HASH_SEED=0
      WEBQUILL_FUZZ_DIR="$work/files")
    setarch "$(uname -m)" -R true 2>/dev/null && launch+=(setarch "$(uname -m)" -R)
    args=(./fuzz corpus seeds -dict=dict -seed=1 -runs="${fixed_runs[$target]}" -reload=0 -use_cmp=0
      -max_total_time="$seconds" -artifact_prefix=findings/)
    echo "== fuzzing $target: ${fixed_runs[$target]} inputs from seed 1"
  else
    work="$(mktemp -d "$shm/webquill-fuzz.XXXXXX")"
    mkdir -p "build-fuzz/corpus/$target" "$work/files" "$work/findings"
    launch=(env WEBQUILL_FUZZ_DIR="$work/files")
    args=("$source_dir/build-fuzz/fuzz/${target}_fuzz" "$source_dir/build-fuzz/corpus/$target"
      "$source_dir/fuzz/seeds/$target" -dict="$source_dir/fuzz/webquill.dict" -max_total_time="$seconds"
      -artifact_prefix="$work/findings/")
    echo "== fuzzing $target for $seconds s"
  fi
  (cd "$work" && nice -n 19 "${launch[@]}" "${args[@]}" -timeout=10 \
    -rss_limit_mb=3072 -max_len=16384 -print_final_stats=1 2>&1) | tail -n 40
  status="${PIPESTATUS[0]}"
  cp "$work/findings"/* "$findings/" 2>/dev/null
  rm -rf "$work"
  if [ "$status" -ne 0 ]; then
    failed=1
    mkdir -p "fuzz/regressions/$target"
    cp "$findings"/* "fuzz/regressions/$target/" 2>/dev/null
    echo "fuzz: $target found a fault; its reproducer is in fuzz/regressions/$target/" >&2
  fi
done
exit "$failed"
