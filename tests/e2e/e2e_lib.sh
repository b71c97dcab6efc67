# The start and the end shared by the end-to-end scripts that run the program through pipes.
# Sourced with the script's own arguments: <tindel binary> <source dir>. Sets TINDEL (the
# binary's absolute path), SRC (the source dir) and WORK (a temporary folder, removed at
# exit, made the current directory).
set -u
TINDEL=$(realpath "$1")
SRC=$(realpath "$2")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Ends the script with the failures counted as its status.
finish() {
  if [ "$failures" -gt 0 ]; then
    echo "0 passed, $failures failed"
    exit 1
  fi
  echo "$1: all passed"
  exit 0
}
