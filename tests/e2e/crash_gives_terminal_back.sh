# A program that dies of a stack overflow while it holds the terminal in raw mode, with its
# own title and a hidden cursor, gives all of it back: the settings, the title, the cursor.
# The pane's parent is a plain non-interactive sh, which would leave a raw terminal raw.
# Usage: bash crash_gives_terminal_back.sh <crash probe binary> <source dir>
set -u
PROBE=$(realpath "$1")
source "$2/tests/e2e/tmux_lib.sh"
tmux_require

TMUX_DIR=$(mktemp -d)
TMUX_SOCKET="$TMUX_DIR.sock"
# In the sanitizer build the probe must die of the signal, not of AddressSanitizer's report.
tmux_cmd new-session -d -x 80 -y 25 -s e2e -c "$TMUX_DIR" \
  "env -i PATH='$PATH' TERM=screen LANG=C.UTF-8 ASAN_OPTIONS=handle_segv=0:detect_leaks=0 sh -c '
     printf \"\\033]0;shell-title\\007\"; stty -g > before.stty; sleep 0.3
     \"$PROBE\"; echo status=\$?
     stty -g > after.stty; stty -a > after.txt; echo settings-saved; sleep 30'"

tmux_wait_for "settings-saved" 10 || fail "the probe did not end, or the shell did not go on"
status=$(tmux_capture | sed -n 's/^.*status=\([0-9]*\).*$/\1/p' | tail -1)
# 139: the shell's report of SIGSEGV (128 + 11); the signal must not be swallowed.
[ "$status" = 139 ] || fail "the probe did not die of SIGSEGV: status '$status'"
tmux_same_stty before after || fail "the terminal settings were not given back"
grep -qE '(^| )-icanon( |$)' "$TMUX_DIR/after.txt" && fail "canonical input not back: $(cat "$TMUX_DIR/after.txt")"
grep -qE '(^| )-echo( |$)' "$TMUX_DIR/after.txt" && fail "echo not back: $(cat "$TMUX_DIR/after.txt")"
title=$(tmux_cmd display-message -p -t e2e '#{pane_title}')
[ "$title" = shell-title ] || fail "the title was not given back: '$title'"
cursor=$(tmux_cmd display-message -p -t e2e '#{cursor_flag}')
[ "$cursor" = 1 ] || fail "the cursor is still hidden"

if [ "$failures" -gt 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "crash gives the terminal back: all passed"
