#!/bin/bash
# A picture in a terminal without a graphical session (tmux, 80x25): it covers the screen in
# its colours (red on the left, blue on the right), the first key closes it and does nothing
# else, and the screen comes back exactly as the quest left it beneath the picture.
# Usage: bash test_terminal_picture.sh <tindel binary> <source dir>
set -u
TINDEL=$(realpath "$1")
SRC=$(realpath "$2")
source "$SRC/tests/e2e/tmux_lib.sh"
tmux_require

# seen_colours ROW: for every cell of the screen row (1-based), "column red green blue" of
# the colour it shows: the background of a blank, else the foreground, swapped in reverse
# video (256 colours and 24-bit ones; cells in a default colour are left out).
seen_colours() {
  tmux_cmd capture-pane -p -e -N -t e2e | sed -n "$1p" | LC_ALL=C awk '
    function level(v) { return v == 0 ? 0 : 55 + 40 * v }
    function indexed(n, which) {
      if (n >= 232) { r = g = b = 8 + 10 * (n - 232) }
      else if (n >= 16) { n -= 16; r = level(int(n / 36)); g = level(int(n / 6) % 6); b = level(n % 6) }
      else { r = g = b = -1 }
      col[which] = r " " g " " b
    }
    function sgr(text,   p, k, n) {
      n = split(text, p, ";")
      for (k = 1; k <= n; k++) {
        if (p[k] == "" || p[k] == 0) { col["f"] = col["b"] = ""; reverse = 0 }
        else if (p[k] == 7) { reverse = 1 } else if (p[k] == 27) { reverse = 0 }
        else if ((p[k] == 38 || p[k] == 48) && p[k + 1] == 5) { indexed(p[k + 2] + 0, p[k] == 38 ? "f" : "b"); k += 2 }
        else if ((p[k] == 38 || p[k] == 48) && p[k + 1] == 2) { col[p[k] == 38 ? "f" : "b"] = p[k + 2] " " p[k + 3] " " p[k + 4]; k += 4 }
        else if (p[k] == 39) { col["f"] = "" } else if (p[k] == 49) { col["b"] = "" }
      }
    }
    {
      line = $0; x = 0
      while (length(line) > 0) {
        if (substr(line, 1, 2) == "\033[") {
          end = match(line, /[A-Za-z]/)
          if (substr(line, end, 1) == "m") sgr(substr(line, 3, end - 3))
          line = substr(line, end + 1); continue
        }
        c = substr(line, 1, 1); line = substr(line, 2)
        if (c >= "\200" && c < "\300") continue   # the rest of a UTF-8 character
        x++
        shown = (c == " ") != reverse ? col["b"] : col["f"]
        if (shown != "" && shown !~ /^-1/) print x, shown
      }
    }'
}

# expect_tint FIRST LAST red|blue: every coloured cell of those columns of the middle row
# leans that way, and there are some.
expect_tint() {
  local counted
  counted=$(seen_colours 13 | awk -v a="$1" -v z="$2" -v want="$3" '
    $1 >= a && $1 <= z { n++; ok = want == "red" ? ($2 > 120 && $2 > 2 * $4) : ($4 > 120 && $4 > 2 * $2); if (!ok) bad++ }
    END { print n + 0, bad + 0 }')
  set -- $counted "$3" "$1" "$2"
  [ "$1" -ge 20 ] && [ "$2" -eq 0 ] && return 0
  echo "FAIL: columns $4-$5 are not all $3 ($1 coloured cells, $2 of another tint)" >&2
  tmux_capture_colours | sed -n 13p | cat -v | cut -c1-300 >&2
  return 1
}

tmux_shell
cp "$SRC/tests/e2e/media/red_blue.jpg" "$TMUX_DIR/picture.jpg"
printf '%s\n' 'cls' 'pln Above the picture' 'styletextcolor = 14' 'pln In yellow' \
  'styletextcolor = 7' 'image = 1' 'btn one, First' 'btn two, Second' 'end' \
  ':one' 'pln chose one' 'image = 1' 'btn two, Second again' 'end' ':two' 'pln chose two' 'end' \
  ':common' 'end' | sed 's/$/\r/' >"$TMUX_DIR/quest.qst"
GAME="TINDEL_MEDIA_LOG=media.log '$TINDEL' 0 w quest.qst"

# The screen as the quest leaves it, in a run where the picture file is missing.
tmux_type "clear; $GAME; echo first-run-ended"
tmux_keys Enter
tmux_wait_for "Second" || fail "no menu without the picture"
before=$(tmux_capture_colours)
tmux_keys Escape
tmux_wait_for "<press enter>" || fail "escape: no report"
tmux_keys Enter
tmux_wait_for "first-run-ended" || fail "the first run did not end"

# The same with the picture.
cp "$TMUX_DIR/picture.jpg" "$TMUX_DIR/1.jpg"
tmux_type "clear; $GAME; echo second-run-ended"
tmux_keys Enter
tmux_poll 5 expect_tint 3 38 red 2>/dev/null || fail "the picture did not show"
expect_tint 3 38 red || fail "left half"
expect_tint 43 78 blue || fail "right half"
screen_text=$(tmux_capture)
case $screen_text in *Second*) fail "the menu shows through the picture" ;; esac

# Down closes the picture and does nothing else: the highlight stays on First.
tmux_keys Down
tmux_wait_for "Second" || fail "the picture did not close"
sleep 0.2
after=$(tmux_capture_colours)
if [ "$after" != "$before" ]; then
  fail "the screen after the picture differs from the screen without it"
  diff <(printf '%s\n' "$before" | cat -v) <(printf '%s\n' "$after" | cat -v) >&2
fi
grep -qF "picture 1.jpg shown in the terminal" "$TMUX_DIR/media.log" ||
  fail "log: $(cat "$TMUX_DIR/media.log")"

# Enter now chooses First; the next picture covers the screen again, a resize redraws it, a
# key closes it and the text of the new place is there.
tmux_keys Enter
tmux_poll 5 expect_tint 3 38 red 2>/dev/null || fail "the second picture did not show"
tmux_cmd resize-window -t e2e -x 100 -y 30
tmux_poll 5 expect_tint 3 48 red 2>/dev/null || fail "the picture was not drawn for the new size"
expect_tint 53 98 blue || fail "right half after the resize"
tmux_keys x
tmux_wait_for "Second again" || fail "the second picture did not close"
expect_screen "chose one" || fail "the choice did not reach its place"
tmux_keys Escape
tmux_wait_for "<press enter>" || fail "no report at the end"
tmux_keys Enter
tmux_wait_for "second-run-ended" || fail "the program did not end"

# Ended by Ctrl+C while a picture is up: the shell's prompt comes below the picture, on the
# bottom row, not over it at the row where the quest's text ended.
tmux_type "clear; $GAME"
tmux_keys Enter
tmux_poll 5 expect_tint 3 38 red 2>/dev/null || fail "the third picture did not show"
tmux_keys C-c
prompt_row() { tmux_capture | awk '/^\$ *$/ { row = NR } END { print row + 0 }'; }
prompt_at_bottom() { [ "$(prompt_row)" -eq "$(tmux_cmd display -p -t e2e '#{pane_height}')" ]; }
tmux_poll 5 prompt_at_bottom || fail "after Ctrl+C the prompt is on row $(prompt_row), not below the picture"

if [ "$failures" -gt 0 ]; then exit 1; fi
echo "terminal picture: all passed"
