# Stackle Point played by keys in a real terminal (tmux, 80x25): the screen at every step,
# the colours of the highlight, the page break, the timed wave, the use actions, the end;
# a menu that waits costs no CPU and sends nothing; Escape ends with the report and gives
# the prompt back.
# Usage: bash test_playthrough_tmux.sh <tindel binary> <source dir>
set -u
TINDEL=$(realpath "$1")
SRC=$(realpath "$2")
source "$SRC/tests/e2e/tmux_lib.sh"
tmux_require
esc=$(printf '\033')

screen_has() { tmux_capture | grep -qF -- "$1"; }
line_with() { tmux_capture_colours | grep -F -- "$1" | head -1; }

# The process the shell of the pane started: the game.
game_pid() {
  local shell_pid
  shell_pid=$(tmux_cmd display-message -p -t e2e '#{pane_pid}')
  ps -o pid= --ppid "$shell_pid" | head -1 | tr -d ' '
}

# CPU ticks (user + system) the process has used so far.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Bytes the process has written so far (to the terminal, here).
bytes_written() { awk '/^wchar:/ { print $2 }' "/proc/$1/io"; }

# expect_idle WHAT PID SECONDS: over that time the process uses (almost) no CPU and writes
# nothing.
expect_idle() {
  local what=$1 pid=$2 seconds=$3 cpu0 cpu1 out0 out1
  cpu0=$(cpu_ticks "$pid")
  out0=$(bytes_written "$pid")
  sleep "$seconds"
  cpu1=$(cpu_ticks "$pid")
  out1=$(bytes_written "$pid")
  [ $((cpu1 - cpu0)) -le 2 ] || fail "$what: $((cpu1 - cpu0)) CPU ticks used in ${seconds}s"
  [ "$out1" = "$out0" ] || fail "$what: $((out1 - out0)) bytes sent in ${seconds}s"
}

start_game() {
  tmux_shell
  cp "$SRC/examples/stackle.qst" "$TMUX_DIR/"
  tmux_save_stty before
  tmux_type "TINDEL_SEED=7 '$TINDEL' 0 w stackle.qst; echo \"status\"\"=\$?\""
  tmux_keys Enter
  tmux_wait_for "Press any key to begin." || fail "no title screen"
}

# --- The whole story.
start_game
case $(line_with "S T A C K L E") in
  *"93"*"S T A C K L E"*) ;;
  *) fail "title: not in yellow: $(line_with "S T A C K L E" | cat -v)" ;;
esac
screen_has "usage: tindel" && fail "title: cls did not clear the banner"
tmux_keys x
tmux_wait_for "What is your name, traveller?" || fail "anykey: no question"
tmux_type "Ada"
tmux_keys Enter
tmux_wait_for "Step out into the storm" || fail "input: no menu after the name"
case $(line_with "Step out into the storm") in
  *"93"*"44"*"Step out into the storm"*) ;;
  *) fail "menu: the highlight is not yellow on blue: $(line_with "Step out" | cat -v)" ;;
esac
pid=$(game_pid)
[ -n "$pid" ] || fail "no game process found"
[ -n "$pid" ] && expect_idle "untimed menu" "$pid" 2

tmux_keys Enter
tmux_wait_for "THE SHORE" || fail "shore: not reached"
expect_screen "Stackle Point  -  Ada  -  turn 1" || fail "shore: no status line"
screen_has "a night at the lighthouse" && fail "shore: the common location did not clear"
case $(line_with "Climb the cliff path") in
  *"44"*"Climb the cliff path"*) fail "shore: the second entry is highlighted too" ;;
esac
tmux_keys Down
sleep 0.2
case $(line_with "Climb the cliff path") in
  *"93"*"44"*"Climb the cliff path"*) ;;
  *) fail "shore: Down did not move the highlight: $(line_with "Climb the cliff" | cat -v)" ;;
esac
tmux_keys Up Enter
tmux_wait_for "THE KEEPER'S COTTAGE" || fail "cottage: not reached"
tmux_keys Down Enter
tmux_wait_for "You pocket the tin box." || fail "cottage: matches not taken"
tmux_keys Down Enter
tmux_wait_for "You lift the lantern" || fail "cottage: lantern not taken"

