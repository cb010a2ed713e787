#pragma once

#include <vector>

#include "surfaces/dioptre.h"

namespace optic {

struct IndiceRefraction;

// Kind codes of the bench's elements.
inline constexpr int kTypeLentille = 2;
inline constexpr int kTypeDiaphragme = 3;

// What every element of the bench is to the tracer and the drawing: its glass (none for a
// diaphragm), its surfaces in chain order, and its kind.
struct Element {
    const IndiceRefraction* indice = nullptr;
    std::vector<Dioptre> dioptres;
    int type = 0;
};

// Whether p lies in the element's body: inside both faces of a lens; inside the entrance and
// exit faces of either blade of a diaphragm (slots 0 and 2, or 1 and 3).  Rims and blade
// edges are not consulted.
// The same for several points side by side, d being the element's surfaces.
template <typename T>
OPTIC_EN_LIGNE auto Contient(int type, const Dioptre* d, T x, T y) {
    if (type == kTypeLentille) return Dedans(d[0], x, y) & Dedans(d[1], x, y);
    return (Dedans(d[0], x, y) & Dedans(d[2], x, y)) | (Dedans(d[1], x, y) & Dedans(d[3], x, y));
}

inline bool Contient(const Element& e, Point p) {
    return Contient(e.type, e.dioptres.data(), p.x, p.y);
}

// An axis-aligned box of the world.
struct Boite {
    double xmin, xmax, ymin, ymax;
};

// The box around an element: the corners of each surface's extent (a plane's segment, or an
// arc's chord and its vertex), in the world.  Every point of every surface lies inside it.
Boite BoiteElement(const Element& e);

// A box holding every hit a half-line can have on the element's surfaces (Intersection), up
// to rounding; everywhere (infinite bounds) when a number of the element is not finite.
Boite BoiteImpacts(const Element& e);

// A box outside which Contient is false, rounding included: bounds may be infinite, and a
// box with a bound that is not a number holds every point (see Dans).
Boite BoiteContenu(const Element& e);

// Whether (x, y) may lie in the box; true too when a bound is not a number.  For one point
// or several side by side.
template <typename T>
OPTIC_EN_LIGNE auto Dans(const Boite& b, T x, T y) {
    return Non((x < b.xmin) | (x > b.xmax) | (y < b.ymin) | (y > b.ymax));
}

}  // namespace optic
