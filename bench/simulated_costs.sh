#!/usr/bin/env bash
# Packs a fixed slice of the corpus with `arq raw-pack` under valgrind's
# cache and branch simulation and prints, per input byte, the instructions,
# the first-level data cache misses (read and write) and the mispredicted
# conditional branches. Unlike times, these counts do not move with other
# work on the machine, so a change to the encoder can be judged on a busy
# 2-core host; they are a model, though: confirm a gain with whole_min.sh.
# With BASE naming a second arq binary, both are run and their ratios
# printed (new / base; below 1 means fewer).
#
# Usage: bench/simulated_costs.sh [CORPUS_DIR] [SLICE_MB]
#   CORPUS_DIR as for compare.sh; SLICE_MB (default 4) megabytes taken from
#   1 MB into the corpus concatenated in name order, the order whole_min.sh
#   uses. ARQ names the arq binary, BASE the one to compare with. The first
#   level cache is modelled as 48 KiB, 12-way, and the last as 1 MiB.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
name=simulated_costs.sh
source "$repo/bench/corpus_and_arq.sh" "${1:-}"
slice_mb=${2:-4}
command -v valgrind >/dev/null || { echo "$name: valgrind missing" >&2; exit 2; }
[[ -z "${BASE:-}" || -x "$BASE" ]] || { echo "$name: $BASE is not a program" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat_corpus 2>/dev/null |
  tail -c +$((1024 * 1024 + 1)) | head -c $((slice_mb * 1024 * 1024)) >"$work/slice" || true
bytes=$(stat -c %s "$work/slice")

# Prints "instructions d1-read-misses d1-write-misses mispredicts" of one run.
costs() {
  valgrind --tool=cachegrind --cache-sim=yes --branch-sim=yes --D1=49152,12,64 \
    --LL=1048576,16,64 --cachegrind-out-file=/dev/null \
    "$1" raw-pack "$work/slice" "$work/packed" 2>&1 >/dev/null |
    awk '{ gsub(",", "") }
         /I +refs:/ { i = $4 }
         /D1 +misses:/ { r = $6; w = $9 }
         /Mispredicts:/ { m = $3 }
         END { print i, r, w, m }'
}

read -r ours_i ours_r ours_w ours_m < <(costs "$arq")
per_byte() { awk -v n="$1" -v b="$bytes" 'BEGIN { printf "%.2f", n / b }'; }
echo "$bytes bytes from the corpus; per input byte:"
printf '%-10s %13s %13s %13s %13s\n' binary instructions d1-read-miss d1-write-miss mispredicts
printf '%-10s %13s %13s %13s %13s\n' arq "$(per_byte "$ours_i")" "$(per_byte "$ours_r")" \
  "$(per_byte "$ours_w")" "$(per_byte "$ours_m")"
if [[ -n "${BASE:-}" ]]; then
  read -r base_i base_r base_w base_m < <(costs "$BASE")
  printf '%-10s %13s %13s %13s %13s\n' base "$(per_byte "$base_i")" "$(per_byte "$base_r")" \
    "$(per_byte "$base_w")" "$(per_byte "$base_m")"
  ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
  printf '%-10s %13s %13s %13s %13s\n' arq/base "$(ratio "$ours_i" "$base_i")" \
    "$(ratio "$ours_r" "$base_r")" "$(ratio "$ours_w" "$base_w")" "$(ratio "$ours_m" "$base_m")"
fi
