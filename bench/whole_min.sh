#!/usr/bin/env bash
# The whole corpus as one file, packed and unpacked by arq beside gzip and
# libdeflate-gzip (packed with a thread per core and with one, which must
# give the same bytes), each command run RUNS times in turn; prints the least
# processor time (user + system) and the least wall time of each, their
# ratios (theirs / ours: above 1 means arq is faster) and each command's
# largest resident memory. The least of several runs is the figure that other
# work on a shared machine disturbs least: a disturbance only adds time, so
# the quickest run is the one nearest the program's own cost. Runs alternate
# between the commands, so a slow spell hits all of them alike.
#
# Usage: bench/whole_min.sh [CORPUS_DIR] [RUNS]
#   CORPUS_DIR as for compare.sh; RUNS defaults to 9. ARQ names the arq binary.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
name=whole_min.sh
source "$repo/bench/corpus_and_arq.sh" "${1:-}"
runs=${2:-9}
tools=(gzip libdeflate-gzip /usr/bin/time)
source "$repo/bench/whole_corpus.sh"

commands=(
  "arq raw-pack|\"\$arq\" raw-pack \"\$work/all\" \"\$work/p.arq\""
  "arq raw-pack -t1|\"\$arq\" raw-pack --threads 1 \"\$work/all\" \"\$work/p1.arq\""
  "gzip -6|gzip -6 -c \"\$work/all\" >\"\$work/p.gz\""
  "libdeflate-gzip -6|libdeflate-gzip -6 -c \"\$work/all\" >\"\$work/p.ld.gz\""
  "arq raw-unpack|\"\$arq\" raw-unpack \"\$work/all.arq\" \"\$work/u.arq\" --size $bytes"
  "gzip -d|gzip -dc \"\$work/all.gz\" >\"\$work/u.gz\""
  "libdeflate-gzip -d|libdeflate-gzip -dc \"\$work/all.gz\" >\"\$work/u.ld\""
)
declare -A cpu wall memory
export arq work
for ((run = 0; run < runs; ++run)); do
  for entry in "${commands[@]}"; do
    label=${entry%%|*}
    # user, system and wall seconds
    read -r user system elapsed < <({ TIMEFORMAT='%3U %3S %3R'; time sh -c "{ ${entry#*|}; } >/dev/null"; } 2>&1)
    time_ns=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.0f", (u + s) * 1e9 }')
    wall_ns=$(awk -v e="$elapsed" 'BEGIN { printf "%.0f", e * 1e9 }')
    if [[ -z "${cpu[$label]:-}" ]] || ((time_ns < cpu[$label])); then cpu[$label]=$time_ns; fi
    if [[ -z "${wall[$label]:-}" ]] || ((wall_ns < wall[$label])); then wall[$label]=$wall_ns; fi
  done
done
for entry in "${commands[@]}"; do
  memory[${entry%%|*}]=$(/usr/bin/time -f %M sh -c "{ ${entry#*|}; } >/dev/null" 2>&1 | tail -1)
done
cmp -s "$work/all" "$work/u.arq" || { echo "$name: the corpus does not come back whole" >&2; exit 1; }
cmp -s "$work/p.arq" "$work/p1.arq" || { echo "$name: threads packed other bytes than one" >&2; exit 1; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
echo "all $(find "$corpus" -type f ! -name README.md | wc -l) files, $bytes bytes; least of $runs runs"
printf '%-20s %10s %10s %12s\n' command cpu-s wall-s max-rss-KiB
for entry in "${commands[@]}"; do
  label=${entry%%|*}
  printf '%-20s %10.3f %10.3f %12s\n' "$label" "$(ratio "${cpu[$label]}" 1e9)" \
    "$(ratio "${wall[$label]}" 1e9)" "${memory[$label]}"
done
for ours in "arq raw-pack" "arq raw-pack -t1" "arq raw-unpack"; do
  [[ $ours == *pack* && $ours != *unpack* ]] && peers=("gzip -6" "libdeflate-gzip -6") ||
    peers=("gzip -d" "libdeflate-gzip -d")
  for peer in "${peers[@]}"; do
    echo "$ours vs $peer: cpu $(ratio "${cpu[$peer]}" "${cpu[$ours]}")x, wall $(ratio "${wall[$peer]}" "${wall[$ours]}")x"
  done
done
