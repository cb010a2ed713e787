// The search for the nearest surface in AVX-512 instructions (this file is built for them).
#include "optic/recherche_corps.h"

namespace optic {

void ChercherAvx512(const Dioptre* surfaces, std::size_t n, Voies& v) {
    ChercherIci<8>(surfaces, n, v);
}

}  // namespace optic
