#pragma once

#include <vector>

#include "model/point.h"
#include "model/system.h"
#include "optic/suivi.h"

namespace optic {

// Most surface hits after which a ray goes on: a ray trapped by total reflection is ended
// there, as if stopped.
inline constexpr int kImpactsMax = 1000;

// The refractive index at p for a wavelength: the last element of the bench that contains p
// decides (0 in a diaphragm blade); outside every element, the space's index.
double IndiceMilieu(const System_Physique& systeme, Point p, double lambda);

// The ray's new direction where it meets a surface at h with unit tangent t: Snell's law,
// or total reflection where the new medium cannot take the tangential component.
void Deviation(const System_Physique& systeme, Rayon& rayon, Point h, Point t);

// Traces one ray through the bench, from its start to an open or a stopped end.
// `chemin` is working space for the path.
void Propagation(const System_Physique& systeme, Rayon& rayon, std::vector<Point>& chemin);

// Traces every ray of every source, spread over `nb_fils` threads; the result does not
// depend on their number.  `suivi`, when given, hears of every ray traced.
void PropagerTout(System_Physique& systeme, int nb_fils, Suivi* suivi = nullptr);

}  // namespace optic
