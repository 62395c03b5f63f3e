#!/usr/bin/env bash
# Lines of test code against lines of program code (the project keeps tests at most about a third):
# all lines, and code lines (not blank, not only a comment).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# Every folder of program code: the top-level folders holding C++ sources, but for the tests and
# the benchmarks.
mapfile -t program_dirs < <(find . -mindepth 2 -maxdepth 2 -type f \( -name '*.cpp' -o -name '*.h' \) \
    -not -path './tests/*' -not -path './bench/*' -not -path './build*' -printf '%h\n' | sort -u)
sources() { find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) | sort; }
count() { # all lines, then code lines
    local files
    files=$(cat)
    [ -z "$files" ] && { echo "0 0"; return; }
    # shellcheck disable=SC2086
    echo "$(cat $files | wc -l) $(cat $files | grep -cvE '^\s*($|//)')"
}
read -r program_all program_code < <(sources "${program_dirs[@]}" | count)
read -r tests_all tests_code < <(sources tests | count)
printf 'program: %d lines (%d code)\ntests:   %d lines (%d code)\n' \
    "$program_all" "$program_code" "$tests_all" "$tests_code"
awk -v a="$tests_all" -v b="$program_all" -v c="$tests_code" -v d="$program_code" \
    'BEGIN { printf "tests / program: %.2f by lines, %.2f by code lines\n", a / b, c / d }'
