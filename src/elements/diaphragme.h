#pragma once

#include "base/point.h"
#include "elements/element.h"

namespace optic {

// An opaque stop: two rectangular blades on either side of its axis, the opening between
// them.  Its eight plane surfaces are, in order: the entrance faces of the positive and the
// negative blade, their exit faces, their inner edges, their outer edges.
struct Diaphragme : Element {
    Diaphragme(Point position, double epaisseur, double rayon_interieur, double rayon_exterieur,
               double angle);
};

}  // namespace optic
