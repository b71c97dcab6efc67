#!/bin/bash
# The README's command examples that need no terminal, run as the README shows them: from the
# examples folder, with the program at ../build/tindel; play reads no key (the input ends at
# the first wait, which ends a game with status 0).
# Usage: test_readme_examples.sh <tindel binary> <source dir>
source "$(dirname "$0")/e2e_lib.sh" "$@"
export SDL_AUDIODRIVER=dummy TINDEL_SEED=1
unset TINDEL_MIDI_PLAYER TINDEL_WAVE_PLAYER TINDEL_IMAGE_VIEWER

mkdir build
ln -s "$TINDEL" build/tindel
cp -r "$SRC/examples" examples
cd examples || exit 1

examples=0
while read -r line; do
  command=${line%%#*}
  examples=$((examples + 1))
  eval "$command" </dev/null >out.txt 2>err.txt
  status=$?
  [ "$status" = 0 ] || fail "'$command': exit status $status: $(tail -3 out.txt) $(cat err.txt)"
  grep -qF "Error:" out.txt && fail "'$command': an error report: $(grep -F Error: out.txt)"
  case "$command" in
    *" 3 w "*) grep -qF "is checked!" out.txt || fail "'$command': the check did not finish" ;;
    *) [ "$(wc -l <out.txt)" -gt 10 ] || fail "'$command': the quest showed nothing" ;;
  esac
done < <(awk '/^```sh$/ { block = 1; next } /^```$/ { block = 0 } block && /^\.\.\/build\/tindel /' "$SRC/README.md")
[ "$examples" -ge 4 ] || fail "only $examples examples found in the README"

# The conversion of a Windows-1251 quest to UTF-8: played with code page u it shows the same.
convert=$(grep -o 'iconv -f CP1251 -t UTF-8 old.qst > new.qst' "$SRC/README.md")
[ -n "$convert" ] || fail "the README no longer shows the iconv line"
cp kolokol.qst old.qst
eval "$convert" || fail "'$convert' failed"
../build/tindel 0 w old.qst </dev/null 2>/dev/null | sed 1,7d >w.out
../build/tindel 0 u new.qst </dev/null 2>/dev/null | sed 1,7d >u.out
cmp -s w.out u.out || fail "the converted quest plays otherwise: $(diff w.out u.out | head -5)"

# Punctuation of Windows-1251 that the conversion does not map: the CP866 character of the same
# byte with w, "?" with u where CP866 lacks it.
printf 'pln \xab\xe4\xee\xec\xbb\r\n' >quote.qst
iconv -f CP1251 -t UTF-8 quote.qst >quote-u.qst
[ "$(LANG=C.UTF-8 ../build/tindel 0 w quote.qst </dev/null 2>/dev/null | tail -1)" = "лдом╗" ] ||
  fail "«дом» with code page w does not show as the README says"
[ "$(LANG=C.UTF-8 ../build/tindel 0 u quote-u.qst </dev/null 2>/dev/null | tail -1)" = "?дом?" ] ||
  fail "«дом» with code page u does not show as the README says"

finish "README examples"
