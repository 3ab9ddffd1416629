#!/usr/bin/env bash
# Builds the page into build-web/: index.html, bramblex.js, bramblex.wasm and the icon, ready for
# any static host.
#   scripts/web.sh          build
#   scripts/web.sh --serve  build, then serve it on http://127.0.0.1:8000 (PORT=... for another)
set -euo pipefail
cd "$(dirname "$0")/.."
# Debian's emscripten runs its optimizer on Node.js, which needs Debian's node modules.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S web -B build-web-obj -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build-web-obj
mkdir -p build-web
cp web/page/index.html data/bramblex2.svg build-web-obj/bramblex.js build-web-obj/bramblex.wasm build-web/
echo "the page is in build-web/"
if [ "${1:-}" = "--serve" ]; then
  port=${PORT:-8000}
  echo "serving it on http://127.0.0.1:$port/ (Ctrl+C stops)"
  exec /usr/bin/python3 -m http.server --bind 127.0.0.1 --directory build-web "$port"
fi
