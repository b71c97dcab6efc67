# make install and make uninstall into a staging folder (DESTDIR, PREFIX), and the manual.
# Usage: bash test_install.sh <tindel binary> <source dir>
# shellcheck source=tests/e2e/e2e_lib.sh
source "$2/tests/e2e/e2e_lib.sh"
BUILD_DIR=$(dirname "$TINDEL")
ROOT="$WORK/root"

# The program is built already: make neither builds nor checks packages here.
mk() { make -s -C "$SRC" -o program -o author -o deps BUILD="$BUILD_DIR" PREFIX=/opt/tq DESTDIR="$ROOT" "$@"; }

mk install >make.out 2>&1 || fail "make install failed: $(cat make.out)"
installed="bin/tindel share/man/man1/tindel.1 share/tindel/docs/language.md share/tindel/docs/README.md
share/tindel/examples/stackle.qst share/tindel/examples/kolokol.qst share/tindel/examples/README.md
bin/tindel-author share/man/man1/tindel-author.1 share/tindel/docs/authors.md
share/tindel/examples/stackle.walk"
for f in $installed; do
  [ -f "$ROOT/opt/tq/$f" ] || fail "not installed: $f"
done
[ -x "$ROOT/opt/tq/bin/tindel" ] || fail "the program is not executable"
[ "$("$ROOT/opt/tq/bin/tindel" --version)" = "Tindel v0.0.9" ] || fail "the installed program does not run"
[ -x "$ROOT/opt/tq/bin/tindel-author" ] || fail "the authors' program is not executable"
# The installed walkthrough runs against the installed quest beside it.
(cd "$ROOT/opt/tq/share/tindel/examples" && "$ROOT/opt/tq/bin/tindel-author" walk stackle.walk >walk.out 2>&1) ||
  fail "the installed walkthrough does not pass: $(cat "$ROOT/opt/tq/share/tindel/examples/walk.out")"
rm -f "$ROOT/opt/tq/share/tindel/examples/walk.out"
# The installed quest plays its tune there (SDL's disk driver records it) and lints clean.
examples="$ROOT/opt/tq/share/tindel/examples"
{ sleep 1.5; printf '\r'; } | (cd "$examples" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/heard.raw" \
  TINDEL_MEDIA_LOG="$WORK/media.log" timeout 20 "$ROOT/opt/tq/bin/tindel" 0 w stackle.qst >/dev/null 2>&1)
grep -qF "music 1.mid started" media.log 2>/dev/null || fail "the installed quest played no tune: $(cat media.log)"
loudest=$(od -An -v -t d2 -w4 heard.raw 2>/dev/null |
  awk '{ for (i = 1; i <= NF; i++) { v = $i < 0 ? -$i : $i; if (v > m) m = v } } END { print m + 0 }')
[ "$loudest" -gt 1000 ] || fail "the installed quest's tune is silent (loudest sample $loudest)"
(cd "$examples" && "$ROOT/opt/tq/bin/tindel-author" lint stackle.qst >"$WORK/lint.out" 2>&1) ||
  fail "the installed quest does not lint: $(cat lint.out)"
grep -q ": warning:" lint.out && fail "the installed quest lints with warnings: $(cat lint.out)"
rm -f "$examples/save.txt" "$examples/debug.txt"

if command -v man >/dev/null 2>&1; then
  page=$(MANWIDTH=80 man -l "$ROOT/opt/tq/share/man/man1/tindel.1" 2>man.err)
  for text in "tindel - play, check and trace text quests" "TINDEL_TRANSCRIPT" "iconv -f CP1251 -t UTF-8"; do
    case "$page" in *"$text"*) ;; *) fail "man page: \"$text\" missing" ;; esac
  done
  [ -s man.err ] && fail "man page warnings: $(cat man.err)"
  page=$(MANWIDTH=80 man -l "$ROOT/opt/tq/share/man/man1/tindel-author.1" 2>man.err)
  for text in "TINDEL-AUTHOR(1)" "[--format text|json] FILE..." "tindel-author walk FILE.walk"; do
    case "$page" in *"$text"*) ;; *) fail "tindel-author man page: \"$text\" missing" ;; esac
  done
  [ -s man.err ] && fail "tindel-author man page warnings: $(cat man.err)"
fi

mk uninstall >make.out 2>&1 || fail "make uninstall failed: $(cat make.out)"
left=$(cd "$ROOT" && find . -type f)
[ -z "$left" ] || fail "left after uninstall: $left"

finish "install"
