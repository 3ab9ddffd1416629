#!/usr/bin/env bash
# Installs the Debian packages with apt as a user would, runs what they installed, purges them and
# checks that no file they brought is left under /usr, /etc or /opt. Needs root (CI is).
#   scripts/check-package-install.sh dist/bramblex2_<version>_<arch>.deb [dist/python3-bramblex_<version>_<arch>.deb]
set -euo pipefail
debs=()
for deb in "$@"; do debs+=("$(realpath "$deb")"); done
packages=(bramblex2)
[ $# -gt 1 ] && packages+=(python3-bramblex)
if [ "$(id -u)" -ne 0 ]; then
  echo "check-package-install.sh: needs root to install the package; skipped"
  exit 0
fi
export DEBIAN_FRONTEND=noninteractive
listing() { find /usr /etc /opt -xdev 2>/dev/null | sort; }
before=$(mktemp) after=$(mktemp)
trap 'rm -f "$before" "$after"' EXIT
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 && apt-get purge -y -q "$p" >/dev/null
done
listing > "$before"
apt-get install -y -q --no-install-recommends "${debs[@]}" >/dev/null
bramblex-run --seed 1 --generations 3 --stats /dev/null
/usr/libexec/xscreensaver/bramblex2-screensaver --help >/dev/null
test -x /usr/bin/bramblex2
dpkg -L bramblex2 | grep -q '^/usr/share/man/man1/bramblex-run.1.gz$'
if [ $# -gt 1 ]; then # the module from Debian's Python, and a sweep on a local cluster
  (cd "$(mktemp -d)" && /usr/bin/python3 -c 'import bramblex; bramblex.Simulation(seed=1).run(3)' &&
    bramblex-sweep --seeds 1-2 --generations 3 --workers 1 --out sweep.csv >/dev/null && [ -s sweep.csv ])
fi
apt-get purge -y -q "${packages[@]}" >/dev/null
listing > "$after"
if ! diff -u "$before" "$after"; then
  echo "check-package-install.sh: purging ${packages[*]} left the files above changed" >&2
  exit 1
fi
echo "check-package-install.sh: installed, ran and purged ${packages[*]} without a trace"
