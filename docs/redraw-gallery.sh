#!/usr/bin/env bash
# Redraws the README's gallery in docs/images/ with the program built in build/release:
# each example as a PNG picture, and the telescope as an SVG picture too.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
optic="$here/build/release/optic"
images="$here/docs/images"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

draw() {  # draw FORMAT DESCRIPTION NAME...: picture k of DESCRIPTION becomes NAME k
    local format="$1" description="$2"
    shift 2
    "$optic" --format="$format" --output-dir="$work" "$description" >/dev/null
    local k=0
    for name in "$@"; do
        mv "$work/OpticZoomBox_$k.$format" "$images/$name.$format"
        k=$((k + 1))
    done
}

draw png "$here/default_optic.txt" default_bench default_focus
for example in telescope microscope_objective total_internal_reflection stop dispersion; do
    draw png "$here/examples/$example.txt" "$example"
done
draw svg "$here/examples/telescope.txt" telescope
