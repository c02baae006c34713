# Sourced by the bench scripts that work on the whole corpus as one file,
# after corpus_and_arq.sh: stops the script when a tool named in `tools` is
# missing, then makes `work` (removed on exit) holding `all` (the corpus
# concatenated, `bytes` long), `all.arq` (packed by arq) and `all.gz`
# (gzip -6).
for tool in "${tools[@]}"; do
  command -v "$tool" >/dev/null || { echo "$name: $tool missing" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat_corpus >"$work/all"
bytes=$(stat -c %s "$work/all")
"$arq" raw-pack "$work/all" "$work/all.arq" >/dev/null
gzip -6 -c "$work/all" >"$work/all.gz"
# On disk before any command is timed: reading pages still being written out
# costs some readers (those that map the file) more than others.
sync "$work/all" "$work/all.arq" "$work/all.gz"
