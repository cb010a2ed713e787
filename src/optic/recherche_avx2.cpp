// The search for the nearest surface in AVX2 instructions (this file is built for them).
#include "optic/recherche_corps.h"

namespace optic {

void ChercherAvx2(const Dioptre* surfaces, std::size_t n, Voies& v) {
    ChercherIci<4>(surfaces, n, v);
}

}  // namespace optic
