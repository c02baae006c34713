# Sourced by the bench scripts: sets `corpus` to the folder given (may be
# empty) or else to the first shared/corpus beside the checkout or one of its
# parents, and `arq` to $ARQ or the default build's binary; stops the script
# when either is missing. Expects `repo` (the checkout) and `name` (the
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
