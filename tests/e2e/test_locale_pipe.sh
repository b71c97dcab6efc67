# The locale's character set through pipes: what the C locale and the Cyrillic charsets show,
# how typed text comes back, and media files named in Cyrillic.
# Usage: bash test_locale_pipe.sh <tindel binary> <source dir>
# shellcheck source=tests/e2e/e2e_lib.sh
source "$2/tests/e2e/e2e_lib.sh"

# "Привет", then the line typed into a string variable between brackets; in CP866.
printf 'pln \x8f\xe0\xa8\xa2\xa5\xe2\r\ninstr s = none\r\ninput s\r\npln [#%%s$]\r\n' >q.qst

# run_in LOCALE_SETTINGS INPUT: plays q.qst with only those locale variables set.
run_in() {
  printf '%s\n' "$2" | env -u LANG -u LC_ALL -u LC_CTYPE -u LANGUAGE $1 "$TINDEL" 0 d q.qst \
    >out.txt 2>err.txt
}

for settings in "" "LANG=C" "LC_ALL=POSIX" "LANG=C.UTF-8" "LANG=ru_RU.KOI8-R LC_ALL=C"; do
  run_in "$settings" "Вася"
  grep -q "^Привет$" out.txt || fail "[$settings]: Привет not shown in UTF-8: $(od -c out.txt | head -3)"
  grep -q "^\[Вася\]$" out.txt || fail "[$settings]: the typed line did not come back: $(cat out.txt)"
done

# Locales that need not be installed: their names still say the terminal's charset.
for pair in KOI8-R:KOI8-R CP1251:CP1251 ISO-8859-5:ISO-8859-5 CP866:CP866; do
  codeset=${pair%%:*}
  iconv_name=${pair#*:}
  privet=$(printf 'Привет' | iconv -f UTF-8 -t "$iconv_name")
  vasya=$(printf 'Вася' | iconv -f UTF-8 -t "$iconv_name")
  run_in "LANG=ru_RU.$codeset" "$vasya"
  grep -qa "^$privet\$" out.txt || fail "$codeset: Привет not shown in $codeset: $(od -c out.txt | tail -4)"
  grep -qa "^\[$vasya\]\$" out.txt || fail "$codeset: the typed line did not come back"
done

# A charset without Cyrillic letters shows them as "?".
run_in "LANG=de_DE.ISO-8859-1" "x"
grep -q "^??????$" out.txt || fail "ISO-8859-1: Cyrillic not shown as ?: $(cat out.txt)"

# A sound named in Cyrillic is found under its UTF-8 name; the echo line keeps the name.
cat >player.sh <<'SCRIPT'
#!/bin/sh
echo "played $1" >>played.txt
SCRIPT
chmod +x player.sh
: >ветер.wav
printf 'play \xa2\xa5\xe2\xa5\xe0\r\npause 300\r\n' >media.qst
env -u LANG -u LC_ALL -u LC_CTYPE TINDEL_WAVE_PLAYER="$WORK/player.sh" "$TINDEL" 0 d media.qst \
  </dev/null >out.txt 2>&1
grep -q "play <ветер.wav>" out.txt || fail "media: echo line not shown: $(cat out.txt)"
tries=40
while [ ! -s played.txt ] && [ $tries -gt 0 ]; do sleep 0.05; tries=$((tries - 1)); done
grep -q "played ветер.wav" played.txt 2>/dev/null || fail "media: ветер.wav was not played"

finish "locale charsets"
