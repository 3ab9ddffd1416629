#!/usr/bin/env bash
# Packs the build into Debian packages as scripts/package.sh does and checks them: lintian finds no
# error, the AppStream metainfo and the desktop entries are valid, the package holds what the
# desktop and the screensaver hosts look for (and nothing outside /usr), its man pages are
# compressed as Debian wants and name every switch the programs' --help lists.
#   package_e2e.sh <build folder> <output folder>
set -euo pipefail
build=$1
out=$2
rm -rf "$out"
mkdir -p "$out"

passed=0
failed=0
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }
check() { if eval "$1"; then passed=$((passed + 1)); else fail "$2"; fi; }

cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/bramblex2_*_*.deb)
tree="$out/tree"
dpkg-deb -x "$deb" "$tree"
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$out/files.txt"

# lintian: errors fail the test; warnings and notes are shown.
lintian --fail-on error --tag-display-limit 0 -I "$deb" >"$out/lintian.txt" 2>&1 && lintian_ok=1 || lintian_ok=0
cat "$out/lintian.txt"
check '[ "$lintian_ok" = 1 ] && ! grep -q "^E:" "$out/lintian.txt"' "lintian reports errors"

version=$(dpkg-deb -f "$deb" Version)
check '[ "$(dpkg-parsechangelog -l "$(dirname "$0")/../../data/changelog" -S Version)" = "$version" ]' \
  "data/changelog's newest entry is not the package's version $version"
check 'dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6"' "dpkg-shlibdeps found no Qt dependency"

# The long description reads as written in cmake/package.cmake, every character kept.
written=$(sed -n '/^string(CONCAT CPACK_PACKAGE_DESCRIPTION$/,/)$/p' "$(dirname "$0")/../../cmake/package.cmake" |
  grep -o '"[^"]*"' | sed 's/^"//; s/"$//; s/\\n$//' || true)
packed=$(dpkg-deb -f "$deb" Description | tail -n +2 | sed 's/^ //')
check '[ -n "$written" ] && [ "$written" = "$packed" ]' "the long description is not as written: $packed"

# The programs are built with the distribution's hardening flags (dpkg-buildflags): every file
# compiled with fortified libc calls and the stack protector (which calls only show where sizes
# are known, so the compile commands say it), linked with relro and bindnow as a position-
# independent program.
commands="$build/compile_commands.json"
check '[ "$(grep -c "\"command\"" "$commands")" -gt 0 ] &&
  [ "$(grep "\"command\"" "$commands" | grep -c -e "-D_FORTIFY_SOURCE=2 .*-fstack-protector-strong")" = "$(grep -c "\"command\"" "$commands")" ]' \
  "not every file is compiled with -D_FORTIFY_SOURCE=2 and -fstack-protector-strong"
hardened() {
  local elf
  elf=$(readelf -hldW --dyn-syms "$1")
  grep -q GNU_RELRO <<<"$elf" && grep -q BIND_NOW <<<"$elf" && grep -q 'Type: *DYN ' <<<"$elf" &&
    grep -q __stack_chk_fail <<<"$elf"
}
for p in "Bramblex 2" "Bramblex 2.scr" bramblex-run; do
  check 'hardened "$tree/usr/lib/bramblex2/$p"' "/usr/lib/bramblex2/$p is not linked with relro and bindnow"
done
if command -v hardening-check >/dev/null; then
  check '(cd "$tree/usr/lib/bramblex2" && hardening-check "Bramblex 2" "Bramblex 2.scr" bramblex-run) >"$out/hardening.txt"' \
    "hardening-check finds flags missing (hardening.txt)"
fi

# Where the desktop, the menus and the screensaver hosts look.
expected=(
  /usr/bin/bramblex2 /usr/bin/bramblex-run /usr/libexec/xscreensaver/bramblex2-screensaver
  /usr/share/xscreensaver/config/bramblex2-screensaver.xml
  /usr/share/applications/screensavers/bramblex2-screensaver.desktop /usr/share/applications/bramblex2.desktop
  /usr/share/icons/hicolor/scalable/apps/bramblex2.svg /usr/share/icons/hicolor/48x48/apps/bramblex2.png
  /usr/share/icons/hicolor/256x256/apps/bramblex2.png /usr/share/metainfo/com.example.bramblex.bramblex2.metainfo.xml
  /usr/share/man/man1/bramblex2.1.gz /usr/share/man/man1/bramblex-run.1.gz
  /usr/share/man/man6/bramblex2-screensaver.6.gz
  /usr/share/doc/bramblex2/copyright /usr/share/doc/bramblex2/changelog.gz
)
for f in "${expected[@]}"; do check 'grep -qx "$f" "$out/files.txt"' "the package lacks $f"; done
check '! grep -v -e "^/$" -e "^/usr/" "$out/files.txt"' "the package holds files outside /usr"
# The links lead to the programs, which run from the unpacked tree.
for p in bin/bramblex2 bin/bramblex-run libexec/xscreensaver/bramblex2-screensaver; do
  check '[ -x "$(readlink -f "$tree/usr/$p")" ] && [ -f "$tree/usr/$p" ]' "/usr/$p leads to no program"
