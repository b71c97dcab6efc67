# The mouse in a real terminal (tmux, 80x25): reported only while a menu waits, and not while
# the program is stopped; a click on the second entry chooses it; the wheel moves the
# highlight; a click beside the list does nothing; the terminal's mouse mode is off again once
# the program has ended.
# Usage: bash test_mouse_tmux.sh <tindel binary> <source dir>
set -u
TINDEL=$(realpath "$1")
SRC=$(realpath "$2")
source "$SRC/tests/e2e/tmux_lib.sh"
tmux_require

# tmux keeps track of the modes the program in the pane asked for.
mouse_mode() { tmux_cmd display-message -p -t e2e '#{mouse_standard_flag}#{mouse_sgr_flag}'; }
# Conditions for tmux_poll, which runs its command anew at each try (a "$(...)" in its
# arguments would be read once, before the first).
mouse_is() { [ "$(mouse_mode)" = "$1" ]; }
program_ended() { [ "$(tmux_cmd display-message -p -t e2e '#{pane_current_command}')" = bash ]; }
# 1-based row of the first screen line that holds TEXT.
row_of() { tmux_capture | grep -nF -- "$1" | head -1 | cut -d: -f1; }
# A press and a release of button B at column 3 of row R, as the terminal reports them.
mouse_at() { tmux_type $'\e'"[<$1;3;$2M"$'\e'"[<$1;3;$2m"; }
highlighted() { tmux_capture_colours | grep -F -- "$1" | grep -qF '44m'; }

tmux_shell
cat >"$TMUX_DIR/roads.qst" <<'EOF'
:start
stylecursorcolor = 30
pln Three roads meet here.
btn north, Go north
btn east, Go east
btn south, Go south
end
:common
end
:north
pln The road climbs.
end
:east
pln The road bends.
pause 500
pln Which way now?
btn north, Climb on
btn south, Walk down
btn start, Turn back
anykey
end
:south
pln The road falls.
btn start, Turn back
end
EOF
sed -i 's/$/\r/' "$TMUX_DIR/roads.qst"
tmux_save_stty before
tmux_type "'$TINDEL' 0 w roads.qst"
tmux_keys Enter
tmux_wait_for "Go south" || fail "no menu"
tmux_poll 2 mouse_is 11 || fail "the mouse is not reported while the menu waits"

# Stopped with Ctrl+Z the shell gets the mouse back; fg gives it to the menu again.
tmux_keys C-z
tmux_wait_for "Stopped" || fail "Ctrl+Z did not stop the program"
tmux_poll 2 mouse_is 00 || fail "the mouse is still reported while stopped"
tmux_type "fg"
tmux_keys Enter
tmux_poll 2 mouse_is 11 || fail "the mouse is not reported again after fg"
tmux_wait_for "Go south" || fail "the menu is not back after fg"

# A click beside the list, and a right click on an entry, choose nothing.
mouse_at 0 1
mouse_at 2 "$(row_of "Go south")"
sleep 0.3
expect_screen "Go south" || fail "a click beside the list changed the screen"
screen_has() { tmux_capture | grep -qF -- "$1"; }
screen_has "The road" && fail "a click beside the list chose an entry"

mouse_at 0 "$(row_of "Go east")"
tmux_wait_for "The road bends." || fail "a click on the second entry did not choose it"
screen_has "The road climbs." && fail "the click chose the first entry"

# The timed pause runs without a list to click; the anykey after it takes no mouse either.
tmux_wait_for "Which way now?" || fail "the pause did not end"
tmux_poll 2 mouse_is 00 || fail "the mouse is still reported at anykey"
tmux_keys x
tmux_wait_for "Turn back" || fail "no second menu"
tmux_poll 2 mouse_is 11 || fail "the mouse is not reported at the second menu"
mouse_at 65 1
tmux_poll 2 highlighted "Walk down" || fail "the wheel down did not move the highlight"
mouse_at 65 1
tmux_poll 2 highlighted "Turn back" || fail "the second wheel step did not move the highlight"
mouse_at 64 1
tmux_poll 2 highlighted "Walk down" || fail "the wheel up did not move the highlight back"
tmux_keys Enter
tmux_wait_for "The road falls." || fail "Enter after the wheel did not choose the entry"

tmux_keys Escape
tmux_wait_for "<press enter>" || fail "escape: no report"
tmux_keys Enter
tmux_poll 10 program_ended ||
  fail "the program did not end"
# (After Ctrl+Z and fg the shell has dropped the rest of the command line.)
tmux_run "echo prompt-back" || fail "the prompt does not answer"
tmux_poll 2 mouse_is 00 || fail "the mouse is still reported after the end"
tmux_save_stty after
tmux_same_stty before after || fail "terminal settings not restored"
tmux_cleanup

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "PASS"
