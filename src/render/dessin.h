#pragma once

#include <span>

#include "model/source.h"
#include "render/image.h"

namespace optic {

// Draws traced rays into a zoombox's view, one after the other, each in the colour of its
// wavelength: the polyline of its path and, for an open ray, the half-line on to the
// window's edge.  A later ray covers an earlier one.
void DessinRayons(std::span<const Rayon> rayons, const Image& image);

// About how many points drawing the rays into a zoombox steps through.
double PointsDesRayons(std::span<const Rayon> rayons, const Image& image);

}  // namespace optic
