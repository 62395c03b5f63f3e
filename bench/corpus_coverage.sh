#!/usr/bin/env bash
# How far the dry run takes real scripts: every script of the corpus beside the project is run by
# korveth-run against a game log, and the runs are counted by how they end. "ended" (exit or the
# script's end), "log-ran-out" (the script waited for more game text) and "endless-loop" or
# "step-limit" on a loop that waits for nothing are ends the script makes; "cannot-know" (a
# global, command or function nobody gave), "missing-label" and the rest are stops, each counted
# by its kind. A stop is the dry run's own gap unless it is on an input nobody gave or on a
# mistake the checker reports at the same line.
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
    stop=$(timeout 20 "$build/bin/korveth-run" --quiet --max-steps 200000 --log "$log" "$script" 2>/dev/null \
        | sed -nE 's/^(.+):([0-9]+): ([a-z-]+): ?(.*)$/\3\t\1\t\2\t\4/p' | tail -1 || true)
    [[ -z $stop ]] && stop=$'bad-input\t\t\t'
    IFS=$'\t' read -r kind file line why <<<"$stop"
    case $kind in
    ended | log-ran-out | endless-loop | step-limit) end=script ;;
    *)
        if [[ $kind == cannot-know && $why == *"was never given"* ]]; then
            end=input
        elif [[ -n $file ]] && mistakes=$("$build/bin/korveth-check" --format gcc --dialect auto "$script" 2>/dev/null || true) \
            && grep -qF -- "/$file:$line:" <<<"$mistakes"; then
            end=checker
        else
            end=gap
        fi
        ;;
    esac
    printf '%s\t%s\t%s\t%s:%s\n' "$end" "$kind" "$why" "$file" "$line"
done < <(find "$corpus" -type f \( -iname '*.cmd' -o -iname '*.wiz' \) -print0) >"$out/ends"
total=$(wc -l <"$out/ends")
count() { grep -c "^$1"$'\t' "$out/ends" || true; }
script=$(count script) input=$(count input) checker=$(count checker) gap=$(count gap)
percent() { echo "scale=1; 100*$1/$total" | bc -l; }
echo "$total scripts against $(wc -l <"$log") log lines:"
printf '  %4d (%s%%) end as the script makes them end\n' "$script" "$(percent "$script")"
printf '  %4d (%s%%) stop on an input nobody gave (a global, an argument)\n' "$input" "$(percent "$input")"
printf '  %4d (%s%%) stop on a mistake the checker reports at that line too\n' "$checker" "$(percent "$checker")"
printf '  %4d (%s%%) stop on the dry run'"'"'s own gaps\n' "$gap" "$(percent "$gap")"
printf 'together, the first three: %s%%\n' "$(percent $((script + input + checker)))"
echo "by how they end:"
cut -f2 "$out/ends" | sort | uniq -c | sort -rn
echo "the gaps, by why:"
grep $'^gap\t' "$out/ends" | cut -f2,3 | sed -E 's/[A-Za-z0-9_.]+\.(js|cmd|wiz)/FILE/g' | sort | uniq -c | sort -rn | head -20
echo "the gaps, where:"; grep $'^gap\t' "$out/ends" | cut -f4 | head -30 | paste -sd" "
