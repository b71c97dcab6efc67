#!/bin/bash
# Plays the bundled quests through pipes: keys from a script on standard input, the plain
# transcript on standard output compared with the one stored in transcripts/.
# Usage: test_playthrough_pipe.sh <tindel-binary> <source-dir>
# With TINDEL_WRITE_TRANSCRIPTS=1 the transcripts are written anew instead (read them!).
set -u
BIN=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
SRC=$(cd "$2" && pwd)
EXAMPLES="$SRC/examples"
TRANSCRIPTS="$SRC/tests/e2e/transcripts"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILED=0

fail() {
  echo "FAIL: $*" >&2
  FAILED=1
}

DOWN=$'\033[B'
UP=$'\033[A'

# play CODEPAGE QUEST KEYS: runs the quest in $WORK with a fixed seed in the locale $LOCALE;
# the transcript goes to $WORK/QUEST.out, standard error to $WORK/QUEST.err, the exit status
# to $STATUS.
LOCALE=C.UTF-8
play() {
  cp "$EXAMPLES/$2" "$WORK/"
  (cd "$WORK" && printf '%s' "$3" |
    LC_ALL=$LOCALE TINDEL_SEED=7 timeout 60 "$BIN" 0 "$1" "$2" >"$2.out" 2>"$2.err")
  STATUS=$?
}

# expect_transcript QUEST NAME: the run ended well and showed what the stored transcript says.
expect_transcript() {
  local out="$WORK/$1.out"
  [ "$STATUS" -eq 0 ] || fail "$1: exit status $STATUS: $(cat "$WORK/$1.err")"
  [ -s "$WORK/$1.err" ] && fail "$1: unexpected standard error: $(cat "$WORK/$1.err")"
  if LC_ALL=C grep -q $'\033' "$out"; then fail "$1: escape bytes in the transcript"; fi
  if ! iconv -f UTF-8 -t UTF-8 "$out" >/dev/null 2>&1; then fail "$1: output is not UTF-8"; fi
  if [ "${TINDEL_WRITE_TRANSCRIPTS:-}" = 1 ]; then cp "$out" "$TRANSCRIPTS/$2"; fi
  if ! diff -u "$TRANSCRIPTS/$2" "$out"; then fail "$1: transcript differs from $2"; fi
}

# expect_line QUEST TEXT: a whole line of the transcript.
expect_line() {
  grep -qxF -- "$2" "$WORK/$1.out" || fail "$1: no line \"$2\""
}

# Every bundled quest passes the check of syntax and labels without a warning.
for entry in "w stackle.qst" "w kolokol.qst" "d pech.qst"; do
  set -- $entry
  cp "$EXAMPLES/$2" "$WORK/"
  check=$(cd "$WORK" && LC_ALL=C.UTF-8 "$BIN" 3 "$1" "$2" </dev/null)
  [ $? -eq 0 ] || fail "$2: the check ended with a failure"
  last=$(printf '%s\n' "$check" | tail -n 1)
  [ "$last" = "syntax <$2> is checked!" ] || fail "$2: the check ended with \"$last\""
  if printf '%s\n' "$check" | grep -q 'warning'; then fail "$2: $(printf '%s\n' "$check" | grep warning)"; fi
done

