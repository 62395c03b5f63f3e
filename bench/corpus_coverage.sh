#!/usr/bin/env bash
# How far the dry run takes real scripts: every script of the corpus beside the project is run by
# korveth-run against a game log, and the runs are counted by how they end. "ended" (exit or the
# script's end), "log-ran-out" (the script waited for more game text) and "endless-loop" or
# "step-limit" on a loop that waits for nothing are ends the script makes; "cannot-know" (a
# global, command or function nobody gave), "missing-label" and the rest are stops, each counted
# by its kind and, for cannot-know, by what was unknown.
# Usage: bench/corpus_coverage.sh [BUILD_DIR] [LOG]
#   LOG: a game log (by default one written by korveth-make-script: generated game-like lines).
set -euo pipefail
build=${1:-build}
corpus=$(dirname "$0")/../../shared/corpus
[[ -d $corpus ]] || { echo "skipped: no corpus beside the project"; exit 0; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
log=${2:-}
if [[ -z $log ]]; then
    log=$out/game.log
    "$build/bin/korveth-make-script" log 2000 "$log"
fi
while IFS= read -r -d '' script; do
    kind=$(timeout 20 "$build/bin/korveth-run" --quiet --max-steps 200000 --log "$log" "$script" 2>/dev/null \
        | sed -nE 's/^[^:]+:[0-9]+: ([a-z-]+): ?(.*)$/\1\t\2/p' | head -1 || true)
    [[ -z $kind ]] && kind=$'bad-input\t'
    printf '%s\n' "$kind"
done < <(find "$corpus" -type f \( -iname '*.cmd' -o -iname '*.wiz' \) -print0) >"$out/ends"
total=$(wc -l <"$out/ends")
made=$(cut -f1 "$out/ends" | grep -cxE 'ended|log-ran-out|endless-loop|step-limit' || true)
printf '%d scripts: %d (%.0f%%) end as the script makes them end\n' "$total" "$made" \
    "$(echo "100*$made/$total" | bc -l)"
cut -f1 "$out/ends" | sort | uniq -c | sort -rn
echo "cannot-know, by what was unknown (first 15):"
grep '^cannot-know' "$out/ends" | cut -f2 | sed -E 's/\$[A-Za-z0-9_.]+ was never given/a $ global never given/' \
    | sort | uniq -c | sort -rn | head -15
