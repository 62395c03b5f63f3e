#!/usr/bin/env bash
# Applies each mutation of scripts/mutants.txt, one at a time, to a copy of the tree, builds it
# incrementally, runs the test suite, and prints which mutants survive (the suite must kill all).
# Usage: scripts/mutants.sh [WORK_DIR [LIST]]   (default /tmp/korveth-mutants, built there from
# scratch, and scripts/mutants.txt). Each mutated file is put back from the copy taken at the start,
# so the tree may be edited while a run goes on.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=${1:-/tmp/korveth-mutants}
list=$(realpath "${2:-$root/scripts/mutants.txt}")
jobs=$(nproc 2>/dev/null || echo 2)

rm -rf "$work" && mkdir -p "$work/tree" "$work/pristine"
(cd "$root" && git ls-files -z | xargs -0 cp --parents -t "$work/tree")
cp "$list" "$work/mutants.txt"
(cd "$work/tree" && cut -f1 "$work/mutants.txt" | grep -v '^#' | sort -u | xargs cp --parents -t "$work/pristine")
build="$work/tree/build"
cmake -S "$work/tree" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVETH_BENCH=OFF >/dev/null
if ! cmake --build "$build" -j "$jobs" >"$work/build.log" 2>&1; then
    echo "the unchanged tree does not build; see $work/build.log" >&2
    exit 2
fi

start=$SECONDS
killed=0
survivors=()
while IFS=$'\t' read -r file from to; do
    [[ -z "$file" || "$file" == \#* ]] && continue
    target="$work/tree/$file"
    if ! python3 - "$target" "$from" "$to" <<'PY'; then
import sys
path, old, new = sys.argv[1:]
text = open(path, encoding="utf-8").read()
if old not in text:
    sys.exit(1)
open(path, "w", encoding="utf-8").write(text.replace(old, new, 1))
PY
        echo "NOT FOUND  $file: $from"
        survivors+=("$file: $from (not found)")
        continue
    fi
    if ! cmake --build "$build" -j "$jobs" >"$work/mutant.log" 2>&1; then
        verdict="NO BUILD"
        survivors+=("$file: $from (does not build)")
    elif (cd "$build" && QT_QPA_PLATFORM=offscreen ctest -j "$jobs" --stop-on-failure \
            --timeout 600 >"$work/ctest.log" 2>&1); then
        verdict="SURVIVED"
        survivors+=("$file: $from")
    else
        verdict="killed"
        killed=$((killed + 1))
    fi
    printf '%-10s %s: %s\n' "$verdict" "$file" "$from"
    cp "$work/pristine/$file" "$target"
    touch "$target"
done <"$work/mutants.txt"

echo "$killed killed, ${#survivors[@]} not, in $((SECONDS - start)) s"
for s in "${survivors[@]}"; do echo "  $s"; done
[ ${#survivors[@]} -eq 0 ]
