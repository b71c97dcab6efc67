#!/usr/bin/env bash
# Runs the examples of the authors' guide (docs/authors.md) with tindel-author and compares
# what each command prints with what the guide shows; then the bundled walkthrough, the exit
# statuses and the drawn maps.
source "$(dirname "$0")/e2e_lib.sh"
AUTHOR="$(dirname "$TINDEL")/tindel-author"
[ -x "$AUTHOR" ] || { echo "no tindel-author beside $TINDEL" >&2; exit 1; }

# Splits the guide: ```quest file=X blocks become X with CR LF line ends, ```walk file=X blocks
# X as they stand, and each ```command block "cmd-N" (its "$ " line) and "want-N" (the rest).
awk -v dir="$WORK" '
  /^```(quest|walk) file=/ { split($2, a, "="); out = dir "/" a[2]; crlf = ($1 == "```quest"); printf "" > out; next }
  /^```command$/ { n++; out = dir "/want-" n; cmd = 1; crlf = 0; printf "" > out; next }
  /^```/ { if (out != "") close(out); out = ""; next }
  out != "" && cmd && /^\$ / { print substr($0, 3) > (dir "/cmd-" n); close(dir "/cmd-" n); cmd = 0; next }
  out != "" { if (crlf) printf "%s\r\n", $0 > out; else print > out; cmd = 0 }
' "$SRC/docs/authors.md"

examples=0
for cmdfile in cmd-*; do
  n=${cmdfile#cmd-}
  command=$(cat "$cmdfile")
  got=$(eval "\"\$AUTHOR\" ${command#tindel-author }" 2>&1)
  examples=$((examples + 1))
  # a command shown without its output (the JSON one) must still run
  if [ -s "want-$n" ] && [ "$got" != "$(cat "want-$n")" ]; then
    fail "guide example '$command' printed:"$'\n'"$got"
  fi
done
[ "$examples" -ge 4 ] || fail "only $examples command examples found in the guide"

"$AUTHOR" lint --format json inn.qst | python3 -c 'import json,sys; d=json.load(sys.stdin); assert d["errors"] == 3 and len(d["problems"]) == 6' ||
  fail "lint --format json is not the records of the text form"

"$AUTHOR" lint tiny.qst >/dev/null; [ $? -eq 0 ] || fail "lint of a clean quest does not exit 0"
"$AUTHOR" lint inn.qst >/dev/null; [ $? -eq 1 ] || fail "lint of a quest with errors does not exit 1"
"$AUTHOR" lint --codepage x inn.qst >/dev/null 2>&1; [ $? -eq 2 ] || fail "a wrong code page does not exit 2"
"$AUTHOR" lint missing.qst >/dev/null 2>&1; [ $? -eq 2 ] || fail "a missing quest does not exit 2"
[ ! -e debug.txt ] || fail "lint wrote debug.txt"

# qs1: the guide's examples made tiny.qs1 and its plain twin again; the twins play alike.
cmp -s tiny.qst tiny-again.qst || fail "qs1: the plain twin of the encoded twin differs from the quest"
cmp -s tiny.qst tiny.qs1 && fail "qs1: the encoded twin is the quest unchanged"
[ "$(LC_ALL=C grep -ac btn tiny.qs1)" = 0 ] || fail "qs1: the encoded twin reads as plain text"
"$TINDEL" 0 w tiny.qst </dev/null >plain.out 2>&1
"$TINDEL" 0 w tiny.qs1 </dev/null >encoded.out 2>&1
sed -i 's/tiny\.qs1/tiny.qst/' encoded.out
cmp -s plain.out encoded.out || fail "qs1: the encoded twin plays otherwise: $(diff plain.out encoded.out)"
"$AUTHOR" qs1 tiny.qst -o tiny.txt 2>/dev/null; [ $? -eq 2 ] || fail "qs1: an encoded twin named as plain is not refused"
[ ! -e tiny.txt ] || fail "qs1: the refused twin was written"
"$AUTHOR" qs1 missing.qst 2>/dev/null; [ $? -eq 2 ] || fail "qs1: a missing quest does not exit 2"

cp "$SRC/examples/stackle.qst" "$SRC/examples/stackle.walk" .
"$AUTHOR" walk stackle.walk >walk.out || fail "the walkthrough of stackle.qst fails: $(cat walk.out)"
grep -q '^6 passed, 0 failed$' walk.out || fail "stackle.walk: $(tail -1 walk.out)"
[ ! -e debug.txt ] || fail "walk wrote debug.txt"

if command -v dot >/dev/null; then
  "$AUTHOR" map -o stackle.svg stackle.qst || fail "map -o stackle.svg"
  grep -q '<svg' stackle.svg || fail "stackle.svg is not SVG"
  "$AUTHOR" map -o stackle.png stackle.qst || fail "map -o stackle.png"
  [ "$(head -c 4 stackle.png | tail -c 3)" = "PNG" ] || fail "stackle.png is not PNG"
fi
"$AUTHOR" map -o stackle.dot stackle.qst && grep -q '^digraph quest {' stackle.dot || fail "map -o stackle.dot"
"$AUTHOR" map -o stackle.gif stackle.qst 2>/dev/null; [ $? -eq 2 ] || fail "map to .gif does not exit 2"

finish "author guide"
