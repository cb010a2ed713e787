#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "optic/fichier.h"
#include "render/raster.h"

namespace optic {

inline constexpr std::size_t kTailleEntete = 54;

// The 54-byte header of an uncompressed 24-bit BMP file of side `taille`, rows bottom-up.
std::array<std::uint8_t, kTailleEntete> EnteteBMP(int taille);

// Writes the raster as an uncompressed 24-bit BMP picture at `chemin`, whole or not at all
// (see EcrireFichier).  False when the picture could not be written.
bool EcritureBMP(const Raster& raster, const std::string& chemin);

// The same for a picture of side `taille` whose rows come in bands: `bandes` hands each
// band to EcrireBande, in any order, from any thread, and says whether all went well.
bool EcritureBMP(int taille, const std::string& chemin, const std::function<bool(Flux&)>& bandes);

// Begins a BMP picture of side `taille` in a file about to be written band by band: gives
// the file its size and writes the header.
bool CommencerBMP(Flux& flux, int taille);

// Writes the rows the raster holds (a whole picture or a band of it) at their place in its
// picture file.  May be called from several threads at once.
bool EcrireBande(Flux& flux, const Raster& raster);

}  // namespace optic
