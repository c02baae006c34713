#!/usr/bin/env bash
# Runs fuzz targets of build/fuzz one after another, each for FUZZ_SECONDS,
# from its corpus (build/fuzz/corpus-TARGET) and its kept inputs
# (fuzz/seeds/TARGET); an input that finds a fault is left in
# build/fuzz/artifacts-TARGET/. Prints one summary line per target.
# Usage: fuzz/run.sh SECONDS TARGET...
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=$1
shift
status=0
for target in "$@"; do
  corpus=build/fuzz/corpus-$target
  artifacts=build/fuzz/artifacts-$target
  mkdir -p "$corpus" "$artifacts"
  seeds=()
  [[ -d fuzz/seeds/$target ]] && seeds=("fuzz/seeds/$target")
  log=build/fuzz/$target.log
  ./build/fuzz/fuzz/"$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" "${seeds[@]}" >"$log" 2>&1
  result=$?
  [[ $result -eq 0 ]] || status=1
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  coverage=$(grep -E '^#[0-9]+[[:space:]]+(DONE|INITED)' "$log" | tail -1 | grep -o 'cov: [0-9]*' || true)
  echo "$target: exit $result, ${runs:-?} runs in ${seconds}s, ${coverage:-cov: ?}," \
    "corpus $(ls "$corpus" | wc -l), findings $(ls "$artifacts" | wc -l) (log: $log)"
done
exit $status
