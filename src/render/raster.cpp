#include "render/raster.h"

namespace optic {

Raster::Raster(int taille)
    : taille_(taille),
      pas_ligne_(3 * static_cast<std::size_t>(taille) + static_cast<std::size_t>(taille % 4)),
      // Left uninitialised: the background painting writes every byte, padding included.
      donnees_(new std::uint8_t[pas_ligne_ * static_cast<std::size_t>(taille)]) {}

}  // namespace optic
