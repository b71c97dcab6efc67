# make install and make uninstall into a staging folder (DESTDIR, PREFIX), and the manual.
# Usage: bash test_install.sh <tindel binary> <source dir>
# shellcheck source=tests/e2e/e2e_lib.sh
source "$2/tests/e2e/e2e_lib.sh"
BUILD_DIR=$(dirname "$TINDEL")
ROOT="$WORK/root"

# The program is built already: make neither builds nor checks packages here.
mk() { make -s -C "$SRC" -o program -o deps BUILD="$BUILD_DIR" PREFIX=/opt/tq DESTDIR="$ROOT" "$@"; }

mk install >make.out 2>&1 || fail "make install failed: $(cat make.out)"
installed="bin/tindel share/man/man1/tindel.1 share/tindel/docs/language.md share/tindel/docs/README.md
share/tindel/examples/stackle.qst share/tindel/examples/kolokol.qst share/tindel/examples/README.md"
for f in $installed; do
  [ -f "$ROOT/opt/tq/$f" ] || fail "not installed: $f"
done
[ -x "$ROOT/opt/tq/bin/tindel" ] || fail "the program is not executable"
[ "$("$ROOT/opt/tq/bin/tindel" --version)" = "Tindel v0.0.9" ] || fail "the installed program does not run"

if command -v man >/dev/null 2>&1; then
  page=$(MANWIDTH=80 man -l "$ROOT/opt/tq/share/man/man1/tindel.1" 2>man.err)
  for text in "tindel - play, check and trace text quests" "TINDEL_TRANSCRIPT" "iconv -f CP1251 -t UTF-8"; do
    case "$page" in *"$text"*) ;; *) fail "man page: \"$text\" missing" ;; esac
  done
  [ -s man.err ] && fail "man page warnings: $(cat man.err)"
fi

mk uninstall >make.out 2>&1 || fail "make uninstall failed: $(cat make.out)"
left=$(cd "$ROOT" && find . -type f)
[ -z "$left" ] || fail "left after uninstall: $left"

finish "install"
