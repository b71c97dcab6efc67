# Helpers for end-to-end tests of the terminal front end: a detached tmux session of 80x25
# on a private server, keys sent to it, and its screen read back.
# Source this file; it sets a trap that removes the session and the temporary directory.

# Leaves with success when tmux is missing: the test cannot run here.
tmux_require() {
  if ! command -v tmux >/dev/null 2>&1; then
    echo "SKIP: tmux is not installed"
    exit 0
  fi
}

# A server of its own for each session, its socket in the session's temporary directory:
# a server just killed may still hold its socket, and nothing is left behind.
TMUX_SOCKET=""
TMUX_DIR=""

tmux_cmd() { tmux -S "$TMUX_SOCKET" -f /dev/null "$@"; }

tmux_cleanup() {
  [ -n "$TMUX_SOCKET" ] && tmux_cmd kill-server >/dev/null 2>&1
  [ -n "$TMUX_DIR" ] && rm -rf "$TMUX_DIR" "$TMUX_SOCKET"
  TMUX_SOCKET=""
  TMUX_DIR=""
}
trap tmux_cleanup EXIT

# tmux_start COMMAND: runs COMMAND in a new 80x25 session, in a fresh temporary directory
# ($TMUX_DIR), with a UTF-8 locale and a plain prompt "$ ".
tmux_start() {
  TMUX_DIR=$(mktemp -d)
  TMUX_SOCKET="$TMUX_DIR.sock"
  tmux_cmd new-session -d -x 80 -y 25 -s e2e -c "$TMUX_DIR" \
    "env -i PATH='$PATH' HOME='$TMUX_DIR' TERM=screen LANG=C.UTF-8 LC_ALL=C.UTF-8 PS1='$ ' $1"
}

# tmux_shell: a shell without start-up files, waiting at its prompt.
tmux_shell() {
  tmux_start "bash --norc --noprofile"
  tmux_wait_for '$' 5
}

# tmux_game_pid: the process that the shell of the pane started (the game), or nothing.
tmux_game_pid() {
  local shell_pid
  shell_pid=$(tmux_cmd display-message -p -t e2e '#{pane_pid}')
  ps -o pid= --ppid "$shell_pid" | head -1 | tr -d ' '
}

tmux_keys() { tmux_cmd send-keys -t e2e "$@"; }
tmux_type() { tmux_cmd send-keys -t e2e -l "$1"; }

tmux_capture() { tmux_cmd capture-pane -p -t e2e; }
# With the colours as escape sequences.
tmux_capture_colours() { tmux_cmd capture-pane -p -e -t e2e; }

# tmux_wait_for TEXT [SECONDS]: polls the screen until TEXT shows; prints the screen and
# fails when it does not show in time (default 5 seconds).
tmux_wait_for() {
  local text=$1 limit=${2:-5} tries
  tries=$((limit * 20))
  while [ "$tries" -gt 0 ]; do
    if tmux_capture | grep -qF -- "$text"; then return 0; fi
    sleep 0.05
    tries=$((tries - 1))
  done
  echo "FAIL: \"$text\" did not appear within ${limit}s; the screen:" >&2
  tmux_capture >&2
  return 1
}

# tmux_wait_gone TEXT [SECONDS]: polls the screen until TEXT is no longer on it.
tmux_wait_gone() {
  local text=$1 limit=${2:-5} tries
  tries=$((limit * 20))
  while [ "$tries" -gt 0 ]; do
    if ! tmux_capture | grep -qF -- "$text"; then return 0; fi
    sleep 0.05
    tries=$((tries - 1))
  done
  echo "FAIL: \"$text\" still on the screen after ${limit}s" >&2
  return 1
}

# tmux_poll SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds; fails when it
# has not succeeded within SECONDS.
tmux_poll() {
  local tries=$(($1 * 20))
  shift
  while [ "$tries" -gt 0 ]; do
    if "$@"; then return 0; fi
    sleep 0.05
    tries=$((tries - 1))
  done
  return 1
}

# tmux_run LINE: types LINE at the shell prompt and waits until it has finished; the exit
# status of LINE is left in $TMUX_STATUS.
TMUX_RUNS=0
tmux_run() {
  TMUX_RUNS=$((TMUX_RUNS + 1))
  local marker="done-$TMUX_RUNS"
  tmux_type "$1; echo \"$marker\"\"=\$?\""
  tmux_keys Enter
  tmux_wait_for "$marker=" "${2:-5}" || return 1
  TMUX_STATUS=$(tmux_capture | sed -n "s/^$marker=\([0-9]*\).*/\1/p" | tail -1)
}

# tmux_save_stty NAME: the pane's terminal settings into $TMUX_DIR/NAME.stty.
tmux_save_stty() { tmux_run "stty -g > $1.stty"; }

# tmux_same_stty A B: fails with both settings shown when they differ.
tmux_same_stty() {
  if ! cmp -s "$TMUX_DIR/$1.stty" "$TMUX_DIR/$2.stty"; then
    echo "FAIL: terminal settings changed: $(cat "$TMUX_DIR/$1.stty") -> $(cat "$TMUX_DIR/$2.stty")" >&2
    return 1
  fi
}

# expect_screen TEXT: fails, showing the screen, when TEXT is not on it now.
expect_screen() {
  if ! tmux_capture | grep -qF -- "$1"; then
    echo "FAIL: \"$1\" is not on the screen:" >&2
    tmux_capture >&2
    return 1
  fi
}

# fail MESSAGE: records one failure of the test and says what it was.
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
