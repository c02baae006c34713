#!/usr/bin/env bash
# Guards the packed bytes against change: packs every corpus file with
# `arq raw-pack` and lists the sha256 of each packed output with the JSON line
# arq printed (method, sizes, CRC). With --check the list is compared with the
# committed one (bench/packed-hashes.txt) and any difference fails; with
# --write the committed list is replaced. Speed work on the encoder must keep
# the list identical.
#
# Usage: bench/packed_hashes.sh --check|--write|--print [CORPUS_DIR]
#   CORPUS_DIR as for compare.sh; ARQ names the arq binary. Files are packed
#   two at a time.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-}
[[ "$mode" == --check || "$mode" == --write || "$mode" == --print ]] ||
  { echo "usage: $0 --check|--write|--print [CORPUS_DIR]" >&2; exit 2; }
name=packed_hashes.sh
source "$repo/bench/corpus_and_arq.sh" "${2:-}"
list=$repo/bench/packed-hashes.txt

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One line per file: name, sha256 of the packed output, arq's JSON line.
pack_one() {
  local file=$1 name=${1#"$corpus"/} out
  out=$work/$(tr / _ <<<"$name")
  local line
  line=$("$arq" raw-pack "$file" "$out")
  printf '%s %s %s\n' "$name" "$(sha256sum "$out" | cut -d' ' -f1)" "$line"
  rm -f "$out"
}
export -f pack_one
export corpus arq work

find "$corpus" -type f ! -name README.md -print0 | LC_ALL=C sort -z |
  xargs -0 -n 1 -P 2 bash -c 'pack_one "$1"' - | LC_ALL=C sort >"$work/hashes"

case "$mode" in
  --print) cat "$work/hashes" ;;
  --write) cp "$work/hashes" "$list" && echo "packed_hashes.sh: wrote $(wc -l <"$list") hashes" ;;
  --check)
    if diff -u "$list" "$work/hashes" >"$work/diff"; then
      echo "packed_hashes.sh: all $(wc -l <"$list") packed outputs identical"
    else
      cat "$work/diff"
      echo "packed_hashes.sh: packed outputs differ" >&2
      exit 1
    fi
    ;;
esac
