#pragma once

#include <cstddef>

#include "elements/element.h"

namespace optic {

// Rays traced side by side.
inline constexpr int kVoies = 8;

// The bench as a tracing step reads it: plain tables.
struct BancPlat {
    struct Corps {
        Boite boite;              // outside it nothing is inside the element
        const Dioptre* dioptres;  // its surfaces: dioptres[0 .. nb_dioptres)
        std::size_t nb_dioptres;
        int type;
        // Every hit on its surfaces lies in this box, up to rounding (bounds that are not
        // numbers: no box), and `echelle` is the largest magnitude of the element.
        Boite impacts;
        double echelle;
    };
    const Dioptre* surfaces;  // every surface of every element, in bench order
    std::size_t nb_surfaces;
    const Corps* elements;  // the elements with surfaces, in bench order
    std::size_t nb_elements;
    double indice_espace;
};

// What a step found for a lane.
inline constexpr double kRien = 0;      // no surface ahead: the ray leaves the bench
inline constexpr double kArret = 1;     // an opaque surface at (hx, hy)
inline constexpr double kTraverse = 2;  // a surface at (hx, hy), and the new direction

// The rays of the lanes, and what a step finds for each.  A lane whose position is not a
// number finds nothing.
struct Voies {
    alignas(64) double px[kVoies];
    alignas(64) double py[kVoies];
    alignas(64) double dx[kVoies];
    alignas(64) double dy[kVoies];
    // The index of element e at lane l's wavelength: indices[e * kVoies + l].
    const double* indices = nullptr;
    alignas(64) double hx[kVoies];
    alignas(64) double hy[kVoies];
    alignas(64) double issue[kVoies];
};

// One step of every lane, as Propagation takes it: the nearest surface ahead (equal
// distances go to the later surface), and there the hit, then either the end on an opaque
// surface or the new direction, left in (dx, dy).  An element is passed when no lane's ray
// can meet its box nearer than the hit found so far.  Runs in the processor's widest vector
// instructions.
void Pas(const BancPlat& banc, Voies& v);

}  // namespace optic
