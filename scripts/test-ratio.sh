#!/usr/bin/env bash
# Lines of tests against lines of code: non-blank lines that are not only a comment, in the
# C++ and JavaScript of tests/ (its data aside) against those of src/ and web/.
set -euo pipefail
cd "$(dirname "$0")/.."
lines() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.js' -o -name '*.mjs' \) \
    -not -path 'tests/data/*' -print0 | xargs -0 cat | grep -Evc '^\s*(//.*)?$'
}
tests=$(lines tests)
code=$(lines src web)
echo "tests $tests, code $code, ratio $(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.3f", t / c }')"
