#!/usr/bin/env bash
# Builds the static site and runs the browser and engine-module tests.  What they need
# (emscripten, chromium, the node modules) is scripts/prerequisites.sh's to install: a missing
# piece fails here, it is never skipped.
set -euo pipefail
cd "$(dirname "$0")/../.."
make --no-print-directory web >/dev/null
node --test tests/web/
