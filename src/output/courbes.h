#pragma once

#include <string>
#include <vector>

#include "measure/mesures.h"
#include "model/system.h"
#include "output/graphique.h"

namespace optic {

// One plot file: its name and its plot.
struct Courbe {
    std::string nom;
    Graphique graphique;
};

// The plots of a measured bench, in this order:
// - per source line with fans along a system's axis (numbered as the report numbers them),
//   its ray fan "OpticRayFan_K.svg" (the transverse aberration against the start height, or
//   the start angle for a point source) and its spherical aberration "OpticSpherical_K.svg"
//   (the start height, or angle, against the axis crossing, the paraxial one marked), one
//   curve per wavelength in the rays' colour;
// - per system with a focus, its chromatic focal shift "OpticFocalShift_S.svg": the paraxial
//   back focal distance over the wavelengths its glasses are sampled at (and the bench's),
//   the bench's wavelengths marked in their colours.
std::vector<Courbe> Courbes(const System_Physique& systeme, const Mesures& mesures);

}  // namespace optic
