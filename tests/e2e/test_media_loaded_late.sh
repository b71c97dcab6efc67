#!/bin/bash
# The sound and picture libraries are opened when a quest first needs them, never at
# start-up: a quest that plays nothing does not load them, one that plays a sound loads the
# sound libraries and only those. The dynamic loader's own record tells what was loaded.
# Usage: test_media_loaded_late.sh <tindel binary> <source dir>
source "$(dirname "$0")/e2e_lib.sh" "$@"

if ! LD_DEBUG=help /bin/true 2>&1 | grep -q files; then
  echo "SKIP: the dynamic loader here keeps no record of the files it opens"
  exit 0
fi

cp "$SRC/examples/knock.wav" .
export SDL_AUDIODRIVER=dummy
unset TINDEL_MIDI_PLAYER TINDEL_WAVE_PLAYER TINDEL_IMAGE_VIEWER

quest() { printf '%s\n' "$@" | sed 's/$/\r/' >quest.qst; }
# Runs the quest with the loader's record in loaded.txt.
run() {
  rm -f ld.*
  LD_DEBUG=files LD_DEBUG_OUTPUT="$WORK/ld" timeout 20 "$TINDEL" 0 w quest.qst </dev/null \
    >out.txt 2>err.txt
  cat ld.* >loaded.txt 2>/dev/null
}
loaded() { grep -q "file=$1" loaded.txt; }

quest 'pln A quiet room' 'btn quiet, Stay' 'end' ':quiet' 'pln Still quiet' 'end'
run
grep -q "A quiet room" out.txt || fail "quiet: the quest did not run: $(cat out.txt err.txt)"
[ -s loaded.txt ] || fail "quiet: the loader kept no record"
for library in libSDL2 libchafa libturbojpeg libglib libfluidsynth; do
  loaded "$library" && fail "quiet: $library was loaded by a quest that plays nothing"
done

quest 'pln Knock knock' 'play knock' 'pause 100' 'btn start, Again' 'end'
run
grep -q "Knock knock" out.txt || fail "sound: the quest did not run: $(cat out.txt err.txt)"
loaded libSDL2_mixer || fail "sound: the sound library was not loaded for the sound"
for library in libchafa libturbojpeg; do
  loaded "$library" && fail "sound: $library was loaded by a quest that shows no picture"
done

finish "media libraries loaded late"
