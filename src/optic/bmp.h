#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "render/raster.h"

namespace optic {

inline constexpr std::size_t kTailleEntete = 54;

// The name of zoombox c's picture.
std::string NomImage(int c);

// The 54-byte header of an uncompressed 24-bit BMP file of side `taille`, rows bottom-up.
std::array<std::uint8_t, kTailleEntete> EnteteBMP(int taille);

// Writes the raster as zoombox c's picture.  The picture is written beside its final name
// and renamed over it only once complete, so a failure never leaves a damaged picture nor
// destroys an older one, nor a temporary file.  False when the picture could not be written.
bool EcritureBMP(const Raster& raster, int c);

}  // namespace optic
