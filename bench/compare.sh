#!/usr/bin/env bash
# Side by side on the same files, in one run: arq raw-pack against gzip -6
# and libdeflate-gzip -6, arq raw-unpack against gzip -d and libdeflate-gzip
# -d, over the shared corpus; then whole archives: arq a against tar -czf
# (gzip -6) and tar with libdeflate-gzip -6 as its compressor, arq x against
# the same two unpacking; then the whole corpus as one file; last the
# optimal parse (--best) against the lazy one and gzip -9. Prints per
# file, per tree and in total the size ratio (ours / gzip's packed bytes)
# and the throughput ratios (theirs / ours in time; above 1 means arq is
# faster; the -ld columns against libdeflate), each the median of RUNS.
# Times are processor time (user + system), which other work on a shared
# machine disturbs far less than wall time; both sides write real files.
# raw-pack runs with one thread here (bench/whole_min.sh times its threads).
# A file that arq stores (incompressible, or on the store list) has no packed
# stream: its unpacking is a plain copy, timed as such and marked "stored".
#
# The tree rows run arq a and arq x with THREADS threads (default 2) and
# check that the archive is byte for byte the one-thread archive; since
# threads trade processor time for wall time, they give the wall-time
# ratios too (pack-wall, unpack-wall), which other work on the machine
# disturbs more.
#
# Usage: bench/compare.sh [CORPUS_DIR] [RUNS]
#   CORPUS_DIR defaults to the first shared/corpus found beside the checkout
#   or one of its parents; RUNS defaults to 3. ARQ names the arq binary
#   (default build/default/tools/arq/arq). ROWS=files, ROWS=trees,
#   ROWS=whole or ROWS=best runs only that part (default: all four). libdeflate-gzip
#   (Debian's libdeflate-tools) is installed when missing.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
name=compare.sh
source "$repo/bench/corpus_and_arq.sh" "${1:-}"
runs=${2:-3}
rows=${ROWS:-all}
threads=${THREADS:-2}
command -v gzip >/dev/null || { echo "compare.sh: gzip missing" >&2; exit 2; }
command -v tar >/dev/null || { echo "compare.sh: tar missing" >&2; exit 2; }
if ! command -v libdeflate-gzip >/dev/null; then
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    libdeflate-tools >/dev/null ||
    { echo "compare.sh: libdeflate-gzip missing (Debian package libdeflate-tools)" >&2; exit 2; }
