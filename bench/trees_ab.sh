#!/usr/bin/env bash
# Whole archives of each corpus tree made by two arq binaries and by
# tar -czf, one after the other and in turn, ROUNDS times: prints each
# one's least and median wall time per tree, then the sums over the trees
# and tar's sum over each binary's (above 1: arq is faster). Wall time of
# threaded work moves by a tenth or more between runs on a shared host;
# taking the three in turn lets both binaries see the same spells, so a
# change of a few per cent to `arq a` shows where two compare.sh runs
# cannot tell it. Checks that both binaries make the same archive.
#
# Usage: bench/trees_ab.sh BASE [CORPUS_DIR] [ROUNDS]
#   BASE is the arq binary to compare with; ARQ names the new one (default
#   the default build's). ROUNDS defaults to 9; THREADS (default 2) is
#   arq's --threads.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
name=trees_ab.sh
base=${1:?usage: bench/trees_ab.sh BASE [CORPUS_DIR] [ROUNDS]}
source "$repo/bench/corpus_and_arq.sh" "${2:-}"
rounds=${3:-9}
threads=${THREADS:-2}
[[ -x "$base" ]] || { echo "$name: $base is not a program" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Milliseconds of wall time the command takes.
wall_ms() {
  local start end
  start=$(date +%s%N)
  "$@"
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

add() { rm -f "$work/$2.arq" && "$1" a "$work/$2.arq" -q --threads "$threads" -C "$3" '*.*'; }

printf '%-12s %14s %14s %14s\n' "arq a, $threads threads" base new "tar -czf"
printf '%-12s %14s %14s %14s\n' "least/median" ms ms ms
declare -A sums=()
for tree in "$corpus"/*/; do
  tree=${tree%/}
  declare -A times=([base]='' [new]='' [tar]='')
  for ((round = 0; round < rounds; ++round)); do
    times[base]+=$(wall_ms add "$base" base "$tree")$'\n'
    times[new]+=$(wall_ms add "$arq" new "$tree")$'\n'
    times[tar]+=$(wall_ms tar -czf "$work/tree.tgz" -C "$tree" .)$'\n'
  done
  cmp -s "$work/base.arq" "$work/new.arq" || echo "$name: ${tree##*/}: the archives differ" >&2
  row=()
  for who in base new tar; do
    least=$(rank "${times[$who]}" 0)
    median=$(rank "${times[$who]}" 0.5)
    sums[$who.least]=$((${sums[$who.least]:-0} + least))
    sums[$who.median]=$((${sums[$who.median]:-0} + median))
    row+=("$least/$median")
  done
  printf '%-12s %14s %14s %14s\n' "${tree##*/}" "${row[@]}"
done
printf '%-12s %14s %14s %14s\n' TOTAL "${sums[base.least]}/${sums[base.median]}" \
  "${sums[new.least]}/${sums[new.median]}" "${sums[tar.least]}/${sums[tar.median]}"
for at in least median; do
  awk -v at="$at" -v b="${sums[base.$at]}" -v n="${sums[new.$at]}" -v t="${sums[tar.$at]}" \
    'BEGIN { printf "%s: tar -czf / base %.3f, tar -czf / new %.3f, base / new %.3f\n", at, t / b, t / n, b / n }'
done
