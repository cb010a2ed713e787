// Which points of a row lie inside an element, compiled once for each instruction set (see
// remplissage.cpp), W lanes to a register.  Every function it uses must be always inlined: a
// function compiled out of line in the copy for wider instructions could be picked by the
// linker for the whole program.
#pragma once

#include <cstring>

#include "elements/element.h"
#include "render/remplissage.h"

namespace optic {

template <int W>
OPTIC_EN_LIGNE void DedansRangeeIci(int type, const Dioptre* d, const double* xs, int n, double y,
                                    std::uint8_t* dedans) {
    using D = typename Largeur<W>::Doubles;
    const D yv = Partout<D>(y);
    for (int i = 0; i < n; i += W) {
        D x;
        std::memcpy(&x, xs + i, sizeof x);
        const auto m = Contient(type, d, x, yv);
        for (int l = 0; l < W; ++l) dedans[i + l] = m[l] != 0;
    }
}

}  // namespace optic
