#!/usr/bin/env bash
# Installs the Debian package with apt as a user would, runs what it installed, purges it and
# checks that no file it brought is left under /usr, /etc or /opt. Needs root (CI is).
#   scripts/check-package-install.sh dist/bramblex2_<version>_<arch>.deb
set -euo pipefail
deb=$(realpath "$1")
if [ "$(id -u)" -ne 0 ]; then
  echo "check-package-install.sh: needs root to install the package; skipped"
  exit 0
fi
export DEBIAN_FRONTEND=noninteractive
listing() { find /usr /etc /opt -xdev 2>/dev/null | sort; }
before=$(mktemp) after=$(mktemp)
trap 'rm -f "$before" "$after"' EXIT
dpkg -s bramblex2 >/dev/null 2>&1 && apt-get purge -y -q bramblex2 >/dev/null
listing > "$before"
apt-get install -y -q --no-install-recommends "$deb" >/dev/null
bramblex-run --seed 1 --generations 3 --stats /dev/null
/usr/libexec/xscreensaver/bramblex2-screensaver --help >/dev/null
test -x /usr/bin/bramblex2
dpkg -L bramblex2 | grep -q '^/usr/share/man/man1/bramblex-run.1.gz$'
apt-get purge -y -q bramblex2 >/dev/null
listing > "$after"
if ! diff -u "$before" "$after"; then
  echo "check-package-install.sh: purging bramblex2 left the files above changed" >&2
  exit 1
fi
echo "check-package-install.sh: installed, ran and purged $(basename "$deb") without a trace"
