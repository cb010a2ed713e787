#!/usr/bin/env bash
# Builds the static site and runs the browser and engine-module tests.  Without emscripten,
# chromium or the node modules it says in one line what it skips and how to install them,
# and succeeds: the C++ tests decide.  With OPTIC_BROWSER_TESTS=required (continuous
# integration), a missing piece fails instead.
set -euo pipefail
cd "$(dirname "$0")/../.."

missing=()
command -v emcc >/dev/null || missing+=(emscripten)
[ -x "${CHROMIUM:-/usr/bin/chromium}" ] || missing+=(chromium)
command -v node >/dev/null || missing+=(node)
[ -d node_modules/playwright-core ] || missing+=("node modules")
if [ ${#missing[@]} -gt 0 ]; then
  list=$(printf '%s, ' "${missing[@]}")
  echo "browser tests skipped: no ${list%, }; install with: apt-get install -y emscripten chromium && npm ci"
  [ "${OPTIC_BROWSER_TESTS:-}" != required ]
  exit
fi

make --no-print-directory web >/dev/null
node --test tests/web/