fi
libdeflate_pack='libdeflate-gzip -6'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Median in nanoseconds of RUNS runs of the command, as bash's time gives
# it with the TIMEFORMAT FORMAT (the fields it prints are added).
median_time() {
  local format=$1 times=() seconds
  shift
  for ((run = 0; run < runs; ++run)); do
    seconds=$( { TIMEFORMAT=$format; time "$@" >/dev/null; } 2>&1)
    times+=($(awk '{ s = 0; for (i = 1; i <= NF; ++i) s += $i; printf "%.0f", s * 1e9 }' <<<"$seconds"))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

# Processor time (user + system, children included), and wall time.
median_ns() { median_time '%3U %3S' "$@"; }
median_wall_ns() { median_time '%3R' "$@"; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.3f", a / b; else printf "-" }'; }

mb_s() { awk -v b="$1" -v ns="$2" 'BEGIN { printf "%.1f MB/s", b / 1e6 / (ns / 1e9) }'; }

# Running totals of a table: bytes, packed bytes (ours, theirs), packing
# times (ours, theirs), unpacking times (ours, theirs), then libdeflate's
# packing and unpacking times.
totals=()
add_to_totals() {
  local i=0 value
  for value in "$@"; do
    totals[i]=$((${totals[i]:-0} + value))
    i=$((i + 1))
  done
}
# The ratios of the totals, as a table row's last five columns.
total_ratios() {
  echo "$(ratio "${totals[1]}" "${totals[2]}") $(ratio "${totals[4]}" "${totals[3]}") $(ratio "${totals[6]}" "${totals[5]}")" \
    "$(ratio "${totals[7]}" "${totals[3]}") $(ratio "${totals[8]}" "${totals[5]}")"
}
# Throughput and sizes of the totals: OURS-PACK PEER-PACK OURS-UNPACK PEER-UNPACK PEER.
total_speeds() {
  echo "$1: $(mb_s "${totals[0]}" "${totals[3]}"), $2: $(mb_s "${totals[0]}" "${totals[4]}"), libdeflate: $(mb_s "${totals[0]}" "${totals[7]}")"
  echo "$3: $(mb_s "${totals[0]}" "${totals[5]}"), $4: $(mb_s "${totals[0]}" "${totals[6]}"), libdeflate: $(mb_s "${totals[0]}" "${totals[8]}")"
  echo "packed bytes: arq ${totals[1]}, $5 ${totals[2]} (of ${totals[0]})"
}

row_format='%-44s %11s %7s %9s %9s %9s %9s %s\n'
table_head() { printf "$row_format" "$1" bytes size pack unpack pack-ld unpack-ld ""; }

# One file packed and unpacked by arq, gzip and libdeflate-gzip; prints its
# row and adds it to the totals.
compare_file() {
  local file=$1 name=$2 bytes line method ours theirs pack_ours pack_gzip pack_ld
  local unpack_ours unpack_gzip unpack_ld
  bytes=$(stat -c %s "$file")
  line=$("$arq" raw-pack "$file" "$work/packed")
  method=$(sed -n 's/.*"method":"\([a-z]*\)".*/\1/p' <<<"$line")
  ours=$(stat -c %s "$work/packed")
  gzip -6 -c "$file" >"$work/packed.gz"
  theirs=$(stat -c %s "$work/packed.gz")

  pack_ours=$(median_ns "$arq" raw-pack --threads 1 "$file" "$work/packed")
  pack_gzip=$(median_ns sh -c 'gzip -6 -c "$1" >"$2"' - "$file" "$work/packed.gz")
  pack_ld=$(median_ns sh -c "$libdeflate_pack"' -c "$1" >"$2"' - "$file" "$work/packed.ld.gz")
  if [[ "$method" == compressed ]]; then
    "$arq" raw-unpack "$work/packed" "$work/unpacked" --size "$bytes" >/dev/null
    unpack_ours=$(median_ns "$arq" raw-unpack "$work/packed" "$work/unpacked" --size "$bytes")
  else
    cp "$work/packed" "$work/unpacked"
    unpack_ours=$(median_ns cp "$work/packed" "$work/unpacked")
  fi
  cmp -s "$file" "$work/unpacked" || { echo "compare.sh: $name does not come back whole" >&2; exit 1; }
  unpack_gzip=$(median_ns sh -c 'gzip -dc "$1" >"$2"' - "$work/packed.gz" "$work/unpacked.gz")
  unpack_ld=$(median_ns sh -c 'libdeflate-gzip -dc "$1" >"$2"' - "$work/packed.gz" "$work/unpacked.gz")

  printf "$row_format" "$name" "$bytes" "$(ratio "$ours" "$theirs")" \
    "$(ratio "$pack_gzip" "$pack_ours")" "$(ratio "$unpack_gzip" "$unpack_ours")" \
    "$(ratio "$pack_ld" "$pack_ours")" "$(ratio "$unpack_ld" "$unpack_ours")" \
    "$([[ $method == stored ]] && echo stored)"
  add_to_totals "$bytes" "$ours" "$theirs" "$pack_ours" "$pack_gzip" "$unpack_ours" "$unpack_gzip" \
    "$pack_ld" "$unpack_ld"
}

compare_files() {
  table_head file
  totals=()
  while IFS= read -r file; do
    compare_file "$file" "${file#"$corpus"/}"
  done < <(find "$corpus" -type f ! -name README.md | LC_ALL=C sort)
  printf "$row_format" TOTAL "${totals[0]}" $(total_ratios)
  total_speeds "packing:   arq" "gzip -6" "unpacking: arq" "gzip -d" "gzip -6"
}

# The whole corpus as one file (every file in name order, concatenated).
compare_whole() {
  table_head concatenation
  totals=()
  cat_corpus >"$work/corpus.all"
  compare_file "$work/corpus.all" "all $(find "$corpus" -type f ! -name README.md | wc -l) files"
  rm -f "$work/corpus.all"
  total_speeds "packing:   arq" "gzip -6" "unpacking: arq" "gzip -d" "gzip -6"
}

# Whole archives, one per tree of the corpus: arq a -C TREE '*.*' against
# tar -czf and tar with libdeflate-gzip, arq x -o against tar -xzf and its
# libdeflate twin (each replaces what an earlier run extracted). Stored names are upper case in an archive, so the check
# compares each file with its upper-case name.
compare_trees() {
  echo "arq with --threads $threads; pack/unpack: processor time, pack-wall/unpack-wall: wall time"
  printf '%-14s %6s %11s %7s %9s %9s %9s %9s %9s %11s\n' tree files bytes size pack unpack pack-ld unpack-ld \
    pack-wall unpack-wall
  totals=()
  local tree name files bytes ours theirs pack_ours pack_tar unpack_ours unpack_tar pack_ld unpack_ld
  local pack_wall pack_tar_wall unpack_wall unpack_tar_wall
  for tree in "$corpus"/*/; do
    tree=${tree%/}
    name=${tree##*/}
    files=$(find "$tree" -type f | wc -l)
    bytes=$(find "$tree" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
    rm -f "$work/tree.arq" "$work/tree1.arq"
    "$arq" a "$work/tree.arq" -q --threads "$threads" -C "$tree" '*.*'
    "$arq" a "$work/tree1.arq" -q --threads 1 -C "$tree" '*.*'
    cmp -s "$work/tree.arq" "$work/tree1.arq" ||
      { echo "compare.sh: $name: the archive of $threads threads is not the one-thread archive" >&2; exit 1; }
    tar -czf "$work/tree.tgz" -C "$tree" .
    ours=$(stat -c %s "$work/tree.arq")
    theirs=$(stat -c %s "$work/tree.tgz")
    local pack=(sh -c 'rm -f "$1" && "$2" a "$1" -q --threads "$4" -C "$3" "*.*"' - "$work/tree.arq" "$arq" "$tree" "$threads")
    pack_ours=$(median_ns "${pack[@]}")
    pack_wall=$(median_wall_ns "${pack[@]}")
    pack_tar=$(median_ns tar -czf "$work/tree.tgz" -C "$tree" .)
    pack_tar_wall=$(median_wall_ns tar -czf "$work/tree.tgz" -C "$tree" .)
    pack_ld=$(median_ns tar --use-compress-program="$libdeflate_pack" -cf "$work/tree.ld.tgz" -C "$tree" .)
    rm -rf "$work/x-arq" "$work/x-tar" "$work/x-ld"
    mkdir -p "$work/x-tar" "$work/x-ld"
    local unpack=("$arq" x "$work/tree.arq" -q -o --threads "$threads" -d "$work/x-arq")
    unpack_ours=$(median_ns "${unpack[@]}")
    unpack_wall=$(median_wall_ns "${unpack[@]}")
    unpack_tar=$(median_ns tar -xzf "$work/tree.tgz" -C "$work/x-tar")
    unpack_tar_wall=$(median_wall_ns tar -xzf "$work/tree.tgz" -C "$work/x-tar")
    unpack_ld=$(median_ns tar --use-compress-program=libdeflate-gzip -xf "$work/tree.tgz" -C "$work/x-ld")
    while IFS= read -r file; do
      upper=$(tr '[:lower:]' '[:upper:]' <<<"${file#"$tree"/}")
      cmp -s "$file" "$work/x-arq/$upper" || { echo "compare.sh: $name/${file#"$tree"/} does not come back whole" >&2; exit 1; }
    done < <(find "$tree" -type f)
    printf '%-14s %6d %11d %7s %9s %9s %9s %9s %9s %11s\n' "$name" "$files" "$bytes" "$(ratio "$ours" "$theirs")" \
      "$(ratio "$pack_tar" "$pack_ours")" "$(ratio "$unpack_tar" "$unpack_ours")" \
      "$(ratio "$pack_ld" "$pack_ours")" "$(ratio "$unpack_ld" "$unpack_ours")" \
      "$(ratio "$pack_tar_wall" "$pack_wall")" "$(ratio "$unpack_tar_wall" "$unpack_wall")"
    add_to_totals "$bytes" "$ours" "$theirs" "$pack_ours" "$pack_tar" "$unpack_ours" "$unpack_tar" \
      "$pack_ld" "$unpack_ld" "$pack_wall" "$pack_tar_wall" "$unpack_wall" "$unpack_tar_wall"
  done
  printf '%-14s %6s %11d %7s %9s %9s %9s %9s %9s %11s\n' TOTAL "" "${totals[0]}" $(total_ratios) \
    "$(ratio "${totals[10]}" "${totals[9]}")" "$(ratio "${totals[12]}" "${totals[11]}")"
  total_speeds "arq a" "tar -czf" "arq x" "tar -xzf" "tar+gzip -6"
  echo "wall: arq a $(mb_s "${totals[0]}" "${totals[9]}"), tar -czf $(mb_s "${totals[0]}" "${totals[10]}")," \
    "arq x $(mb_s "${totals[0]}" "${totals[11]}"), tar -xzf $(mb_s "${totals[0]}" "${totals[12]}")"
}

# The optimal parse (raw-pack --best) beside the lazy one and gzip -9, per
# tree of the corpus and for the whole corpus as one file: packed bytes,
# best/lazy and best/gzip -9 size ratios, packing speeds in processor time,
# and the largest resident memory of one --best run in the row (the whole
# process, in KiB). Every --best stream is unpacked again and compared.
best_totals=()
best_row() {
  local name=$1 file bytes=0 lazy=0 best=0 gzip9=0 best_ns=0 lazy_ns=0 peak=0 rss line size
  shift
  for file in "$@"; do
    size=$(stat -c %s "$file")
    bytes=$((bytes + size))
    "$arq" raw-pack "$file" "$work/lazy" >/dev/null
    lazy=$((lazy + $(stat -c %s "$work/lazy")))
    rss=$( { /usr/bin/time -f %M "$arq" raw-pack --best "$file" "$work/best" >"$work/best.json"; } 2>&1)
    peak=$((rss > peak ? rss : peak))
    best=$((best + $(stat -c %s "$work/best")))
    gzip9=$((gzip9 + $(gzip -9 -c "$file" | wc -c)))
    if grep -q '"compressed"' "$work/best.json"; then
      "$arq" raw-unpack "$work/best" "$work/unpacked" --size "$size" >/dev/null
    else
      cp "$work/best" "$work/unpacked"
    fi
    cmp -s "$file" "$work/unpacked" || { echo "compare.sh: $file does not come back whole from --best" >&2; exit 1; }
    best_ns=$((best_ns + $(median_ns "$arq" raw-pack --best "$file" "$work/best")))
    lazy_ns=$((lazy_ns + $(median_ns "$arq" raw-pack --threads 1 "$file" "$work/lazy")))
  done
  printf '%-14s %6d %11d %11d %11d %11d %7s %7s %12s %12s %9d\n' "$name" $# "$bytes" "$lazy" "$best" "$gzip9" \
    "$(ratio "$best" "$lazy")" "$(ratio "$best" "$gzip9")" "$(mb_s "$bytes" "$best_ns")" \
    "$(mb_s "$bytes" "$lazy_ns")" "$peak"
  best_totals=("$bytes" "$lazy" "$best" "$gzip9" "$best_ns" "$lazy_ns")
}

compare_best() {
  printf '%-14s %6s %11s %11s %11s %11s %7s %7s %12s %12s %9s\n' tree files bytes lazy best gzip-9 \
    best/lz best/gz best-speed lazy-speed peak-KiB
  local tree sum=(0 0 0 0 0 0) i files=()
  for tree in "$corpus"/*/; do
    tree=${tree%/}
    mapfile -t files < <(find "$tree" -type f | LC_ALL=C sort)
    best_row "${tree##*/}" "${files[@]}"
    for i in 0 1 2 3 4 5; do sum[i]=$((sum[i] + best_totals[i])); done
  done
  printf '%-14s %6s %11d %11d %11d %11d %7s %7s %12s %12s\n' TOTAL "" "${sum[0]}" "${sum[1]}" "${sum[2]}" \
    "${sum[3]}" "$(ratio "${sum[2]}" "${sum[1]}")" "$(ratio "${sum[2]}" "${sum[3]}")" \
    "$(mb_s "${sum[0]}" "${sum[4]}")" "$(mb_s "${sum[0]}" "${sum[5]}")"
  cat_corpus >"$work/corpus.all"
  best_row "all $(find "$corpus" -type f ! -name README.md | wc -l) files" "$work/corpus.all"
  rm -f "$work/corpus.all"
}

part() {
  [[ "$rows" == all || "$rows" == "$1" ]] || return 0
  [[ -z "${printed:-}" ]] || echo
  printed=1
  "compare_$1"
}
part files
part trees
part whole
part best
