#!/usr/bin/env bash
# Times korveth-check on generated 1M- and 2M-line scripts against `LC_ALL=C wc -w` (best of
# five runs each).
# Usage: bench/cli_vs_wc.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

source "$(dirname "$0")/best_of_five.sh"

for lines in 1000000 2000000; do
    "$build/bin/korveth-make-script" realistic "$lines" "$out/s.cmd"
    size=$(stat -c %s "$out/s.cmd")
    wc_s=$(seconds env LC_ALL=C wc -w "$out/s.cmd")
    printf '%8d lines %6.1f MB: wc -w %.3f s\n' "$lines" "$(echo "$size/1000000" | bc -l)" "$wc_s"
    for dialect in classic modern; do
        rep_s=$(seconds "$build/bin/korveth-check" --dialect "$dialect" "$out/s.cmd")
        gcc_s=$(seconds "$build/bin/korveth-check" --dialect "$dialect" --format gcc "$out/s.cmd")
        printf '    %-7s report %.3f s (%.1fx), gcc %.3f s (%.1fx)' "$dialect" \
            "$rep_s" "$(echo "$rep_s/$wc_s" | bc -l)" "$gcc_s" "$(echo "$gcc_s/$wc_s" | bc -l)"
        # Against the 1M-line times: how the time grows with the script.
        if [ "$lines" = 1000000 ]; then
            eval "one_${dialect}_rep=$rep_s one_${dialect}_gcc=$gcc_s"
        else
            eval "r1=\$one_${dialect}_rep g1=\$one_${dialect}_gcc"
            printf '; %.2fx and %.2fx the 1M times' "$(echo "$rep_s/$r1" | bc -l)" "$(echo "$gcc_s/$g1" | bc -l)"
        fi
        printf '\n'
    done
done
# Dense with jumps: 1,000,000 lines, a label every fourth line (250,000), the rest mostly
# `match Lnnn You see nothing` and `goto Lnnn` to labels anywhere in the script.
awk 'BEGIN { srand(2); for (i = 0; i < 1000000; i++) { r = rand();
             if (i % 4 == 0) printf "L%d:\n", i / 4;
             else if (r < 0.4) printf "match L%d You see nothing\n", int(rand() * 250000);
             else if (r < 0.8) printf "goto L%d\n", int(rand() * 250000);
             else print "put look" } }' > "$out/l.cmd"
wc_s=$(seconds env LC_ALL=C wc -w "$out/l.cmd")
printf 'label-dense, 1M lines, 250,000 labels: wc -w %.3f s' "$wc_s"
for dialect in classic modern; do
    gcc_s=$(seconds "$build/bin/korveth-check" --dialect "$dialect" --format gcc "$out/l.cmd")
    printf '; %s gcc %.3f s (%.1fx)' "$dialect" "$gcc_s" "$(echo "$gcc_s/$wc_s" | bc -l)"
done
printf '\n'
printf 'crafted labels (5,000 labels sharing a 32-character ending, 80,000 gotos to missing names): '
awk 'BEGIN { s = "_abcdefghijklmnopqrstuvwxyz012345"; for (i = 0; i < 5000; i++) printf "l%d%s:\r\n", i, s;
             for (i = 0; i < 80000; i++) printf "goto m%d%s\r\n", i, s }' > "$out/c.cmd"
printf 'korveth-check %.3f s\n' "$(seconds "$build/bin/korveth-check" --format gcc "$out/c.cmd")"
"$build/bin/korveth-make-script" gotos 600000 "$out/g.cmd"
printf 'goto storm (200k gotos to 200k labels): korveth-check %.3f s\n' "$(seconds "$build/bin/korveth-check" "$out/g.cmd")"
