# The program as a citizen of Unix terminals (tmux): text painted while a script computes,
# TERM=dumb, the C locale, the line editor of `input`, a Russian keyboard layout in the menu,
# and transcripts beside the play.
# Usage: bash test_terminal_citizen.sh <tindel binary> <source dir>
set -u
TINDEL=$(realpath "$1")
source "$2/tests/e2e/tmux_lib.sh"
tmux_require
esc=$(printf '\033')

# CP866: "Привет", a menu, a rope to list, and a room that reads two lines.
write_quest() {
  printf ':start\r\ninv + rope\r\npln Hello \x8f\xe0\xa8\xa2\xa5\xe2\r\nbtn room, Go to the room\r\nbtn start, Stay here\r\nend\r\n:room\r\ninstr s = none\r\np Say: \r\ninput s\r\npln You said [#%%s$].\r\ninput s\r\npln Again [#%%s$].\r\nbtn start, Back\r\nend\r\n:common\r\nend\r\n' >"$TMUX_DIR/quest.qst"
}

# --- A script that computes for a while after printing: its text shows at once.
tmux_shell
printf 'pln Working on it\r\npause 0 - 1\r\n:loop\r\nn = n + 1\r\nif n < 3000000 then goto loop\r\npln Finished\r\nbtn loop, Again\r\nend\r\n:common\r\nend\r\n' >"$TMUX_DIR/busy.qst"
tmux_type "'$TINDEL' 0 d busy.qst"
tmux_keys Enter
tmux_wait_for "Working on it" 2 || fail "busy: the text did not show while the script ran"
tmux_capture | grep -qF "Finished" && fail "busy: the computation was too short to tell"
tmux_wait_for "Again" 60 || fail "busy: the script did not finish"
tmux_keys Escape
tmux_wait_for "<press enter>" || fail "busy: no report after Escape"
tmux_keys Enter
tmux_cleanup

# --- The line editor: arrows, End, Escape, Up for the last line, Backspace; Ctrl+Z and fg.
tmux_shell
write_quest
tmux_type "'$TINDEL' 0 d quest.qst"
tmux_keys Enter
tmux_wait_for "Stay here" || fail "editor: no menu"
tmux_keys Enter
tmux_wait_for "Say:" || fail "editor: no prompt"
tmux_type "nrth"
tmux_keys Left Left Left
tmux_type "o"
tmux_keys End
tmux_type "!"
tmux_keys C-z
tmux_wait_for "Stopped" || fail "editor: Ctrl+Z did not stop the program"
tmux_type "fg"
tmux_keys Enter
tmux_wait_for "Say: north!" || fail "editor: the line was not kept over Ctrl+Z and fg"
tmux_keys Enter
tmux_wait_for "You said [north!]." || fail "editor: the edited line was not taken"
expect_screen "Say: north!" || fail "editor: the line is not shown where it was typed"
tmux_type "$(printf 'x%.0s' $(seq 1 70))"
tmux_wait_for "$(printf 'x%.0s' $(seq 1 63))" || fail "editor: 63 characters not shown"
tmux_capture | grep -qF "$(printf 'x%.0s' $(seq 1 64))" && fail "editor: more than 63 characters"
tmux_keys Escape
tmux_wait_gone "xxxxxxxxxx" || fail "editor: Escape did not clear the line"
tmux_type "junk"
tmux_keys Escape Up BSpace Enter
tmux_wait_for "Again [north]." || fail "editor: Escape, Up and Backspace did not edit"
tmux_cleanup

# --- A Russian layout: ш lists the inventory, з moves down in the menu.
tmux_shell
write_quest
tmux_type "'$TINDEL' 0 d quest.qst"
tmux_keys Enter
tmux_wait_for "Stay here" || fail "layout: no menu"
tmux_type "ш"
tmux_wait_for "1. rope" || fail "layout: ш did not list the inventory"
tmux_type "з"
tmux_keys Enter
tmux_wait_for "Hello Привет" || fail "layout: з and Enter did not choose Stay here"
tmux_cleanup

# --- The C locale (no LANG, no LC_ALL): Cyrillic as UTF-8, not as raw CP866 bytes.
tmux_shell
write_quest
tmux_type "env -u LANG -u LC_ALL '$TINDEL' 0 d quest.qst"
tmux_keys Enter
tmux_wait_for "Hello Привет" || fail "C locale: Cyrillic not shown as UTF-8"
tmux_cleanup

