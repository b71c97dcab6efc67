#!/usr/bin/env bash
# The language server with a real client: headless Neovim's built-in LSP client attached to
# `tindel-author lsp` on a Windows-1251 quest with known mistakes. Checks the diagnostics the
# client received (the lint's, at the same lines and columns), where "go to definition" lands,
# references, the outline, a rename applied by the client, and the Vim syntax file.
# Usage: test_lsp_neovim.sh <tindel binary> <source dir>; tindel-author is built beside tindel.
source "$(dirname "$0")/e2e_lib.sh"
AUTHOR="$(dirname "$TINDEL")/tindel-author"
[ -x "$AUTHOR" ] || { echo "FAIL: no tindel-author beside $TINDEL"; exit 1; }
command -v nvim >/dev/null || { echo "FAIL: nvim is not installed (scripts/ensure-packages)"; exit 1; }

# Line 5 names a missing label, line 9 lacks its "then"; the Cyrillic text before each mistake
# makes a wrong code page conversion show as a wrong column.
cat >quest.utf8 <<'QUEST'
:старт
pln Вы стоите у ворот.
if золото > 2 then pln Богач
btn зал, Войти
pln Кнопка & btn башня, Наверх
goto зал
:зал
pln Большой зал. Шум & pln #золото$
if золото > 1 pln много
end
:common
end
QUEST
sed 's/$/\r/' quest.utf8 | iconv -f UTF-8 -t CP1251 >quest.qst || fail "cannot write the quest"

HOME="$WORK" XDG_CONFIG_HOME="$WORK" XDG_DATA_HOME="$WORK" XDG_STATE_HOME="$WORK" \
  TINDEL_AUTHOR="$AUTHOR" QUEST="$WORK/quest.qst" REPORT="$WORK/report.txt" \
  timeout 60 nvim --headless --clean -i NONE -n \
  --cmd "set runtimepath^=$SRC/editors/vim" -u "$SRC/tests/e2e/lsp/client.lua" \
  >nvim.out 2>&1 </dev/null
[ -s report.txt ] || { cat nvim.out; fail "Neovim wrote no report"; finish "test_lsp_neovim"; }
grep '^error' report.txt && fail "the client reported an error"

# The diagnostics are exactly the lint's problems, at the same lines and columns.
"$AUTHOR" lint --codepage w quest.qst | grep -E '^quest\.qst:[0-9]+:[0-9]+: ' |
  sed -E 's/^quest\.qst:([0-9]+):([0-9]+): (error|warning): (.*)$/\1 \2 \3 \4/' |
  sed -E 's/ error / 1 /; s/ warning / 2 /' | sort >expected.txt
grep '^diagnostic ' report.txt | sed 's/^diagnostic //' | sort >received.txt
[ -s expected.txt ] || fail "the lint found nothing in a quest with mistakes"
diff expected.txt received.txt >diff.txt || { cat diff.txt; fail "diagnostics differ from the lint"; }
grep -q '^9 1 1 .*THEN' received.txt || fail "no error for the missing then at line 9"
grep -q '^5 [0-9]* 1 ' received.txt || fail "no error on line 5"

grep -qx 'definition 7 [12]' report.txt || fail "go to definition: $(grep ^definition report.txt)"
grep -qx 'references 3' report.txt || fail "references: $(grep ^references report.txt)"
for symbol in 'старт 1' 'зал 7' 'common 11'; do
  grep -qx "symbol $symbol" report.txt || fail "outline lacks $symbol"
done
grep -qx 'rename 4 btn сад, Войти' report.txt || fail "rename missed the button"
grep -qx 'rename 7 :сад' report.txt || fail "rename missed the label line"
[ "$(grep -c '^rename' report.txt)" -eq 3 ] || fail "rename: $(grep ^rename report.txt)"
grep -qx 'syntax tindelLabelLine' report.txt || fail "syntax: $(grep ^syntax report.txt)"

[ "$failures" -gt 0 ] && cat report.txt
finish "test_lsp_neovim"
