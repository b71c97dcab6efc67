# What a player who cannot see the colours or the screen relies on, on a real terminal (tmux):
# under NO_COLOR the highlighted entry in reverse video whatever the quest's colours; in the
# accessible mode the cursor on the highlighted entry after every move, the "> " mark and the
# numbers, a digit choosing, a picture not drawn and the next key reaching the menu, only
# what changed sent again; the same marks and numbers on TERM=dumb and through a pipe, where
# the bundled quest is played to its end with digits alone.
# Usage: bash test_terminal_accessible.sh <tindel binary> <source dir>
set -u
TINDEL=$(realpath "$1")
SRC=$(realpath "$2")
source "$SRC/tests/e2e/tmux_lib.sh"
tmux_require
esc=$(printf '\033')

# write_quest [STYLE LINE]: three doors, each behind it a way back; the style line comes first.
write_quest() {
  printf '%s\n' "${1:-}" ':start' 'pln A hall with three doors.' 'image = 1' \
    'btn red, Red door' 'btn green, Green door' 'btn blue, Blue door' 'end' \
    ':red' 'pln Behind the red door.' 'btn start, Back' 'end' \
    ':green' 'pln Behind the green door.' 'btn start, Back' 'end' \
    ':blue' 'pln Behind the blue door.' 'btn start, Back' 'end' ':common' 'end' |
    sed 's/$/\r/' >"$TMUX_DIR/quest.qst"
}

line_of() { tmux_capture_colours | grep -F -- "$1" | head -1; }
reversed() { case $(line_of "$1") in *"$esc[7m$1"* | *"$esc[0;7m$1"* | *"7m$1"*) ;; *) false ;; esac; }
plain() { case $(line_of "$1") in *"7m$1"*) false ;; *) ;; esac; }

# --- NO_COLOR: the highlight alone in reverse video, whatever colours the quest gives it.
for style in "" "stylecursorcolor = 10" "stylecursorcolor = 14" "stylecursorcolor = 7" \
  "stylecursorcolor = 0" "stylebuttoncolor = 112"; do
  what="no-color${style:+, $style}"
  tmux_shell
  write_quest "$style"
  tmux_type "NO_COLOR=1 '$TINDEL' 0 w quest.qst"
  tmux_keys Enter
  tmux_wait_for "Blue door" || fail "$what: no menu"
  tmux_poll 3 reversed "Red door" || fail "$what: the highlight is not reversed: $(line_of "Red door" | cat -v)"
  plain "Green door" || fail "$what: an entry not highlighted is reversed: $(line_of "Green door" | cat -v)"
  tmux_keys Down
  tmux_poll 3 reversed "Green door" || fail "$what: Down did not move the reverse video: $(line_of "Green door" | cat -v)"
  plain "Red door" || fail "$what: the entry left is still reversed: $(line_of "Red door" | cat -v)"
  if tmux_capture_colours | grep -q "$esc\[[0-9;]*[34][0-7]m"; then fail "$what: colours were sent"; fi
  tmux_keys C-c
  tmux_run true
  tmux_cleanup
done

# --- The accessible mode on a terminal that takes escape sequences.
cursor_row() { tmux_cmd display-message -p -t e2e '#{cursor_y}'; }
cursor_column() { tmux_cmd display-message -p -t e2e '#{cursor_x}'; }
mark_row() { tmux_capture | grep -n '^> ' | tail -1 | cut -d: -f1 | awk '{ print $1 - 1 }'; }
marked() { tmux_capture | grep -q "^> $1\$"; }
# The cursor stands at the start of the row that carries the mark, and that row is entry.
on_entry() { marked "$1" && [ "$(cursor_row)" = "$(mark_row)" ] && [ "$(cursor_column)" = 0 ]; }
raw_size() { wc -c <"$TMUX_DIR/raw.log"; }

tmux_shell
write_quest
cp "$SRC/tests/e2e/media/red_blue.jpg" "$TMUX_DIR/1.jpg"
tmux_cmd pipe-pane -t e2e -o "cat >> '$TMUX_DIR/raw.log'"
tmux_type "TINDEL_MEDIA_LOG=media.log '$TINDEL' --accessible 0 w quest.qst"
tmux_keys Enter
tmux_wait_for "Blue door" || fail "accessible: no menu"
tmux_poll 3 on_entry "1. Red door" ||
  fail "accessible: the cursor (row $(cursor_row), column $(cursor_column)) is not on the first entry (row $(mark_row))"
