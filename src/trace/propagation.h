#pragma once

#include <vector>

#include "base/constantes.h"
#include "base/point.h"
#include "model/system.h"
#include "surfaces/refraction.h"

namespace optic {

// Most surface hits after which a ray goes on: a ray trapped by total reflection is ended
// there, as if stopped.
inline constexpr int kImpactsMax = 1000;

// The refractive index at p for a wavelength: the last element of the bench that contains p
// decides (0 in a diaphragm blade); outside every element, the space's index.
double IndiceMilieu(const System_Physique& systeme, Point p, double lambda);

// Where the medium beyond a surface hit at h is probed: just past it along the direction d.
inline Point Sonde(Point h, Point d) {
    return Point{h.x + kSondage * d.x, h.y + kSondage * d.y};
}

// The new direction of a ray of direction d that meets a surface of unit tangent t, with the
// index n beyond it: Snell's law, or total reflection where the new medium cannot take the
// tangential component.
Point Devier(Point d, Point t, double n);

// The ray's new direction where it meets a surface at h with unit tangent t.
void Deviation(const System_Physique& systeme, Rayon& rayon, Point h, Point t);

// Whether a hit's tangent is that of an opaque surface, where the ray ends.
inline bool Opaque(Point tangente) {
    return Opaque(tangente.x, tangente.y);
}

// Traces one ray through the bench, from its start to an open or a stopped end, the plain
// way: every surface at every step.  `chemin` receives the path, which the ray then views.
void Propagation(const System_Physique& systeme, Rayon& rayon, std::vector<Point>& chemin);

}  // namespace optic
