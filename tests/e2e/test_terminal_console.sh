# The program on a real terminal (tmux): what it shows, the keys it takes, and the terminal
# left as it was however the program ends.
# Usage: bash test_terminal_console.sh <tindel binary> <source dir>
set -u
TINDEL=$(realpath "$1")
source "$2/tests/e2e/tmux_lib.sh"
tmux_require
esc=$(printf '\033')

# A two-location quest in CP866: "Привет" in the text, a menu, a number to type in.
write_quest() {
  printf ':start\r\npln Hello \x8f\xe0\xa8\xa2\xa5\xe2\r\nbtn room, Go to the room\r\nbtn start, Stay here\r\nend\r\n:room\r\npln In the room.\r\ninput n\r\npln You said #n$.\r\nbtn start, Back\r\nend\r\n:common\r\nend\r\n' >"$TMUX_DIR/quest.qst"
}

# The prompt takes commands again after the program.
check_prompt_usable() {
  tmux_run "echo prompt-back" || fail "$1: the shell does not answer"
  expect_screen "prompt-back" || fail "$1: no echo from the shell"
}

highlighted_line() { tmux_capture_colours | grep -F -- "$1" | head -1; }

# --- A missing quest: banner, usage, message, status 1.
tmux_shell
tmux_save_stty before
tmux_run "'$TINDEL' 0 d missing.qst"
[ "$TMUX_STATUS" = 1 ] || fail "missing quest: exit status $TMUX_STATUS, not 1"
for text in "Tindel v0.0.9" "usage: tindel <mode> <codepage> <file_name.qst>" \
  "file <missing.qst> not found"; do
  expect_screen "$text" || fail "missing quest: \"$text\" not shown"
done
tmux_save_stty after
tmux_same_stty before after || fail "missing quest: terminal settings not restored"
check_prompt_usable "missing quest"
tmux_cleanup

# --- Playing: colours of the menu, arrows, Enter, a typed line, Escape and its report.
tmux_shell
write_quest
tmux_save_stty before
tmux_type "'$TINDEL' 0 d quest.qst; echo \"status\"\"=\$?\""
tmux_keys Enter
tmux_wait_for "Stay here" || fail "play: no menu"
expect_screen "Hello Привет" || fail "play: CP866 text not shown as UTF-8"
case $(highlighted_line "Go to the room") in
  *"$esc[93m$esc[47mGo to the room"* | *"$esc[93;47mGo to the room"*) ;;
  *) fail "play: the first entry is not yellow on grey: $(highlighted_line "Go to the room" | cat -v)" ;;
esac
tmux_keys Down
stay_highlighted() { case $(highlighted_line "Stay here") in *"93"*"47"*"Stay here"*) ;; *) false ;; esac; }
tmux_poll 3 stay_highlighted ||
  fail "play: Down did not move the highlight: $(highlighted_line "Stay here" | cat -v)"
tmux_keys Up Enter
tmux_wait_for "In the room." || fail "play: Enter did not choose the entry"
tmux_type "42"
tmux_keys Enter
tmux_wait_for "You said 42." || fail "play: the typed line was not taken"
tmux_wait_for "Back" || fail "play: no menu after the typed line"
tmux_keys Escape
tmux_wait_for "[menu] ESC" || fail "play: Escape did not end the menu"
tmux_keys Enter
tmux_wait_for "status=" || fail "play: the program did not end after the report"
expect_screen "status=0" || fail "play: Escape did not end with status 0"
tmux_save_stty after
tmux_same_stty before after || fail "play: terminal settings not restored"
check_prompt_usable "play"
tmux_cleanup

# --- Ctrl+Z gives the terminal back while stopped; "fg" takes it again and repaints.
# Ctrl+C in the menu ends the program like any terminal program. The settings are taken
# by a shell that outlives the program, before the interactive shell can repair anything.
tmux_shell
write_quest
tmux_save_stty before
tmux_type "bash -c 'trap \"stty -g > after.stty; exit 7\" INT; \"$TINDEL\" 0 d quest.qst; echo \$? > status'"
tmux_keys Enter
tmux_wait_for "Stay here" || fail "ctrl-c: no menu"
tmux_keys C-z
tmux_wait_for "Stopped" || fail "ctrl-z: the program did not stop"
tmux_save_stty stopped
tmux_same_stty before stopped || fail "ctrl-z: terminal settings not given back while stopped"
tmux_type "fg"
tmux_keys Enter
tmux_wait_gone "Stopped" || fail "ctrl-z: no repaint after fg"
expect_screen "Stay here" || fail "ctrl-z: the menu is not drawn again after fg"
tmux_keys C-c
tmux_run "echo \"interrupted\"\"=\$?\"" || fail "ctrl-c: the program did not end"
expect_screen "interrupted=7" || fail "ctrl-c: the program did not end by SIGINT"
tmux_same_stty before after || fail "ctrl-c: terminal settings not restored"
check_prompt_usable "ctrl-c"
tmux_cleanup

# --- NO_COLOR: no colours, the highlight in reverse video.
tmux_shell
write_quest
tmux_type "NO_COLOR=1 '$TINDEL' 0 d quest.qst"
tmux_keys Enter
tmux_wait_for "Stay here" || fail "no-color: no menu"
case $(highlighted_line "Go to the room") in
  *"$esc[7m"*"Go to the room"*) ;;
  *) fail "no-color: highlight not in reverse: $(highlighted_line "Go to the room" | cat -v)" ;;
esac
if tmux_capture_colours | grep -q "$esc\[[0-9;]*[34][0-7]m"; then
  fail "no-color: colours were sent"
fi
tmux_keys C-c
tmux_cleanup

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "PASS"
