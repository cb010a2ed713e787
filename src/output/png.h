#pragma once

#include <string>

#include "raster/raster.h"

namespace optic {

// Writes the raster as an 8-bit RGB PNG picture at `chemin`, whole or not at all (see
// EcrireFichier): the BMP picture's pixels and resolution, compressed for speed.  False when
// the picture could not be written; a PNG cannot be empty, so a picture of side 0 cannot.
bool EcriturePNG(const Raster& raster, const std::string& chemin);

}  // namespace optic
