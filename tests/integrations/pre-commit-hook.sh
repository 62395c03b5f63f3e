#!/bin/bash
# The pre-commit hook as a library's maintainer runs it (pre-commit's try-repo on this project's
# hook definition): a change that takes a label out of a shared script fails on the script that
# includes it, a harmless change passes, and a script named in any letter case is checked.
# usage: pre-commit-hook.sh SOURCE_DIR BIN_DIR     exit 77 (skipped) without pre-commit or git
set -u
src=$1 bin=$2
for tool in pre-commit git; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d /tmp/korveth-pre-commit.XXXXXX)
trap 'rm -rf "$work"' EXIT
export HOME=$work PATH=$bin:$PATH PRE_COMMIT_HOME=$work/cache
export GIT_AUTHOR_NAME=t GIT_AUTHOR_EMAIL=t@t GIT_COMMITTER_NAME=t GIT_COMMITTER_EMAIL=t@t
commit() { git -C "$1" add -A && git -C "$1" commit -qm "$2"; }

mkdir "$work/hook" && cp "$src/.pre-commit-hooks.yaml" "$work/hook/"
git -C "$work/hook" init -q && commit "$work/hook" hook

lib=$work/lib
mkdir -p "$lib/common"
git -C "$lib" init -q
printf 'heal:\necho healing\nreturn\n' >"$lib/common/shared.cmd"
printf 'include common/shared\ngosub heal\nexit\n' >"$lib/hunt.cmd"
commit "$lib" start
cd "$lib" || exit 1
hook() { pre-commit try-repo "$work/hook" korveth-check --verbose 2>&1; }
# try-repo runs the hook with the arguments a config would give it.
sed -i 's/entry: korveth-check /entry: korveth-check --dialect auto /' "$work/hook/.pre-commit-hooks.yaml"
commit "$work/hook" auto

fail=0
printf 'heal:\necho healing well\nreturn\n' >"$lib/common/shared.cmd"
git add -A
out=$(hook) || { echo "FAIL: a harmless change was refused:"; echo "$out"; fail=1; }

printf 'echo no label here\n' >"$lib/common/shared.cmd"
git add -A
out=$(hook) && { echo "FAIL: a label taken out of a shared script passed"; fail=1; }
grep -q 'hunt.cmd:2:.*Label not found' <<<"$out" || { echo "FAIL: the includer is not named:"; echo "$out"; fail=1; }
git checkout -q -- . && git reset -q

printf 'goto nowhere\n' >"$lib/Fight.CMD"
git add -A
out=$(hook) && { echo "FAIL: a mistake in Fight.CMD passed"; fail=1; }
grep -q 'Fight.CMD:1:' <<<"$out" || { echo "FAIL: Fight.CMD was not checked:"; echo "$out"; fail=1; }
[ $fail = 0 ] && echo "ok: the hook checks includers and every letter case"
exit $fail
