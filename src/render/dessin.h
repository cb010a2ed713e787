#pragma once

#include <span>

#include "model/source.h"
#include "render/image.h"

namespace optic {

// Draws traced rays into a zoombox's view, each in the colour of its wavelength: the
// polyline of its path and, for an open ray, the half-line on to the window's edge.  A later
// ray covers an earlier one.  When the view keeps track of covered pixels (Image::Couvrir),
// the rays are drawn from the last to the first and each pixel is written once, by the
// last ray that reaches it; lots of rays are then given from the last to the first too.
void DessinRayons(std::span<const Rayon> rayons, const Image& image);

// About how many points drawing the rays into a zoombox steps through.
double PointsDesRayons(std::span<const Rayon> rayons, const Image& image);

}  // namespace optic
