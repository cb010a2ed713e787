#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "model/system.h"

namespace optic {

// A fan of rays, one wavelength of a source line, and where its rays stand in the bench's
// order: source lines in file order, each line's wavelengths in order, each fan from its first
// ray to its last.  Tracing, drawing and measuring all number the rays so.
struct Fan {
    const Source_monochromatique* source;
    std::size_t ligne;    // its source line, from 0
    std::size_t premier;  // its first ray
    std::size_t nombre;   // its rays
};

// The bench's fans in that order.  They point into the bench, which must outlive them.
std::vector<Fan> TableDesFans(const System_Physique& systeme);

// The fan that holds ray k: the last whose first ray is at or before k, so never one of the
// empty fans sharing its first ray with the next; 0 when there is none.
std::size_t FanDuRayon(std::span<const Fan> fans, std::size_t k);

}  // namespace optic
