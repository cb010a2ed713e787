#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "raster/raster.h"
#include "write/fichier.h"

namespace optic {

inline constexpr std::size_t kTailleEntete = 54;
// The pictures' resolution: 4724 pixels per metre (120 per inch).
inline constexpr std::uint32_t kPixelsParMetre = 4724;

// The bytes of the pixels of a BMP picture of side `taille`: its rows as the raster holds them.
constexpr std::uint64_t OctetsPixelsBMP(int taille) {
    return static_cast<std::uint64_t>(taille) * Raster::OctetsLigne(taille);
}

// The 54-byte header of an uncompressed 24-bit BMP file of side `taille`, rows bottom-up.
std::array<std::uint8_t, kTailleEntete> EnteteBMP(int taille);

// Writes the raster as an uncompressed 24-bit BMP picture at `chemin`, whole or not at all
// (see EcrireFichier).  False when the picture could not be written.
bool EcritureBMP(const Raster& raster, const std::string& chemin);

// Begins a BMP picture of side `taille` in a file about to be written band by band: gives
// the file its size and writes the header.
bool CommencerBMP(Flux& flux, int taille);

// Writes the rows the raster holds (a whole picture or a band of it) at their place in its
// picture file.  May be called from several threads at once.
bool EcrireBande(Flux& flux, const Raster& raster);

}  // namespace optic
