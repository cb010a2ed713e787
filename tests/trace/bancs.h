// Benches built in code for the tracing tests: a glass of three indices, and the tie between
// a lens face and a blade's face met at the same distance.
#pragma once

#include <memory>
#include <vector>

#include "elements/diaphragme.h"
#include "elements/lentille.h"
#include "model/system.h"

namespace optic::test {

inline const IndiceRefraction* Verre(System_Physique& s, double n1 = 1.5, double n2 = 1.5,
                                     double n3 = 1.5) {
    s.indices.push_back(
        std::make_unique<IndiceRefraction>(IndiceRefraction{{n1, n2, n3}, {400, 500, 600}}));
    return s.indices.back().get();
}

// A flat-faced lens from x = 0 to 5 and a blade from x = 1 to 3 above y = 1, in either order:
// the later of the two in the bench wins a tie.
inline void Egalite(bool diaphragme_dernier, System_Physique& s) {
    const Element l = Lentille({0, 0}, 5, kFacePlane, 0, kFacePlane, 0, 10, 0, Verre(s));
    const Element d = Diaphragme({1, 0}, 2, 1, 3, 0);
    s.elements = diaphragme_dernier ? std::vector{l, d} : std::vector{d, l};
}

}  // namespace optic::test
