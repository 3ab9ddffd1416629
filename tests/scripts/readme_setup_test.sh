#!/usr/bin/env bash
# The README's two commands for a fresh machine must work where the user is root and there is no
# sudo (containers, minimal installs): their set-up part runs here with a PATH that has no sudo.
#   readme_setup_test.sh <source folder>
set -euo pipefail
cd "$1"
tools=$(mktemp -d)
trap 'rm -rf "$tools"' EXIT
for tool in bash cmp dirname dpkg-query grep id; do ln -s "$(command -v "$tool")" "$tools/$tool"; done
commands=$(sed -n '/^## On a fresh Debian/,/^## /p' README.md | grep -E '^    [^ ]' | sed 's/^    //')
[ "$(echo "$commands" | wc -l)" -eq 2 ] || { echo "expected two commands in the README, found:"; echo "$commands"; exit 1; }
while read -r command; do
  setup=${command%%&&*}
  PATH="$tools" bash -c "$setup" || { echo "the set-up part of '$command' fails without sudo"; exit 1; }
done <<<"$commands"
echo "2 passed, 0 failed"
