# The checks (modes 2 and 3) of the program run through pipes: the lines they print, the
# report that ends a check at its first error, and the exit statuses.
# Usage: bash test_syntax_check.sh <tindel binary> <source dir>
# shellcheck source=tests/e2e/e2e_lib.sh
source "$2/tests/e2e/e2e_lib.sh"

# Writes a quest from lines given one per argument, each ended by CR LF.
quest() {
  local file=$1
  shift
  : >"$file"
  for line in "$@"; do printf '%s\r\n' "$line" >>"$file"; done
}

# Runs the program with no input and its output through a pipe; sets OUT and STATUS.
check() {
  "$TINDEL" "$@" </dev/null | cat >out.txt
  STATUS=${PIPESTATUS[0]}
  OUT=$(cat out.txt)
  # shellcheck disable=SC2034
  LINES_AFTER_USAGE=$(printf '%s\n' "$OUT" | tail -n +8)
}

expect_lines() {
  local what=$1 expected=$2
  if [ "$LINES_AFTER_USAGE" != "$expected" ]; then
    fail "$what: printed"
    printf '%s\n--- instead of ---\n%s\n' "$LINES_AFTER_USAGE" "$expected" >&2
  fi
}

expect_status() {
  [ "$STATUS" = "$2" ] || fail "$1: exit status $STATUS, not $2"
}

quest good.qst \
  ':start' \
  'if 1 then pln a' \
  ' else pln b' \
  'proc helper & pln x' \
  'btn helper, Go' \
  'goto helper' \
  'end' \
  ':helper' \
  'end' \
  ':common' \
  'end'

for mode in 2 3; do
  check "$mode" w good.qst
  expect_status "mode $mode, good quest" 0
  expect_lines "mode $mode, good quest" 'warning: STR 3,  <ELSE>  pos(6)
warning: STR 4,  <PROC>
syntax <good.qst> is checked!'
  [ "$(printf '%s\n' "$OUT" | head -1)" = "Tindel v0.0.9" ] || fail "mode $mode: no banner first"
done
[ -e debug.txt ] && fail "a check without errors wrote debug.txt"

# Labels are looked for in mode 3 only.
quest labels.qst ':start' 'goto nowhere' 'end' ':common' 'end'
check 2 w labels.qst
expect_status "mode 2, missing label" 0
expect_lines "mode 2, missing label" 'syntax <labels.qst> is checked!'
check 3 w labels.qst
expect_status "mode 3, missing label" 1
expect_lines "mode 3, missing label" '<labels.qst>
Error: [findlabel] label <nowhere> not found  (STR:3,POS:1,TOKEN:<NEWLN>)
<press enter>'
grep -q 'Error: \[findlabel\] label <nowhere> not found' debug.txt ||
  fail "mode 3, missing label: debug.txt does not hold the error"
rm -f debug.txt

# The first error ends the check; what follows it is not examined.
quest broken.qst 'pln a' 'if 0 pln b' 'goto'
check 2 w broken.qst
expect_status "mode 2, broken quest" 1
expect_lines "mode 2, broken quest" '<broken.qst>
Error: [if] "THEN" expected  (STR:2,POS:9,TOKEN:pln)
<press enter>'
[ -e debug.txt ] || fail "mode 2, broken quest: no debug.txt"

# A quest that is not there.
check 3 w missing.qst
expect_status "mode 3, missing quest" 1
expect_lines "mode 3, missing quest" 'file <missing.qst> not found'

# Two parameters are not a check: the default quest is played to its end.
quest stackle.qst 'pln played, not checked'
check 2 d
expect_status "two parameters" 0
expect_lines "two parameters" 'played, not checked'

finish "test_syntax_check"
