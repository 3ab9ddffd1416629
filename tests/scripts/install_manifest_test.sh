#!/usr/bin/env bash
# cmake --install lists the links it makes (bramblex_install_link) in its manifest, as it lists
# every file: packagers and uninstall scripts go by it. The whole install, and the component
# python alone (install_manifest_python.txt).
#   install_manifest_test.sh <build folder> <scratch folder>
set -euo pipefail
build=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
failed=0
# Each row: the component ("all": every one); the links it installs, relative to the prefix.
while read -r component links; do
  prefix="$out/$component"
  manifest="$build/install_manifest.txt"
  arguments=(--prefix "$prefix")
  if [ "$component" != all ]; then
    manifest="$build/install_manifest_$component.txt"
    arguments+=(--component "$component")
  fi
  cmake --install "$build" "${arguments[@]}" >"$out/$component.log" 2>&1 || { cat "$out/$component.log"; exit 1; }
  for link in $links; do
    if [ ! -L "$prefix/$link" ]; then
      echo "FAILED: $component: no link $link"
      failed=$((failed + 1))
    elif ! grep -qxF "$prefix/$link" "$manifest"; then
      echo "FAILED: $(basename "$manifest") does not list $prefix/$link"
      failed=$((failed + 1))
    fi
  done
done <<'TABLE'
python bin/bramblex-sweep
all bin/bramblex2 bin/bramblex-run bin/bramblex-sweep libexec/xscreensaver/bramblex2-screensaver
TABLE
[ "$failed" = 0 ] && echo "all rows passed"
exit "$failed"
