#!/usr/bin/env bash
# Installs what building and testing Bramblex 2 needs on Debian 12. Run it as root or as a user
# who may use sudo; it asks for sudo only when a package is missing.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  build-essential cmake ninja-build pkg-config git clang-format
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  zlib1g-dev
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev
  xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core openbox
  libxml2-utils desktop-file-utils
  locales
  dpkg-dev file lintian appstream librsvg2-bin
  xserver-xorg-core xserver-xorg-video-dummy libxfixes-dev
  xscreensaver mate-screensaver
  python3-dev pybind11-dev python3-numpy python3-pandas python3-distributed python3-pytest
  python3-nbclient python3-ipykernel python3-matplotlib
)
# --fuzz: also clang with its fuzzer runtime, for scripts/fuzz.sh.
# --web: also emscripten and Chromium, for the page (scripts/web.sh) and its tests; their
# puppeteer-core comes from the npm registry, pinned in tests/web/package-lock.json.
web=false
for flag in "$@"; do
  case "$flag" in
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    --web) packages+=(emscripten chromium) web=true ;;
    *) echo "install-deps.sh: unknown option $flag (--fuzz, --web)" >&2; exit 2 ;;
  esac
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  # Root installs directly (containers and minimal systems often have no sudo); anyone else
  # through sudo, asked only when something is missing.
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "install-deps.sh: installing ${missing[*]} needs root: run this script as root, or install sudo" >&2
      exit 1
    fi
    as_root=(sudo DEBIAN_FRONTEND=noninteractive)
  fi
  "${as_root[@]}" apt-get update -q
  "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# The page's test packages, again only when the lock file changed since they were installed.
web_tests="$(dirname "$0")/../tests/web"
if $web && ! cmp -s "$web_tests/package-lock.json" "$web_tests/node_modules/.installed-lock.json"; then
  if ! command -v npm >/dev/null; then
    echo "install-deps.sh: the page's tests need Node.js 18 or later with npm" >&2
    exit 1
  fi
  (cd "$web_tests" && npm ci --no-audit --no-fund --loglevel=error && cp package-lock.json node_modules/.installed-lock.json)
fi