# Stackle Point from the title to the lit lamp: any key, a name, the shore, both things in
# the cottage, the log book with its page break, the cliff path (choosing at the wave), a
# wrong and a right number at the lock, the inventory, lighting the lantern by its use
# action, the stair, filling and lighting the lamp, a key to leave.
KEYS="x"'Ada'$'\n'
KEYS+=$'\n'                    # Step out into the storm
KEYS+=$'\n'                    # shore: Knock at the cottage door
KEYS+="$DOWN"$'\n'             # cottage: Take the matches
KEYS+="$DOWN"$'\n'             # cottage: Take the lantern
KEYS+=$'\n'$'\n'               # Read the log book; Enter at [next]
KEYS+=$'\n'                    # Close the book
KEYS+="$DOWN"$'\n'             # cottage: Go back out into the rain
KEYS+="$DOWN"$'\n'             # shore: Climb the cliff path
KEYS+=$'\n'                    # the wave: Press yourself flat (the pause takes a waiting key)
KEYS+=$'\n'                    # Go on to the tower
KEYS+=$'\n''1234'$'\n'         # Try the number lock: wrong
KEYS+=$'\n''1887'$'\n'         # Try another number: right
KEYS+=$'\n'                    # Step back
KEYS+="iu$DOWN$DOWN$DOWN"$'\n' # inventory, use actions, use_lantern_light
KEYS+="$UP$UP$UP"$'\n'         # Climb the stair
KEYS+=$'\n'$'\n'               # Pour the oil; Light the great lamp
KEYS+="x"                      # Press any key to leave
play w stackle.qst "$KEYS"
expect_transcript stackle.qst stackle.txt
expect_line stackle.qst "Which number do you set? 1887"
expect_line stackle.qst "+se_lantern_light"
expect_line stackle.qst "Well done, Ada. The light of Stackle Point burned again on turn 15."

# The same quest twice gives the same transcript: nothing depends on timing or the clock.
cp "$WORK/stackle.qst.out" "$WORK/first.out"
play w stackle.qst "$KEYS"
cmp -s "$WORK/first.out" "$WORK/stackle.qst.out" || fail "stackle.qst: a second run differs"

# Escape at the first menu: the report, a line for "<press enter>", status 0, debug.txt.
rm -f "$WORK/debug.txt"
play w stackle.qst "x"'Ada'$'\n'$'\033'$'\n'
[ "$STATUS" -eq 0 ] || fail "Escape: exit status $STATUS"
grep -qxE 'Error: \[menu\] ESC  \(STR:[0-9]+,POS:[0-9]+,TOKEN:<NEWLN>\)' "$WORK/stackle.qst.out" ||
  fail "Escape: no error line: $(tail -n 4 "$WORK/stackle.qst.out")"
grep -qF '<press enter>' "$WORK/stackle.qst.out" || fail "Escape: no <press enter>"
[ -f "$WORK/debug.txt" ] || fail "Escape: no debug.txt"

# The Windows-1251 quest: the player's name typed in UTF-8, a Cyrillic use action.
KEYS="$DOWN"$'\n'$'\n''Ада'$'\n'$'\n'"$DOWN"$'\n'"u$DOWN$DOWN"$'\n'"$UP$UP"$'\n'$'\n''x'
play w kolokol.qst "$KEYS"
expect_transcript kolokol.qst kolokol.txt
expect_line kolokol.qst "Ваше имя: Ада"
expect_line kolokol.qst '"Спасибо, Ада. Вот ключ от колокольни. Звони трижды!"'
expect_line kolokol.qst "+se_ключ_осмотреть"

# Where the locale's charset is CP866 (installed or not), the same game takes and shows
# CP866 bytes.
LOCALE=ru_RU.CP866
play w kolokol.qst "$(printf '%s' "$KEYS" | iconv -f UTF-8 -t CP866)"
[ "$STATUS" -eq 0 ] || fail "kolokol.qst in CP866: exit status $STATUS"
iconv -f CP866 -t UTF-8 "$WORK/kolokol.qst.out" | diff -u "$TRANSCRIPTS/kolokol.txt" - ||
  fail "kolokol.qst in CP866: the transcript differs"

# The C locale is taken as UTF-8.
LOCALE=C
play w kolokol.qst "$KEYS"
LOCALE=C.UTF-8
expect_transcript kolokol.qst kolokol.txt

# The CP866 quest: Cyrillic labels in mixed case, a count in a use action.
KEYS=$'\n'$'\n'$'\n'"u$DOWN"$'\n'"$UP"$'\n'$'\n''x'
play d pech.qst "$KEYS"
expect_transcript pech.qst pech.txt
expect_line pech.qst "В коробке 5 спичек."
expect_line pech.qst "Через час градусник у окна показывает 18. Вы садитесь к огню"

exit $FAILED
