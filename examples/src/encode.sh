#!/bin/sh
# Writes the bundled quests from their sources here: CR LF line ends, and the Cyrillic
# quests in the code page they are played with (kolokol: Windows-1251, pech: CP866).
set -e
cd "$(dirname "$0")"
crlf() { sed 's/$/\r/'; }
crlf < stackle.txt > ../stackle.qst
iconv -f UTF-8 -t CP1251 kolokol.utf8.txt | crlf > ../kolokol.qst
iconv -f UTF-8 -t CP866 pech.utf8.txt | crlf > ../pech.qst
