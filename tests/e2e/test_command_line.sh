# Command lines a user may type, good and bad, through pipes: what the program says and the
# exit status it ends with.
# Usage: bash test_command_line.sh <tindel binary> <source dir>
# shellcheck source=tests/e2e/e2e_lib.sh
source "$2/tests/e2e/e2e_lib.sh"

# Runs the program with the given parameters and no input; sets OUT, ERR and STATUS.
run() {
  "$TINDEL" "$@" </dev/null >out.txt 2>err.txt
  STATUS=$?
  OUT=$(cat out.txt)
  ERR=$(cat err.txt)
}

expect() {
  local what=$1 status=$2 text=$3
  [ "$STATUS" = "$status" ] || fail "$what: exit status $STATUS, expected $status"
  case "$OUT" in
    *"$text"*) ;;
    *) fail "$what: '$text' not printed; got: $OUT" ;;
  esac
}

printf ':start\r\npln Hello from a quest\r\nend\r\n:common\r\nend\r\n' >good.qst

run
expect "no parameters" 1 "file <stackle.qst> not found"
case "$OUT" in
  "Tindel v0.0.9"*"usage: tindel <mode> <codepage> <file_name.qst>"*) ;;
  *) fail "no parameters: banner and usage first" ;;
esac

cp good.qst stackle.qst
run 3 w good.qst extra
expect "four parameters: the default quest is played" 0 "Hello from a quest"
rm stackle.qst

run "" "" ""
expect "three empty strings" 1 "file <> not found"

long=$(printf 'x%.0s' $(seq 1 5000)).qst
run 2 w "$long"
expect "a very long name" 1 "not found"

cp good.qst "квест.qst"
run 2 w "квест.qst"
expect "a non-ASCII name" 0 "syntax <квест.qst> is checked!"

mkdir folder.qst
run 2 w folder.qst
expect "a directory as the quest" 1 "file <folder.qst> not found"

mkfifo pipe.qst
run 2 w pipe.qst
expect "a named pipe as the quest" 1 "file <pipe.qst> not found"

run 9 x good.qst
expect "unknown mode and code page: play" 0 "Hello from a quest"

if [ "$(id -u)" != 0 ]; then
  cp good.qst locked.qst
  chmod 000 locked.qst
  run 2 w locked.qst
  expect "an unreadable quest" 1 "file <locked.qst> not found"
fi

# Help and version: printed on standard output, nothing played, status 0.
printf 'pln the default quest ran\r\nend\r\n' >stackle.qst
for flag in -h --help; do
  run "$flag"
  expect "$flag" 0 "usage: tindel <mode> <codepage> <file_name.qst>"
  case "$OUT" in
    "Tindel v0.0.9"*"mode: 0 - play"*"5 - play with the trace"*"u - UTF-8"*TINDEL_TRANSCRIPT*) ;;
    *) fail "$flag: banner, usage, modes 4 to 6, code pages and environment expected: $OUT" ;;
  esac
  case "$OUT" in *$'\r'* | *"default quest ran"*) fail "$flag: a CR or a played quest" ;; esac
done
# Every TINDEL_ variable the program reads is named in the help.
for variable in $(grep -rhoE '"TINDEL_[A-Z0-9_]+"' "$SRC/UTypes" "$SRC/program" | tr -d '"' | sort -u); do
  case "$OUT" in *"$variable"*) ;; *) fail "--help does not name $variable" ;; esac
done
run --version
[ "$STATUS" = 0 ] && [ "$OUT" = "Tindel v0.0.9" ] || fail "--version: '$OUT' ($STATUS)"
run --help extra
expect "--help with a second parameter plays the default quest" 0 "default quest ran"

# A quest file named alone is played in mode 0 with code page w.
printf 'pln played alone\r\nend\r\n' >alone.qst
run alone.qst
expect "a quest file alone" 0 "played alone"
run 3 alone.qst
expect "two parameters keep the default quest" 0 "default quest ran"
mkdir folder
run folder
expect "a folder named alone is not a quest" 0 "default quest ran"
# A name ending in .qst or .qs1 (any case) is the quest meant, even when it is mistyped.
for typo in typo.qst Typo.QS1 folder.qst; do
  run "$typo"
  expect "$typo named alone" 1 "file <$typo> not found"
  case "$OUT" in *"default quest ran"*) fail "$typo: another quest was played" ;; esac
done
printf 'pln a file named 1\r\nend\r\n' >1
run 1
expect "parameter 1 still resumes the default quest" 1 "[gotolabel] LABELNAME expected"
rm -f 1 stackle.qst

mkdir log.txt
run 4 w good.qst
[ "$STATUS" = 2 ] || fail "log.txt that cannot be created: exit status $STATUS, expected 2"
case "$ERR" in
  *log.txt*) ;;
  *) fail "log.txt that cannot be created: stderr names no file: $ERR" ;;
esac

finish "command lines"
