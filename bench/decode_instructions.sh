#!/usr/bin/env bash
# The whole corpus as one file, unpacked by arq raw-unpack and by
# libdeflate-gzip -d under callgrind: the instructions each process runs,
# and their ratio (theirs / ours: above 1 means arq runs fewer). Unlike
# times, the counts do not move when other work shares the machine, so they
# tell a small change in the decoder apart from noise.
#
# Usage: bench/decode_instructions.sh [CORPUS_DIR]
#   CORPUS_DIR as for compare.sh. ARQ names the arq binary.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
name=decode_instructions.sh
source "$repo/bench/corpus_and_arq.sh" "${1:-}"
tools=(gzip libdeflate-gzip valgrind)
source "$repo/bench/whole_corpus.sh"

# Instructions of one command whose standard output goes to the file $1,
# from callgrind's summary line.
instructions() {
  local out=$1
  shift
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >"$out" |
    sed -n 's/.*Collected : *\([0-9]*\).*/\1/p'
}
ours=$(instructions /dev/null "$arq" raw-unpack "$work/all.arq" "$work/u.arq" --size "$bytes")
theirs=$(instructions "$work/u.ld" libdeflate-gzip -dc "$work/all.gz")
for unpacked in u.arq u.ld; do
  cmp -s "$work/all" "$work/$unpacked" || { echo "$name: $unpacked is not the corpus" >&2; exit 1; }
done

echo "all $(find "$corpus" -type f ! -name README.md | wc -l) files, $bytes bytes"
printf '%-20s %15s\n' command instructions "arq raw-unpack" "$ours" "libdeflate-gzip -d" "$theirs"
awk -v o="$ours" -v t="$theirs" 'BEGIN { printf "unpack vs libdeflate-gzip -d: instructions %.3fx\n", t / o }'
