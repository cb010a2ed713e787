// Which points of a row lie inside an element, in AVX-512 instructions (this file is built
// for them).
#include "render/remplissage_corps.h"

namespace optic {

void DedansRangeeAvx512(int type, const Dioptre* d, const double* xs, int n, double y,
                        std::uint8_t* dedans) {
    DedansRangeeIci<8>(type, d, xs, n, y, dedans);
}

}  // namespace optic
