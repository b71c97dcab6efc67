#!/bin/bash
# A game saved through pipes, edited by hand as a player might, and resumed in mode 1; a
# saved game of another quest is refused and a cut one ends with an input/output failure.
# Usage: test_saved_game.sh <tindel-binary> <source-dir>
set -u
BIN=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILED=0

fail() {
  echo "FAIL: $*" >&2
  FAILED=1
}

ENTER=$'\r'
ESC=$'\033'
CR=$'\r'

printf '%s\r\n' \
  ':start' \
  'pln At the gate' \
  'btn hall, Enter the hall' \
  'end' \
  ':hall' \
  'inv + key' \
  'gold = gold + 5' \
  'pln Keys #inv_key$, gold #gold$' \
  'save hall' \
  'btn start, Back' \
  'end' \
  ':common' \
  'end' >"$WORK/quest.qst"

# run NAME MODE KEYS: the transcript to $WORK/NAME.out, standard error to $WORK/NAME.err,
# the exit status to $STATUS.
run() {
  (cd "$WORK" && printf '%s' "$3" |
    LC_ALL=C.UTF-8 TINDEL_SEED=1 timeout 30 "$BIN" "$2" w quest.qst >"$1.out" 2>"$1.err")
  STATUS=$?
}

# expect NAME STATUS TEXT...: the exit status, and each text on some line of the transcript.
expect() {
  local name=$1 status=$2
  shift 2
  [ "$STATUS" -eq "$status" ] || fail "$name: exit status $STATUS, not $status"
  for text in "$@"; do
    grep -qF -- "$text" "$WORK/$name.out" || fail "$name: no \"$text\" in: $(cat "$WORK/$name.out")"
  done
}

# absent NAME TEXT: the text is nowhere in the transcript.
absent() {
  if grep -qF -- "$2" "$WORK/$1.out"; then fail "$1: \"$2\" shown"; fi
}

# edit SED_SCRIPT: save.txt becomes the saved game as the script changes it (a player's edit).
edit() {
  sed "$1" "$WORK/saved.txt" >"$WORK/save.txt"
}

# Play: into the hall, where the game is saved, then Escape and Enter.
run play 0 "$ENTER$ESC"$'\n'
expect play 0 "At the gate" "Keys 1, gold 5" "[menu] ESC"
[ -f "$WORK/save.txt" ] || fail "no save.txt"
[ "$(sed -n 4p "$WORK/save.txt")" = "hall$CR" ] || fail "the resume label is not hall"
cp "$WORK/save.txt" "$WORK/saved.txt"

# Resume: the hall runs again from its label on the saved table.
run resume 1 "$ESC"$'\n'
expect resume 0 "Keys 2, gold 10"
absent resume "At the gate"
absent resume "warning"

# A count changed by hand.
edit "s/^1\.000 ;key$CR\$/41.000 ;key$CR/"
grep -q '^41.000 ;key' "$WORK/save.txt" || fail "the edit did not apply"
run edited 1 "$ESC"$'\n'
expect edited 0 "Keys 42, gold 10"

# The "eof" line removed: a warning, and play goes on.
edit "/^eof$CR\$/d"
run no_eof 1 "$ESC"$'\n'
expect no_eof 0 'warning: "eof" not found.' "Keys 2, gold 10"

# A saved game of another quest is refused with the report.
edit "2s/.*/other.qst$CR/"
run other 1 $'\n'
expect other 1 "Error: QUEST NAME: <quest.qst> ? <other.qst>" "<press enter>"
absent other "Keys"
head -n 1 "$WORK/debug.txt" | grep -qF "QUEST NAME: <quest.qst> ? <other.qst>" ||
  fail "debug.txt does not hold the refusal"

# A saved game cut short: an input/output failure, one line naming the file and the line.
head -n 100 "$WORK/saved.txt" >"$WORK/save.txt"
run cut 1 "$ESC"$'\n'
[ "$STATUS" -eq 2 ] || fail "cut: exit status $STATUS, not 2"
[ "$(wc -l <"$WORK/cut.err")" -eq 1 ] || fail "cut: standard error: $(cat "$WORK/cut.err")"
grep -q 'save.txt: line 101' "$WORK/cut.err" || fail "cut: $(cat "$WORK/cut.err")"
absent cut "Keys"

exit $FAILED