# --- Standard output to a file: the game is played on the terminal, the file gets the
# plain transcript; TINDEL_TRANSCRIPT does the same beside a terminal output.
for how in redirect variable; do
  tmux_shell
  write_quest
  if [ "$how" = redirect ]; then
    tmux_type "'$TINDEL' 0 d quest.qst > transcript.txt"
  else
    tmux_type "TINDEL_TRANSCRIPT=transcript.txt '$TINDEL' 0 d quest.qst"
  fi
  tmux_keys Enter
  tmux_wait_for "Stay here" || fail "$how: the menu is not on the terminal"
  tmux_keys Enter
  tmux_wait_for "Say:" || fail "$how: the choice was not taken"
  tmux_type "Ann"
  tmux_keys Enter
  tmux_type "Bo"
  tmux_keys Enter
  tmux_wait_for "Back" || fail "$how: no second menu"
  tmux_keys Escape
  tmux_wait_for "<press enter>" || fail "$how: no report after Escape"
  tmux_keys Enter
  tmux_run "true"
  t="$TMUX_DIR/transcript.txt"
  for line in "Hello Привет" "Go to the room" "Say: Ann" "You said [Ann]." "Again [Bo]." \
    "Error: [menu] ESC"; do
    grep -qF -- "$line" "$t" || fail "$how: \"$line\" not in the transcript: $(cat "$t")"
  done
  grep -q "$esc" "$t" && fail "$how: escape sequences in the transcript"
  tmux_cleanup
done

# --- TERM=dumb: keys from the terminal, no escape sequence on it at all.
# write_dumb_session [VARIABLE=VALUE]: the session, with one more variable for the program.
write_dumb_session() {
  TMUX_DIR=$(mktemp -d)
  TMUX_SOCKET="$TMUX_DIR.sock"
  write_quest
  tmux_cmd new-session -d -x 80 -y 25 -s e2e -c "$TMUX_DIR" \
    "sh -c 'sleep 0.5; env -i PATH=\"$PATH\" TERM=dumb LANG=C.UTF-8 ${1:-} \"$TINDEL\" 0 d quest.qst; echo status=\$?; sleep 30'"
  tmux_cmd pipe-pane -t e2e -o "cat >> '$TMUX_DIR/raw.log'"
}
write_dumb_session
tmux_wait_for "Hello Привет" || fail "dumb: the text is not shown before the menu waits"
tmux_wait_for "Stay here" || fail "dumb: the menu is not shown before the choice"
# The highlighted entry is marked "> ", the others indented; the mark follows Down and Up.
menu_now() { tmux_capture | grep -E 'Go to the room|Stay here' | tail -2 | tr '\n' '|'; }
menu_is() { [ "$(menu_now)" = "$1" ]; }
menu_is "> Go to the room|  Stay here|" || fail "dumb: no mark on the first entry: $(menu_now)"
tmux_keys Down
tmux_poll 5 menu_is "  Go to the room|> Stay here|" ||
  fail "dumb: the mark did not move down: $(menu_now)"
tmux_keys Up
tmux_poll 5 menu_is "> Go to the room|  Stay here|" ||
  fail "dumb: the mark did not move up: $(menu_now)"
tmux_type "i"
tmux_wait_for "1. rope" || fail "dumb: the inventory is not shown"
tmux_keys Down Up Enter
tmux_wait_for "Say:" || fail "dumb: the prompt is not shown before the line is typed"
tmux_type "Cy"
tmux_keys Enter
tmux_type "Di"
tmux_keys Enter
tmux_wait_for "You said [Cy]." || fail "dumb: the first typed line was not taken"
tmux_wait_for "Again [Di]." || fail "dumb: the typed lines were not taken"
tmux_keys Escape
tmux_wait_for "<press enter>" || fail "dumb: Escape did not end the menu"
tmux_keys Enter
tmux_wait_for "status=0" || fail "dumb: the program did not end"
[ "$(tmux_capture | grep -c '^Say: Cy$')" = 1 ] || fail "dumb: the typed line is not shown once: $(tmux_capture)"
grep -q "$esc" "$TMUX_DIR/raw.log" &&
  fail "dumb: escape sequences written: $(grep -a "$esc" "$TMUX_DIR/raw.log" | head -3 | cat -v)"
tmux_cleanup

# --- TERM=dumb with a transcript kept: the mark on the terminal, and in the transcript too.
write_dumb_session TINDEL_TRANSCRIPT=transcript.txt
tmux_wait_for "Stay here" || fail "dumb transcript: no menu"
menu_is "> Go to the room|  Stay here|" || fail "dumb transcript: no mark: $(menu_now)"
tmux_keys Down
tmux_poll 5 menu_is "  Go to the room|> Stay here|" || fail "dumb transcript: the mark did not move"
tmux_keys Enter  # stay: the menu as chosen goes into the transcript, and the menu comes again
tmux_poll 5 menu_is "> Go to the room|  Stay here|" || fail "dumb transcript: no second menu"
tmux_keys Escape
tmux_wait_for "<press enter>" || fail "dumb transcript: Escape did not end the menu"
tmux_keys Enter
tmux_wait_for "status=0" || fail "dumb transcript: the program did not end"
grep -qxF "> Stay here" "$TMUX_DIR/transcript.txt" ||
  fail "dumb transcript: the menu's mark is not in it: $(cat "$TMUX_DIR/transcript.txt")"
tmux_cleanup

if [ "$failures" -gt 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "terminal citizen: all passed"
