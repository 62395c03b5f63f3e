#!/usr/bin/env bash
# Runs README's Neovim recipe in a headless Neovim against korveth-lsp: a script opened gets the
# korveth filetype, an include at the library root is found, and the server's mistakes arrive as
# diagnostics.
# Usage: editors/neovim/test.sh KORVETH_LSP   (exit 77: nvim is not installed)
set -euo pipefail
command -v nvim >/dev/null || { echo "nvim is not installed"; exit 77; }
server=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lib/.git" "$work/lib/hunts" "$work/bin" "$work/home"
ln -s "$server" "$work/bin/korveth-lsp"
# The recipe, as README gives it.
awk '/^\*\*Neovim\*\*/ { found = 1 } found && /^```lua/ { inside = 1; next } inside && /^```/ { exit }
     inside { print }' "$here/../../README.md" >"$work/init.lua"
grep -q start_client "$work/init.lua" || { echo "no recipe found in README"; exit 1; }
printf 'shared:\n  return\n' >"$work/lib/shared.cmd"
# Named as players' tools often name scripts: the recipe takes any letter case.
printf 'include shared\ngosub shared\ngoto nowhere\n' >"$work/lib/hunts/main.Cmd"
cat >"$work/check.lua" <<'LUA'
-- Waits for the server's diagnostics, then writes what it saw to result.txt and quits.
local out = {}
local function finish()
  vim.fn.writefile(out, vim.env.RESULT)
  vim.cmd('qall!')
end
table.insert(out, 'filetype=' .. vim.bo.filetype .. ' omnifunc=' .. vim.bo.omnifunc)
local seen = vim.wait(15000, function()
  return #vim.diagnostic.get(0) > 0
end, 100)
if not seen then
  table.insert(out, 'no diagnostics')
  return finish()
end
for _, d in ipairs(vim.diagnostic.get(0)) do
  table.insert(out, string.format('%d:%d %s', d.lnum, d.col, d.message))
end
finish()
LUA
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_STATE_HOME="$work/home/.local/state" PATH="$work/bin:$PATH" RESULT="$work/result.txt"
timeout 60 nvim --headless -u "$work/init.lua" -i NONE "$work/lib/hunts/main.Cmd" \
    -c "luafile $work/check.lua" >"$work/nvim.log" 2>&1 || true
cat "$work/result.txt" 2>/dev/null || { echo "Neovim wrote nothing:"; cat "$work/nvim.log"; exit 1; }
expected=$'filetype=korveth omnifunc=v:lua.vim.lsp.omnifunc\n2:5 Goto Command recognised. Label not found.'
if [ "$(cat "$work/result.txt")" != "$expected" ]; then
    echo "expected:"; echo "$expected"; exit 1
fi
# Without the server on the PATH: a warning, no Lua error.
rm "$work/bin/korveth-lsp"
PATH="$work/bin:/usr/bin:/bin" timeout 60 nvim --headless -u "$work/init.lua" -i NONE \
    "$work/lib/hunts/main.Cmd" -c 'qall!' >"$work/missing.log" 2>&1 || true
if grep -qiE "traceback|error" "$work/missing.log"; then
    echo "a missing korveth-lsp gave an error:"; cat "$work/missing.log"; exit 1
fi
echo "Neovim $(nvim --version | head -1 | cut -d' ' -f2): the recipe works"
