#!/usr/bin/env bash
# Two arq binaries timed at once, one on each core, on the same slice of the
# corpus, the cores swapped every round; prints each round's processor times
# and the median of their ratios (new / base: below 1 means faster). On a
# shared 2-core host one binary's time moves by a tenth or more between
# runs a minute apart, and both halves of a pair see the same spell, so the
# ratio tells a change of a few per cent where times taken one after the
# other cannot. Needs taskset and two cores.
#
# Usage: bench/paired_times.sh BASE [CORPUS_DIR] [ROUNDS] [SLICE_MB]
#   BASE is the arq binary to compare with; ARQ names the new one (default
#   the default build's). ROUNDS defaults to 10, SLICE_MB to 30 (megabytes
#   of the corpus concatenated in name order). COMMAND is what both run on
#   the slice: "pack" (raw-pack --threads 1, the default) or "unpack"
#   (raw-unpack of the slice as BASE packs it). ALTERNATE=1 runs the two
#   one after the other on core 0 instead (the other core left idle; the
#   order swapped every round) and prints the least and the first quartile
#   of each one's times and their ratios: for spells when even the two
#   halves of a pair are disturbed unevenly (same-binary ratios spread by a
#   tenth either way).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
name=paired_times.sh
base=${1:?usage: bench/paired_times.sh BASE [CORPUS_DIR] [ROUNDS] [SLICE_MB]}
source "$repo/bench/corpus_and_arq.sh" "${2:-}"
rounds=${3:-10}
slice_mb=${4:-30}
command=${COMMAND:-pack}
[[ -x "$base" ]] || { echo "$name: $base is not a program" >&2; exit 2; }
command -v taskset >/dev/null || { echo "$name: taskset missing" >&2; exit 2; }
[[ $(nproc) -ge 2 ]] || { echo "$name: needs two cores" >&2; exit 2; }
[[ $command == pack || $command == unpack ]] || { echo "$name: COMMAND is pack or unpack" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat_corpus 2>/dev/null |
  head -c $((slice_mb * 1024 * 1024)) >"$work/slice" || true
bytes=$(stat -c %s "$work/slice")
"$base" raw-pack --threads 1 "$work/slice" "$work/slice.arq" >/dev/null

# Runs one binary on core $2, its output in $work/output-TAG, and writes its
# processor seconds (user and system, to the millisecond) to $3.
run_on() {
  local binary=$1 core=$2 out=$3 tag=$4 TIMEFORMAT='%3U %3S'
  local arguments=(raw-pack --threads 1 "$work/slice" "$work/output-$tag")
  [[ $command == pack ]] ||
    arguments=(raw-unpack "$work/slice.arq" "$work/output-$tag" --size "$bytes")
  { time taskset -c "$core" "$binary" "${arguments[@]}" >/dev/null; } 2>"$out.parts"
  awk '{ print $1 + $2 }' "$out.parts" >"$out"
}

# new / base, to three places.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b / a }'; }

check_outputs() {
  cmp -s "$work/output-base" "$work/output-new" || echo "$name: the ${command}ed bytes differ" >&2
}

echo "$command, $bytes bytes, $rounds rounds; processor seconds"
if [[ ${ALTERNATE:-0} == 1 ]]; then
  base_times='' new_times=''
  for ((round = 0; round < rounds; ++round)); do
    if ((round % 2 == 0)); then
      run_on "$base" 0 "$work/base.time" base
      run_on "$arq" 0 "$work/new.time" new
    else
      run_on "$arq" 0 "$work/new.time" new
      run_on "$base" 0 "$work/base.time" base
    fi
    base_times+=$(<"$work/base.time")$'\n'
    new_times+=$(<"$work/new.time")$'\n'
  done
  check_outputs
  for at in least:0 quartile:0.25; do
    b=$(rank "$base_times" "${at#*:}")
    n=$(rank "$new_times" "${at#*:}")
    echo "${at%:*} base $b  new $n  new/base $(ratio "$b" "$n")"
  done
  exit 0
fi
ratios=''
for ((round = 0; round < rounds; ++round)); do
  run_on "$base" $((round % 2)) "$work/base.time" base &
  run_on "$arq" $((1 - round % 2)) "$work/new.time" new &
  wait
  base_s=$(<"$work/base.time")
  new_s=$(<"$work/new.time")
  ratio=$(ratio "$base_s" "$new_s")
  ratios+=$ratio$'\n'
  echo "base $base_s  new $new_s  new/base $ratio"
done
check_outputs
echo "median new/base: $(rank "$ratios" 0.5)"
