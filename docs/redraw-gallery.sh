#!/usr/bin/env bash
# Redraws the README's gallery in docs/images/ with the program built in build/release:
# each example as a PNG picture, the telescope as an SVG picture too, and the bundled
# bench's aberration plots.
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
# The bundled bench's aberration plots.
"$optic" --plots --output-dir="$work" "$here/default_optic.txt" >/dev/null
mv "$work/OpticSpherical_1.svg" "$images/default_spherical.svg"
mv "$work/OpticRayFan_1.svg" "$images/default_ray_fan.svg"
mv "$work/OpticFocalShift_1.svg" "$images/default_focal_shift.svg"
