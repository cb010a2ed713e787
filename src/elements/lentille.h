#pragma once

#include "base/point.h"
#include "elements/element.h"

namespace optic {

// Face kinds of a lens.
inline constexpr int kFacePlane = 0;
inline constexpr int kFaceSpherique = 1;

// A lens: two faces (plane or spherical) joined by two rims, of one glass.  Its surfaces are
// [0] face 1, [1] face 2, [2] upper rim, [3] lower rim.  The aperture is narrowed where the
// geometry cannot hold the requested one: a curved face may not bulge past the thickness
// and the two faces may not cross.
struct Lentille : Element {
    Lentille(Point position, double epaisseur, int type1, double rayon1, int type2, double rayon2,
             double diametre, double angle, const IndiceRefraction* indice);
};

}  // namespace optic
