#!/usr/bin/env bash
# Everything the tests need, in one list: checks each piece, installs what is missing when it
# can (Debian packages with apt-get when run as root, the node modules with `npm ci` from the
# lockfile when they are missing or older than it), and otherwise stops with one message that
# names the missing pieces and the command that installs them.  `make test` runs it before
# building; continuous integration runs it with `ci`.
#
#   scripts/prerequisites.sh [ci]
set -euo pipefail
cd "$(dirname "$0")/.."

# Debian packages, each for what needs it.
packages=(
  g++ cmake make libpng-dev # the program
  libgtest-dev              # the C++ tests
  nlohmann-json3-dev        # the tests read the JSON report with it
  libxml2-utils             # xmllint: an SVG picture is well-formed XML
  librsvg2-bin              # rsvg-convert: an SVG picture draws what the BMP shows
  emscripten                # the web engine the browser tests run
  chromium                  # the browser the browser tests drive
)
# Continuous integration also builds the fuzzing harness with clang and its runtime libraries.
[ "${1:-}" != ci ] || packages+=(clang libclang-rt-14-dev)

missing=()
for package in "${packages[@]}"; do
  # `dpkg -s` also succeeds for a removed package whose configuration files remain.
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
# Node and npm may come from elsewhere than Debian (NodeSource, nvm): asked by command.
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)

if [ ${#missing[@]} -gt 0 ] && [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
  echo "prerequisites: installing ${missing[*]} with apt-get"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  missing=()
fi

# The node modules are stale when the lockfile is newer than the copy npm keeps of it.
modules=node_modules/.package-lock.json
if [ ! -f "$modules" ] || [ package-lock.json -nt "$modules" ] || [ package.json -nt "$modules" ]; then
  if [ ${#missing[@]} -eq 0 ]; then
    echo "prerequisites: installing the node modules with npm ci"
    npm ci --no-audit --no-fund --loglevel=error
  else
    modules=""
  fi
fi

if [ ${#missing[@]} -gt 0 ]; then
  pieces=$(printf '%s, ' "${missing[@]}")
  pieces=${pieces%, }
  [ -n "$modules" ] || pieces+=", the node modules"
  command="sudo apt-get install -y ${missing[*]}"
  [ -n "$modules" ] || command+=" && npm ci"
  echo "prerequisites: missing ${pieces}; install them with: ${command}" >&2
  exit 1
fi
