#!/bin/bash
# Music and sounds of the whole program, heard through SDL's disk driver (no sound card
# needed): what a run plays is recorded; the media log tells what happened and why.
# Usage: test_media_sound.sh <tindel binary> <source dir>
source "$(dirname "$0")/e2e_lib.sh" "$@"

cp "$SRC/examples/1.mid" "$SRC/examples/knock.wav" .
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/device.raw" TINDEL_MEDIA_LOG="$WORK/media.log"
unset TINDEL_MIDI_PLAYER TINDEL_WAVE_PLAYER TINDEL_IMAGE_VIEWER

quest() { printf '%s\n' "$@" | sed 's/$/\r/' >quest.qst; }
run() { rm -f media.log device.raw; timeout 20 "$TINDEL" "$@" quest.qst </dev/null >out.txt 2>err.txt; }
logged() { grep -qF -- "$1" media.log 2>/dev/null; }

# The largest sample (16-bit, little-endian) of the recording from frame $1 on.
loudest_from() {
  od -An -v -t d2 -w4 -j $(($1 * 4)) device.raw 2>/dev/null |
    awk '{ for (i = 1; i <= NF; i++) { v = $i < 0 ? -$i : $i; if (v > m) m = v } } END { print m + 0 }'
}

# --- A check of the quest opens no audio device, even with every medium present.
quest 'music = 1' 'play knock' 'music = 0'
run 3 w
[ -e device.raw ] && fail "check: the audio device was opened"
logged "audio device open" && fail "check: $(cat media.log)"
grep -qF "syntax <quest.qst> is checked!" out.txt || fail "check: $(cat out.txt)"

# --- A run that ends while the tune plays: heard, then stopped, the device closed, and the
# program did not wait for the 28 seconds of the tune.
quest 'music = 1' 'play knock' 'pause 700'
start=$(date +%s)
run 0 w
status=$?
[ "$status" -eq 0 ] || fail "play: exit status $status: $(cat err.txt)"
[ $(($(date +%s) - start)) -lt 10 ] || fail "play: the program waited for the tune"
[ -s err.txt ] && fail "play: the libraries wrote to standard error: $(cat err.txt)"
for line in "soundfont /usr/share/sounds/sf2/" "audio device open: SDL driver disk" \
  "music 1.mid started" "sound knock.wav started" "music 1.mid stopped" "audio device closed"; do
  logged "$line" || fail "play: no \"$line\" in the log: $(cat media.log)"
done
[ "$(loudest_from 0)" -gt 1000 ] || fail "play: the recording is silent"
grep -qF " play <knock.wav>" out.txt || fail "play: no echo line: $(cat out.txt)"

# --- An error report ends the program with the music stopped as well.
quest 'music = 1' 'pause 300' 'music 1'
run 0 w
grep -qF '[music] "=" expected' out.txt || fail "error: no report: $(cat out.txt)"
logged "music 1.mid stopped" || fail "error: the tune was not stopped: $(cat media.log)"
logged "audio device closed" || fail "error: the device was not closed"

# --- Stopping leaves silence: after music = 0 nothing more is heard.
quest 'music = 1' 'pause 500' 'music = 0' 'pause 500'
run 0 w
frames=$(($(stat -c %s device.raw) / 4))
[ "$frames" -gt 44100 ] || fail "stop: only $frames frames recorded"
[ "$(loudest_from 0)" -gt 1000 ] || fail "stop: the tune was not heard"
[ "$(loudest_from $((frames - 13000)))" -le 64 ] || fail "stop: still sounding after music = 0"

# --- A soundfont named but missing is told in the log; the default takes over.
quest 'music = 1'
TINDEL_SOUNDFONT=/nonexistent/gm.sf2 run 0 w
logged "soundfont passed over: TINDEL_SOUNDFONT: /nonexistent/gm.sf2: not found" ||
  fail "soundfont: $(cat media.log)"

# --- No audio device: silent towards the quest and the screen, the reason in the log.
quest 'play knock' 'pln still here'
SDL_AUDIODRIVER=no-such-driver run 0 w
grep -qF "still here" out.txt || fail "no device: the quest did not go on"
[ -s err.txt ] && fail "no device: standard error: $(cat err.txt)"
logged "no audio: " || fail "no device: no reason logged: $(cat media.log)"

# --- A player named by the variable takes the medium; the engine stays closed.
printf '#!/bin/sh\necho "$@" >>"%s/player.args"\n' "$WORK" >player.sh
chmod +x player.sh
quest 'play knock' 'pause 300'
TINDEL_WAVE_PLAYER="$WORK/player.sh" run 0 w
grep -qF "knock.wav" player.args 2>/dev/null || fail "player: not started"
logged "sound knock.wav handed to TINDEL_WAVE_PLAYER" || fail "player: $(cat media.log)"
logged "audio device open" && fail "player: the engine opened the device as well"

# --- A player does not outlive the program, not even a kill -9 of it (Linux).
printf '#!/bin/sh\necho $$ >"%s/sleeper.pid"\nexec sleep 60\n' "$WORK" >sleeper.sh
chmod +x sleeper.sh
quest 'music = 1' 'anykey'
rm -f sleeper.pid
mkfifo keys.fifo  # held open and never written: the program waits at anykey
TINDEL_MIDI_PLAYER="$WORK/sleeper.sh" "$TINDEL" 0 w quest.qst <keys.fifo >out.txt 2>&1 &
tindel_pid=$!
disown "$tindel_pid"  # killed on purpose: no notice of it
exec 3>keys.fifo
for _ in $(seq 100); do [ -s sleeper.pid ] && break; sleep 0.05; done
player_pid=$(cat sleeper.pid 2>/dev/null)
# Gone, or a zombie that a container's init has not collected yet: nothing plays either way.
player_gone() { ! kill -0 "$player_pid" 2>/dev/null || ps -o stat= -p "$player_pid" | grep -q Z; }
if [ -z "$player_pid" ]; then
  fail "kill: the player did not start"
else
  player_gone && fail "kill: the player ended before the program was killed"
  kill -9 "$tindel_pid"
  for _ in $(seq 100); do player_gone && break; sleep 0.05; done
  player_gone || fail "kill: the player $player_pid still runs 5 s after kill -9 of the program"
  kill "$player_pid" 2>/dev/null
fi
exec 3>&-

# --- Nothing played is never silent in the log: a missing file, a medium turned off.
quest 'music = 8' 'play nothere' 'image = 77' 'music = 1' 'pause 100'
TINDEL_MIDI_PLAYER= run 0 w
for line in "music 8.mid: no such file in the current directory" \
  "sound nothere.wav: no such file in the current directory" \
  "picture 77.jpg: no such file in the current directory" \
  "music 1.mid not played: TINDEL_MIDI_PLAYER is set but empty, which turns it off"; do
  logged "$line" || fail "silence: no \"$line\" in the log: $(cat media.log)"
done
logged "handed to TINDEL_MIDI_PLAYER" && fail "silence: an empty player was handed a tune"

finish "media sound"
