#!/usr/bin/env bash
# The editor beside what a player would pick instead (geany, featherpad: those installed), all on
# the same corpus-made scripts, in one run on a private X display under openbox:
#   - open: seconds from start until the window shows the file's name (the median of five starts),
#     and the peak memory (VmHWM), beside the editor's peak with a one-line script;
#   - keys: CPU seconds (user + system) the editor spends on 200 keys typed at the end of the
#     script (and in the 2 s after: a check once typing rests counts), and on 200 PageDown from
#     the top; each the median of seven rounds, with the fastest and slowest round beside it;
#   - jump: CPU seconds for Ctrl+End.
# The editors of one script are open together and take their rounds in turn, so that each round of
# ours has a round of each peer's beside it, seconds apart: the work of other programs on the machine
# comes and goes over minutes and made whole runs disagree by up to 90%. The ratios of each pair of
# rounds are what is compared (their median, with the range).
# Scripts: 50 MB made by repeating the corpus's UTF-8 scripts (LF), the same with CR LF, the same
# with 64 Windows-1252 bytes in ASCII lines, and 5 MB of it (live mistakes: the corpus uses
# commands of several dialects). Nothing of the corpus is kept: the files live in a temporary
# folder.
# Then the 5 MB script again with our mistakes as one types switched off (small-plain: what the
# live check costs), and our opening of the three 50 MB scripts in turn, five rounds (encodings).
# Usage: bench/side_by_side.sh [BUILD_DIR [FILE...]]
#        FILE: utf8, crlf, w1252, small, small-plain or encodings (all by default)
#        KORVETH_SIDE_EDITORS="korveth geany" limits the editors.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
shift || true
files=("$@")
[ ${#files[@]} -gt 0 ] || files=(utf8 crlf w1252 small small-plain encodings)
corpus=$(cd "$(dirname "$0")/../../shared/corpus" 2>/dev/null && pwd) || { echo "skipped: no corpus beside the project"; exit 0; }
for tool in xvfb-run openbox xdotool; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 0; }
done
work=$(mktemp -d /tmp/korveth-side.XXXXXX)
trap 'rm -rf "$work"' EXIT
python3 - "$corpus" "$work" <<'PY'
import os, random, sys
corpus, out = sys.argv[1], sys.argv[2]
parts = []
for d, _, fs in os.walk(corpus):
    for f in sorted(fs):
        if not f.lower().endswith(('.cmd', '.wiz')):
            continue
        b = open(os.path.join(d, f), 'rb').read()
        if b.startswith((b'\xff\xfe', b'\xef\xbb\xbf')):
            continue
        try:
            b.decode('utf-8')
        except UnicodeDecodeError:
            continue
        b = b.replace(b'\r\n', b'\n').replace(b'\r', b'\n')
        parts.append(b if b.endswith(b'\n') else b + b'\n')
blob = b''.join(parts)
def sized(mb):
    data = (blob * (mb * 1024 * 1024 // len(blob) + 1))[: mb * 1024 * 1024]
    return data[: data.rfind(b'\n') + 1]
big = sized(50)
open(f'{out}/utf8.cmd', 'wb').write(big)
open(f'{out}/crlf.cmd', 'wb').write(big.replace(b'\n', b'\r\n'))
lines = [l for l in big.split(b'\n') if all(c < 0x80 for c in l)]
random.seed(1)
for i in random.sample(range(len(lines)), 64):
    lines[i] += b' don\x92t'
open(f'{out}/w1252.cmd', 'wb').write(b'\n'.join(lines))
open(f'{out}/small.cmd', 'wb').write(sized(5))
PY
{
    echo "korveth $build/bin/korveth-editor"
    command -v geany >/dev/null && echo "geany geany --new-instance --no-session --no-plugins"
    command -v featherpad >/dev/null && echo "featherpad featherpad --standalone"
} | while read -r name command; do
    if [[ " ${KORVETH_SIDE_EDITORS:-$name} " == *" $name "* ]]; then echo "$name $command"; fi
done >"$work/editors"
export HOME=$work XDG_RUNTIME_DIR=$work
unset QT_QPA_PLATFORM
cat >"$work/measure.sh" <<'SH'
#!/bin/bash
# measure.sh EDITORS FILE [empty]: for each editor, NAME FILE open peak jump keys pagedown; then our
# ratios. With empty, only the peak after opening.
editors=$1 file=$2 base=$(basename "$2")
# CPU nanoseconds: the scheduler's count for each thread, finer than the kernel's 10 ms ticks of
# user and system time (6 or 7 for 200 keys). Counted per thread, as a pool's thread that ends after
# a rest takes its whole count away from a sum. The ticks count threads that ended too: where they
# say more, a thread ended during the round and they are taken instead.
cpu() {
    printf '%s' "$(awk '{print $14 + $15}' "/proc/$1/stat")"
    for task in /proc/"$1"/task/*; do
        printf ' %s=%s' "${task##*/}" "$(cut -d' ' -f1 "$task/schedstat" 2>/dev/null)"
    done
    echo
}
seconds() {
    echo "$1|$2|$(getconf CLK_TCK)" | awk -F'|' '{
        n = split($1, a, " "); for (i = 2; i <= n; i++) { split(a[i], kv, "="); before[kv[1]] = kv[2] }
        m = split($2, b, " "); ns = 0
        for (i = 2; i <= m; i++) { split(b[i], kv, "="); ns += kv[2] - (kv[1] in before ? before[kv[1]] : 0) }
        ns /= 1e9; ticks = (b[1] - a[1]) / $3
        print (ticks > ns + 0.02 ? ticks : ns) }'
}
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {printf "%.3f (%.3f-%.3f)", v[int((NR + 1) / 2)], v[1], v[NR]}'; }
ratios() { # ratios A... / B... pairwise
    local -a a=($1) b=($2) r=()
    for i in "${!a[@]}"; do r+=("$(echo "${a[$i]} ${b[$i]}" | awk '{printf "%.3f", ($2 > 0 ? $1 / $2 : 0)}')"); done
    median "${r[@]}"
}
declare -A pid win opens keys pages jump
names=()
launch() { # NAME COMMAND...: starts the editor on the file, returns seconds until its window shows the file
    local name=$1; shift
    local start; start=$(date +%s.%N)
    "$@" "$file" >/dev/null 2>&1 &
    pid[$name]=$!
    win[$name]=
    for _ in $(seq 3000); do
        win[$name]=$(xdotool search --all --onlyvisible --pid "${pid[$name]}" --name "$base" 2>/dev/null | head -1)
        [ -n "${win[$name]}" ] && break
        sleep 0.01
    done
    opens[$name]+="$(echo "$(date +%s.%N) - $start" | bc) "
}
quit() { kill "${pid[$1]}" 2>/dev/null; sleep 1; kill -9 "${pid[$1]}" 2>/dev/null; wait "${pid[$1]}" 2>/dev/null; }
focus() { xdotool windowactivate --sync "${win[$1]}" 2>/dev/null; sleep 0.5; }
while read -r name command; do names+=("$name"); done <"$editors"
if [ "${3:-}" = encodings ]; then
    # Ours alone, the files in turn within each round: the machine's drift moves a round's starts
    # together, so the ratios of a round's starts to its first file's are what is compared.
    read -r name command <"$editors"
    declare -A starts
    files=($2)
    for round in 1 2 3 4 5; do
        for file in "${files[@]}"; do
            base=$(basename "$file")
            opens[$name]=
            # shellcheck disable=SC2086
            launch "$name" $command
            starts[$base]+="${opens[$name]}"
            quit "$name"
        done
    done
    first=$(basename "${files[0]}")
    for file in "${files[@]}"; do
        base=$(basename "$file")
        printf '%-11s %-10s open %s s' "$name" "$base" "$(median ${starts[$base]})"
        [ "$base" = "$first" ] || printf '  against %s: %s (medians of the rounds\x27 ratios)' "$first" "$(ratios "${starts[$base]}" "${starts[$first]}")"
        echo
    done
    exit 0
fi
# Opening is timed alone: the others are closed, or resting after their own open.
for round in 1 2 3 4 5; do
    while read -r -u 3 name command; do
        # shellcheck disable=SC2086
        launch "$name" $command
        if [ $round -lt 5 ]; then quit "$name"; else sleep 2; fi
    done 3<"$editors"
done
if [ "${3:-}" = empty ]; then
    for name in "${names[@]}"; do
        printf '%-11s with a one-line script: peak %4.0f MB\n' "$name" "$(awk '/VmHWM/ {print $2 / 1024}' "/proc/${pid[$name]}/status")"
        quit "$name"
    done
    exit 0
fi
for name in "${names[@]}"; do
    focus "$name"; xdotool key --clearmodifiers Escape; sleep 0.3
    t=$(cpu "${pid[$name]}"); xdotool key ctrl+End; sleep 3; jump[$name]=$(seconds "$t" "$(cpu "${pid[$name]}")")
done
for _ in $(seq 7); do
    for name in "${names[@]}"; do
        focus "$name"; t=$(cpu "${pid[$name]}")
        xdotool type --delay 5 "$(printf 'x%.0s' $(seq 200))"; sleep 2
        keys[$name]+="$(seconds "$t" "$(cpu "${pid[$name]}")") "
        xdotool key Return; sleep 1
    done
done
for _ in $(seq 7); do
    for name in "${names[@]}"; do
        focus "$name"; xdotool key ctrl+Home; sleep 1; t=$(cpu "${pid[$name]}")
        for _ in $(seq 200); do xdotool key Next; done; sleep 2
        pages[$name]+="$(seconds "$t" "$(cpu "${pid[$name]}")") "
    done
done
for name in "${names[@]}"; do
    peak=$(awk '/VmHWM/ {print $2 / 1024}' "/proc/${pid[$name]}/status")
    printf '%-11s %-10s open %s s  peak %4.0f MB  Ctrl+End %.2f s CPU  200 keys %s s CPU  200 PageDown %s s CPU\n' \
        "$name" "$base" "$(median ${opens[$name]})" "$peak" "${jump[$name]}" "$(median ${keys[$name]})" "$(median ${pages[$name]})"
done
for name in "${names[@]:1}"; do
    printf '  %s / %-11s open %s  200 keys %s  200 PageDown %s  (medians of the rounds\x27 ratios)\n' \
        "${names[0]}" "$name" "$(ratios "${opens[${names[0]}]}" "${opens[$name]}")" \
        "$(ratios "${keys[${names[0]}]}" "${keys[$name]}")" "$(ratios "${pages[${names[0]}]}" "${pages[$name]}")"
done
for name in "${names[@]}"; do quit "$name"; done
exit 0
SH
chmod +x "$work/measure.sh"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); files: 50 MB (LF, CR LF, Windows-1252), 5 MB"
printf 'put hello\n' >"$work/empty.cmd"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'openbox >/dev/null 2>&1 & sleep 1; "$0" "$@"' \
    "$work/measure.sh" "$work/editors" "$work/empty.cmd" empty 2>/dev/null || echo "empty: failed"
# Our switch for mistakes as one types, read at start-up.
settings="$work/.config/Korveth/Korveth Script Editor.conf"
for file in "${files[@]}"; do
    case $file in
    encodings) args=("$work/utf8.cmd $work/crlf.cmd $work/w1252.cmd" encodings) ;;
    small-plain) args=("$work/small.cmd") ;;
    *) args=("$work/$file.cmd") ;;
    esac
    if [ "$file" = small-plain ]; then
        mkdir -p "$(dirname "$settings")"
        printf '[editor]\nliveCheck=false\n' >"$settings"
        echo "small.cmd with korveth's mistakes as one types switched off:"
    fi
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'openbox >/dev/null 2>&1 & sleep 1; "$0" "$@"' \
        "$work/measure.sh" "$work/editors" "${args[@]}" 2>/dev/null || echo "$file: failed"
    rm -f "$settings"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
