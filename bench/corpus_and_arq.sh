# Sourced by the bench scripts: sets `corpus` to the folder given (may be
# empty) or else to the first shared/corpus beside the checkout or one of its
# parents, and `arq` to $ARQ or the default build's binary; stops the script
# when either is missing. Also gives the helpers below. Expects `repo` (the checkout) and `name` (the
# script's name, for messages).
corpus=${1:-}
if [[ -z "$corpus" ]]; then
  dir=$(dirname "$repo")
  while [[ "$dir" != / && -z "$corpus" ]]; do
    [[ -d "$dir/shared/corpus" ]] && corpus="$dir/shared/corpus"
    dir=$(dirname "$dir")
  done
fi
arq=${ARQ:-$repo/build/default/tools/arq/arq}
[[ -d "$corpus" ]] || { echo "$name: no corpus folder (give it as an argument)" >&2; exit 2; }
[[ -x "$arq" ]] || { echo "$name: $arq missing (run make build)" >&2; exit 2; }

# Prints every file of the corpus, concatenated in name order (the order
# the whole-corpus rows and the slices use).
cat_corpus() {
  find "$corpus" -type f ! -name README.md -print0 | LC_ALL=C sort -z | xargs -0 cat
}

# The value at fraction $2 of the sorted list $1 (one per line).
rank() { sort -n <<<"$1" | awk -v at="$2" 'NF { v[++n] = $1 } END { i = int(n * at + 0.999); print v[i < 1 ? 1 : i] }'; }