for entry in "  2. Green door" "  3. Blue door" "image <1.jpg>" "A hall with three doors."; do
  expect_screen "$entry" || fail "accessible: \"$entry\" not shown"
done
grep -q "picture 1.jpg not drawn" "$TMUX_DIR/media.log" ||
  fail "accessible: the media log does not say the picture was not drawn: $(cat "$TMUX_DIR/media.log")"
# The first key after the picture reaches the menu; the cursor follows the mark each time.
for entry in "2. Green door" "3. Blue door" "1. Red door"; do
  before=$(raw_size)
  tmux_keys Down
  tmux_poll 3 on_entry "$entry" ||
    fail "accessible: after Down the cursor (row $(cursor_row)) is not on \"$entry\" (mark on row $(mark_row))"
  sent=$(tail -c +"$((before + 1))" "$TMUX_DIR/raw.log")
  case $sent in *"hall with three"* | *"image <"*) fail "accessible: Down sent the text above the menu again" ;; esac
done
tmux_keys Up
tmux_poll 3 on_entry "3. Blue door" || fail "accessible: Up did not wrap to the last entry"
tmux_type "2"
tmux_wait_for "Behind the green door." || fail "accessible: the digit 2 did not choose"
tmux_poll 3 on_entry "1. Back" || fail "accessible: the cursor is not on the next menu's entry"
tmux_keys C-c
tmux_run true
tmux_cleanup

# --- TERM=dumb: the same marks and numbers as plain lines, and the digits.
TMUX_DIR=$(mktemp -d)
TMUX_SOCKET="$TMUX_DIR.sock"
write_quest
tmux_cmd new-session -d -x 80 -y 25 -s e2e -c "$TMUX_DIR" \
  "sh -c 'sleep 0.5; env -i PATH=\"$PATH\" TERM=dumb TINDEL_ACCESSIBLE=1 LANG=C.UTF-8 \"$TINDEL\" 0 w quest.qst; echo status=\$?; sleep 30'"
tmux_wait_for "> 1. Red door" || fail "dumb: no mark and number on the first entry"
expect_screen "  3. Blue door" || fail "dumb: the other entries are not numbered and indented"
tmux_keys Down
tmux_wait_for "> 2. Green door" || fail "dumb: the mark did not follow Down"
tmux_type "3"
tmux_wait_for "Behind the blue door." || fail "dumb: the digit 3 did not choose"
tmux_cleanup

# --- Through a pipe: the menu as it stood when the choice was made, marked and numbered.
work=$(mktemp -d)
TMUX_DIR=$work write_quest
out=$(cd "$work" && printf '\033[B2' | TINDEL_SEED=1 timeout 20 "$TINDEL" --accessible 0 w quest.qst 2>&1)
rm -rf "$work"
for line in "  1. Red door" "> 2. Green door" "  3. Blue door" "Behind the green door." "> 1. Back"; do
  grep -qxF -- "$line" <<<"$out" || fail "pipe: \"$line\" is not a line of the output: $out"
done

# The bundled quest played through to its end with digits alone: the transcript is the one
# the arrows give, once the marks and numbers are taken off the menus' lines.
work=$(mktemp -d)
cp "$SRC/examples/stackle.qst" "$work/"
keys="xAda"$'\n'"11221"$'\n'"1221111234"$'\n'"11887"$'\n'"1iu4111x"
(cd "$work" && printf '%s' "$keys" |
  LC_ALL=C.UTF-8 TINDEL_SEED=7 TINDEL_ACCESSIBLE=1 timeout 60 "$TINDEL" 0 w stackle.qst >out.txt 2>&1)
status=$?
[ "$status" = 0 ] || fail "stackle: exit status $status"
grep -qxF "> 1. Step out into the storm" "$work/out.txt" || fail "stackle: the menus are not numbered"
sed -E 's/^(> |  )[1-9]\. //' "$work/out.txt" | diff -u "$SRC/tests/e2e/transcripts/stackle.txt" - ||
  fail "stackle: the game played with digits differs from the one played with arrows"
rm -rf "$work"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "terminal accessible: all passed"
