// The search for the nearest surface, compiled once for each instruction set (see
// recherche.cpp), W lanes to a register.  Every function it uses must be always inlined: a
// function compiled out of line in the copy for wider instructions could be picked by the
// linker for the whole program.
#pragma once

#include <cstring>

#include "optic/recherche.h"

namespace optic {

template <int W>
OPTIC_EN_LIGNE void ChercherIci(const Dioptre* surfaces, std::size_t n, Voies& v) {
    using D = typename Largeur<W>::Doubles;
    for (int premiere = 0; premiere < kVoies; premiere += W) {
        D px, py, dx, dy;
        std::memcpy(&px, v.px + premiere, sizeof(D));
        std::memcpy(&py, v.py + premiere, sizeof(D));
        std::memcpy(&dx, v.dx + premiere, sizeof(D));
        std::memcpy(&dy, v.dy + premiere, sizeof(D));
        D meilleur = Partout<D>(-1.0), surface = Partout<D>(-1.0);
        for (std::size_t k = 0; k < n; ++k) {
            const Dioptre& d = surfaces[k];
            const Repere<D> r = DansLeRepere(d, px, py, dx, dy);
            const D t = d.courbure == 0 ? ParametrePlan(d, r) : ParametreSphere(d, r);
            const auto mieux = (t > 0.0) & ((t <= meilleur) | (meilleur < 0.0));
            meilleur = Choisir(mieux, t, meilleur);
            surface = Choisir(mieux, Partout<D>(static_cast<double>(k)), surface);
        }
        std::memcpy(v.meilleur + premiere, &meilleur, sizeof(D));
        std::memcpy(v.surface + premiere, &surface, sizeof(D));
    }
}

}  // namespace optic
