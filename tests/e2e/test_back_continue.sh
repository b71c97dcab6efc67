# Back, restart and continuing in a real terminal (tmux, 80x25): Back shows the menu before;
# a game killed with SIGKILL at a menu continues there exactly with --continue; a truncated
# file, a flipped byte and an edited quest each give a new game and one line on stderr; a
# plain start asks nothing.
# Usage: bash test_back_continue.sh <tindel binary> <source dir>
set -u
TINDEL=$(realpath "$1")
SRC=$(realpath "$2")
source "$SRC/tests/e2e/tmux_lib.sh"
tmux_require

# start LINE: the game started by LINE at the prompt, its stderr into err.txt.
start() {
  tmux_cmd send-keys -t e2e "clear" Enter
  tmux_type "TINDEL_SEED=3 $1 2>err.txt"
  tmux_keys Enter
}

kill_game() {
  local pid
  pid=$(tmux_game_pid)
  [ -n "$pid" ] || { fail "no game to kill"; return; }
  kill -KILL "$pid"
  tmux_poll 5 bash -c "! kill -0 $pid 2>/dev/null" || fail "the game outlived SIGKILL"
  tmux_keys Enter
  sleep 0.3
}

moment_file() { ls "$TMUX_DIR"/.local/state/tindel/stackle.qst-*.moment 2>/dev/null | head -1; }

tmux_shell
cp "$SRC/examples/stackle.qst" "$TMUX_DIR/"

# --- Three choices, Back, then the game killed at the cottage's menu.
start "'$TINDEL' stackle.qst"
tmux_wait_for "Press any key to begin." || fail "no title screen"
tmux_keys x
tmux_wait_for "What is your name, traveller?" || fail "no question"
tmux_type "Ada"
tmux_keys Enter
tmux_wait_for "Step out into the storm" || fail "no first menu"
tmux_keys Enter
tmux_wait_for "THE SHORE" || fail "no shore"
tmux_keys Enter
tmux_wait_for "THE KEEPER'S COTTAGE" || fail "no cottage"
tmux_keys Down Enter
tmux_wait_for "You pocket the tin box" || fail "no matches"
tmux_keys BSpace
tmux_wait_gone "You pocket the tin box" || fail "Back: the matches' text stays"
tmux_wait_for "Take the matches" || fail "Back: the cottage's menu is not back"
sleep 0.3
tmux_capture >"$TMUX_DIR/before.txt"
[ -n "$(moment_file)" ] || fail "no file of moments under ~/.local/state/tindel"
kill_game

# --- It continues at that menu, exactly, and plays on from there.
start "'$TINDEL' --continue stackle.qst"
tmux_wait_for "Take the matches" || fail "--continue: not at the cottage"
sleep 0.3
tmux_capture >"$TMUX_DIR/after.txt"
diff "$TMUX_DIR/before.txt" "$TMUX_DIR/after.txt" >&2 || fail "--continue: another screen"
[ -s "$TMUX_DIR/err.txt" ] && fail "--continue: stderr says $(cat "$TMUX_DIR/err.txt")"
tmux_keys Down Enter
tmux_wait_for "You pocket the tin box" || fail "--continue: the menu does not play on"
kill_game
good=$TMUX_DIR/good.moment
cp "$(moment_file)" "$good"

# The player's own quit at the first menu: Escape, then Enter after the report.
quit_at_first_menu() {
  tmux_keys x
  tmux_wait_for "What is your name, traveller?" || fail "$1: no question"
  tmux_type "Ada"
  tmux_keys Enter
  tmux_wait_for "Step out into the storm" || fail "$1: no first menu"
  tmux_keys Escape
  tmux_wait_for "<press enter>" || fail "$1: no report"
  tmux_keys Enter
  tmux_poll 5 test -s "$TMUX_DIR/err.txt" || fail "$1: nothing on stderr"
  sleep 0.2
}

# --- Files that cannot be used: a new game, and one line saying why when the game ends.
expect_new_game() {
  local what=$1 why=$2
  start "'$TINDEL' --continue stackle.qst"
  tmux_wait_for "Press any key to begin." || fail "$what: no new game"
  quit_at_first_menu "$what"
  [ "$(wc -l <"$TMUX_DIR/err.txt")" -eq 1 ] || fail "$what: stderr is not one line: $(cat "$TMUX_DIR/err.txt")"
  grep -qF -- "$why" "$TMUX_DIR/err.txt" || fail "$what: stderr: $(cat "$TMUX_DIR/err.txt")"
}
size=$(stat -c %s "$good")
head -c $((size / 2)) "$good" >"$(moment_file)"
expect_new_game "truncated" "damaged"
cp "$good" "$(moment_file)"
printf '\x55' | dd of="$(moment_file)" bs=1 seek=$((size / 3)) conv=notrunc status=none
expect_new_game "a flipped byte" "damaged"
cp "$good" "$(moment_file)"
printf '; an edit\r\n' >>"$TMUX_DIR/stackle.qst"
expect_new_game "an edited quest" "another text of the quest"

# --- A plain start asks nothing and says nothing, whatever the file holds.
start "'$TINDEL' stackle.qst"
tmux_wait_for "Press any key to begin." || fail "plain start: no title screen"
tmux_capture | grep -qF "Continue where" && fail "plain start: asks to continue"
kill_game
[ -s "$TMUX_DIR/err.txt" ] && fail "plain start: stderr says $(cat "$TMUX_DIR/err.txt")"

if [ "$failures" -gt 0 ]; then
  echo "0 passed, $failures failed"
  exit 1
fi
echo "test_back_continue: all passed"
