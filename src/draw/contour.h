#pragma once

#include "raster/image.h"
#include "surfaces/dioptre.h"

namespace optic {

// Draws a surface's outline into a zoombox's view: a segment, or chords along the visible arc.
void Dessin(const Dioptre& dioptre, const Image& image);

}  // namespace optic
