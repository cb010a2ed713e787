#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "render/raster.h"

namespace optic {

inline constexpr std::size_t kTailleEntete = 54;

// The 54-byte header of an uncompressed 24-bit BMP file of side `taille`, rows bottom-up.
std::array<std::uint8_t, kTailleEntete> EnteteBMP(int taille);

// Writes the raster as an uncompressed 24-bit BMP picture at `chemin`, whole or not at all
// (see EcrireFichier).  False when the picture could not be written.
bool EcritureBMP(const Raster& raster, const std::string& chemin);

}  // namespace optic