tmux_keys Enter
tmux_wait_for "[next]" || fail "log book: no page break"
[ "$(tmux_capture | sed -n 25p)" = "[next]" ] || fail "log book: [next] not on the last row"
[ "$(tmux_capture | sed -n 24p)" = "  16 March. Down to the village for oil before the worst of it." ] ||
  fail "log book: the page does not end with the 16 March entry"
screen_has "The last line is smudged" && fail "log book: text after the break shown early"
[ -n "$pid" ] && expect_idle "[next]" "$pid" 1
tmux_keys x Down
sleep 0.2
screen_has "The last line is smudged" && fail "log book: a key other than Enter went on"
tmux_keys Enter
tmux_wait_for "Close the book" || fail "log book: Enter did not go on"
expect_screen "The last line is smudged" || fail "log book: the rest of the log not shown"

tmux_keys Enter
tmux_wait_for "THE KEEPER'S COTTAGE" || fail "cottage: not reached again"
tmux_keys Down Enter
tmux_wait_for "THE SHORE" || fail "shore: not reached again"
tmux_keys Down Enter
tmux_wait_for "A great wave is coming. Quick!" || fail "path: no wave"
[ -n "$pid" ] && expect_idle "timed menu" "$pid" 1
tmux_wait_for "Too late." 6 || fail "path: the pause did not run out"
tmux_wait_for "Go on" || fail "path: no menu after the wave"
tmux_keys Enter
tmux_wait_for "THE TOWER" || fail "tower: not reached"
expect_screen "Water runs out of your boots" || fail "tower: the wave did not soak"

tmux_keys Enter
tmux_wait_for "Which number do you set?" || fail "lock: no question"
tmux_type "1887"
tmux_keys Enter
tmux_wait_for "swings open" || fail "lock: the right number did not open it"
tmux_keys Enter
tmux_wait_for "The store stands open and empty." || fail "tower: not reached after the lock"
tmux_keys i
tmux_wait_for "3. matches" || fail "inventory: not listed"
expect_screen "1. oilcan" || fail "inventory: the oil can is missing"
tmux_keys F6 # the key code of F6 is that of "u"
tmux_wait_for "use_lantern_light" || fail "use: F6 added no actions"
tmux_keys F1 Down Down Enter # F1 moves down as "p" does
tmux_wait_for "You strike a match." || fail "use: the lantern was not lit"
tmux_wait_for "+se_lantern_light" || fail "use: the action is not marked as used"
tmux_keys Up Up Up Enter
tmux_wait_for "THE LAMP ROOM" || fail "stair: the lamp room not reached"
tmux_keys Enter
tmux_wait_for "Light the great lamp" || fail "lamp room: no oil poured"
tmux_keys Enter
tmux_wait_for "Press any key to leave." || fail "ending: not reached"
expect_screen "Well done, Ada." || fail "ending: no name"
tmux_keys x
tmux_wait_for "status=" || fail "ending: the program did not end"
expect_screen "status=0" || fail "ending: exit status not 0"
expect_screen "Well done, Ada." || fail "ending: the last text is not left on the screen"
tmux_save_stty after
tmux_same_stty before after || fail "ending: terminal settings not restored"
tmux_run "echo prompt-back" && expect_screen "prompt-back" || fail "ending: the prompt does not answer"
tmux_cleanup

# --- Escape at a menu: the report, Enter, status 0, the prompt usable.
start_game
tmux_keys x
tmux_wait_for "What is your name, traveller?" || fail "escape: no question"
tmux_type "Ada"
tmux_keys Enter
tmux_wait_for "Step out into the storm" || fail "escape: no menu"
tmux_keys Escape
tmux_wait_for "Error: [menu] ESC" || fail "escape: no report"
expect_screen "<stackle.qst>" || fail "escape: the report does not name the quest"
tmux_wait_for "<press enter>" || fail "escape: no <press enter>"
screen_has "status=" && fail "escape: the program ended before Enter"
tmux_keys Enter
tmux_wait_for "status=" || fail "escape: the program did not end after Enter"
expect_screen "status=0" || fail "escape: exit status not 0"
[ -f "$TMUX_DIR/debug.txt" ] || fail "escape: no debug.txt"
tmux_save_stty after
tmux_same_stty before after || fail "escape: terminal settings not restored"
tmux_run "echo prompt-back" && expect_screen "prompt-back" || fail "escape: the prompt does not answer"
tmux_cleanup

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "PASS"