done
check '"$tree/usr/bin/bramblex-run" --help >/dev/null' "the packed bramblex-run does not run"
saver="$tree/usr/libexec/xscreensaver/bramblex2-screensaver"
check '"$saver" --help | grep -q "^Usage: bramblex2-screensaver"' "the packed screensaver does not run"

# Metadata validators.
check 'appstreamcli validate --no-net "$tree/usr/share/metainfo/com.example.bramblex.bramblex2.metainfo.xml"' \
  "the AppStream metainfo is not valid"
entry="$tree/usr/share/applications/screensavers/bramblex2-screensaver.desktop"
check 'desktop-file-validate "$tree/usr/share/applications/bramblex2.desktop" "$entry"' "a desktop entry is not valid"
# Menus list the simulator under each main category its entry names: one.
main_categories=$(sed -n 's/^Categories=//p' "$tree/usr/share/applications/bramblex2.desktop" | tr ';' '\n' |
  grep -cxE 'AudioVideo|Audio|Video|Development|Education|Game|Graphics|Network|Office|Science|Settings|System|Utility')
check '[ "$main_categories" = 1 ]' "the desktop entry names $main_categories main categories"
# MATE and Xfce list the screensaver only without NoDisplay, and start it by its full path.
check '! grep -q "^NoDisplay" "$entry" && grep -qx "Exec=/usr/libexec/xscreensaver/bramblex2-screensaver --root" "$entry"' \
  "the screensaver entry is hidden or does not start the saver from /usr/libexec/xscreensaver"
check 'grep -qx "OnlyShowIn=MATE;XFCE;" "$entry"' "the screensaver entry would show in other desktops' menus"

# Man pages: gzip -n (no name, no time: header flags and time all 0), and every switch of --help.
man_gz_ok() {
  for page in "$tree"/usr/share/man/man?/*.gz; do
    [ "$(od -An -tu1 -j3 -N5 "$page" | tr -s ' ')" = " 0 0 0 0 0" ] && gzip -t "$page" || return 1
  done
}
check man_gz_ok "a man page is not compressed with gzip -n"
page_text() { zcat "$tree/usr/share/man/$1" | sed 's/\\-/-/g'; }
undocumented() { # words of $2 (one a line) missing from the page $1
  local text
  text=$(page_text "$1")
  while read -r word; do grep -qF -- "$word" <<<"$text" || echo "$word"; done <<<"$2"
}
run_words=$("$tree/usr/bin/bramblex-run" --help | grep -oE -- '^  (--[a-z-]+|[a-zA-Z0-9]+)' | tr -d ' ')
missing=$(undocumented man1/bramblex-run.1.gz "$run_words")
check '[ -z "$missing" ]' "bramblex-run.1 does not name: $missing"
simulator_words=$("$tree/usr/bin/bramblex2" --help | grep -oE -- '^  --[a-z-]+' | tr -d ' ')
missing=$(undocumented man1/bramblex2.1.gz "$simulator_words")
check '[ -n "$simulator_words" ] && [ -z "$missing" ]' "bramblex2.1 does not name: $missing"
saver_words=$("$saver" --help | grep -oE -- '^  (/[a-z]|--[a-z-]+)' | tr -d ' ')
missing=$(undocumented man6/bramblex2-screensaver.6.gz "$saver_words")
check '[ -z "$missing" ]' "bramblex2-screensaver.6 does not name: $missing"

# The Python side's package, when the module is built: lintian finds no error; its dependencies,
# where Python finds the module, and a man page naming every switch of bramblex-sweep --help.
python_deb=$(ls "$out"/python3-bramblex_*_*.deb 2>/dev/null || true)
if [ -n "$python_deb" ]; then
  python_tree="$out/python-tree"
  dpkg-deb -x "$python_deb" "$python_tree"
  lintian --fail-on error --tag-display-limit 0 -I "$python_deb" >"$out/lintian-python.txt" 2>&1 && lintian_ok=1 || lintian_ok=0
  cat "$out/lintian-python.txt"
  check '[ "$lintian_ok" = 1 ] && ! grep -q "^E:" "$out/lintian-python.txt"' "lintian reports errors in python3-bramblex"
  check 'dpkg-deb -f "$python_deb" Depends | grep -q "^python3 (>= 3.11), python3-numpy, python3-pandas, python3-distributed, "' \
    "python3-bramblex does not depend on Python, numpy, pandas and distributed"
  for f in /usr/bin/bramblex-sweep /usr/share/man/man1/bramblex-sweep.1.gz /usr/share/doc/python3-bramblex/copyright \
    /usr/share/doc/python3-bramblex/changelog.gz; do
    check '[ -e "$python_tree$f" ]' "python3-bramblex lacks $f"
  done
  for f in __init__.py sweep.py _bramblex.pyi py.typed; do
    check '[ -f "$python_tree/usr/lib/python3/dist-packages/bramblex/$f" ]' "python3-bramblex lacks the module's $f"
  done
  sweep_words=$("$python_tree/usr/bin/bramblex-sweep" --help | grep -oE -- '^  --[a-z-]+' | tr -d ' ')
  missing=$(tree=$python_tree undocumented man1/bramblex-sweep.1.gz "$sweep_words")
  check '[ -n "$sweep_words" ] && [ -z "$missing" ]' "bramblex-sweep.1 does not name: $missing"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
