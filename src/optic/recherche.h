#pragma once

#include <cstddef>

#include "elements/dioptre.h"

namespace optic {

// Rays traced side by side.
inline constexpr int kVoies = 8;

// The rays as the search for the nearest surface reads them, lane by lane, and what it finds:
// the parameter of the nearest hit (-1 for none) and the number of its surface.
struct Voies {
    alignas(64) double px[kVoies];
    alignas(64) double py[kVoies];
    alignas(64) double dx[kVoies];
    alignas(64) double dy[kVoies];
    alignas(64) double meilleur[kVoies];
    alignas(64) double surface[kVoies];
};

// Finds, for every lane, the nearest hit among surfaces[0 .. n - 1] (equal distances go to
// the later surface), with the processor's widest vector instructions.
void Chercher(const Dioptre* surfaces, std::size_t n, Voies& v);

}  // namespace optic
