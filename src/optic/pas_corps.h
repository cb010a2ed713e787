// A tracing step, compiled once for each instruction set (see pas.cpp), W lanes to a
// register, with the arithmetic of the plain tracer.  Every function it uses must be always
// inlined: a function compiled out of line in the copy for wider instructions could be
// picked by the linker for the whole program.
#pragma once

#include <cstring>
#include <limits>

#include "optic/pas.h"
#include "optic/refraction.h"

namespace optic {

template <typename D>
OPTIC_EN_LIGNE D Charger(const double* p) {
    D v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename D>
OPTIC_EN_LIGNE void Ranger(double* p, D v) {
    std::memcpy(p, &v, sizeof v);
}

// The refractive index at (x, y), lanes p .. p + W - 1: the last element containing the
// point decides.  Elements whose box holds none of the points are passed at once.
template <typename D>
OPTIC_EN_LIGNE D MilieuIci(const BancPlat& b, const double* indices, int p, D x, D y) {
    D n = Partout<D>(b.indice_espace);
    auto trouve = x < x;  // nowhere yet
    for (std::size_t e = b.nb_elements; e-- > 0;) {
        const BancPlat::Corps& corps = b.elements[e];
        const auto cherche = Dans(corps.boite, x, y) & Non(trouve);
        if (Aucun(cherche)) continue;
        const auto dedans = cherche & Contient(corps.type, corps.dioptres, x, y);
        n = Choisir(dedans, Charger<D>(indices + e * kVoies + p), n);
        trouve = trouve | dedans;
    }
    return n;
}

// The nearest hit so far among some surfaces, lane by lane.
template <typename D>
struct Meilleur {
    D t = Partout<D>(std::numeric_limits<double>::infinity()), hu = Partout<D>(0.0),
      hv = Partout<D>(0.0), surface = Partout<D>(-1.0);

    // Surface number k; at equal distances it wins over the surfaces tried before it.
    OPTIC_EN_LIGNE void Essayer(const Dioptre& d, D k, D px, D py, D dx, D dy) {
        const bool plan = d.courbure == 0;
        const Repere<D> r = DansLeRepere(d, px, py, dx, dy);
        const D tk = plan ? ParametrePlan(d, r) : ParametreSphere(d, r);
        const auto mieux = tk <= t;
        t = Choisir(mieux, tk, t);
        hu = Choisir(mieux, HitU(r, tk, plan), hu);
        hv = Choisir(mieux, HitV(r, tk), hv);
        surface = Choisir(mieux, k, surface);
    }
    // The best of both, `suite` holding only surfaces after these.
    OPTIC_EN_LIGNE void Suivre(const Meilleur& suite) {
        const auto mieux = (suite.surface >= 0.0) & (suite.t <= t);
        t = Choisir(mieux, suite.t, t);
        hu = Choisir(mieux, suite.hu, hu);
        hv = Choisir(mieux, suite.hv, hv);
        surface = Choisir(mieux, suite.surface, surface);
    }
};

template <int W>
OPTIC_EN_LIGNE void PasIci(const BancPlat& b, Voies& v) {
    using D = typename Largeur<W>::Doubles;
    for (int p = 0; p < kVoies; p += W) {
        const D px = Charger<D>(v.px + p), py = Charger<D>(v.py + p);
        D dx = Charger<D>(v.dx + p), dy = Charger<D>(v.dy + p);
        // The nearest hit: its parameter, its place in the surface's frame, its surface (-1
        // for none).  Two searches over the two halves of the surfaces, merged at the end,
        // so that one does not wait for the other.
        Meilleur<D> debut, fin;
        const std::size_t n = b.nb_surfaces, moitie = n / 2;
        D k = Partout<D>(0.0), k2 = Partout<D>(static_cast<double>(moitie));  // surface numbers
        for (std::size_t i = 0; i < moitie; ++i, k += 1.0, k2 += 1.0) {
            debut.Essayer(b.surfaces[i], k, px, py, dx, dy);
            fin.Essayer(b.surfaces[moitie + i], k2, px, py, dx, dy);
        }
        if (n % 2) fin.Essayer(b.surfaces[n - 1], k2, px, py, dx, dy);
        debut.Suivre(fin);
        const D hu = debut.hu, hv = debut.hv, surface = debut.surface;
        const auto touche = surface >= 0.0;
        D issue = Partout<D>(kRien);
        if (!Aucun(touche)) {
            // Each lane's surface (the first for a lane that hit none: its results are not
            // used), then the hit and the tangent in the world.
            D c, s, x0, y0, xc, plan, transparent;
            for (int l = 0; l < W; ++l) {
                const double k = surface[l] >= 0 ? surface[l] : 0.0;
                const Dioptre& d = b.surfaces[static_cast<std::size_t>(k)];
                c[l] = d.cosinus;
                s[l] = d.sinus;
                x0[l] = d.sommet.x;
                y0[l] = d.sommet.y;
                xc[l] = d.centre.x;
                plan[l] = d.courbure == 0 ? 1.0 : 0.0;
                transparent[l] = d.transparent == 1 ? 1.0 : 0.0;
            }
            D hx, hy, tx, ty;
            VersLeMonde(c, s, x0, y0, xc, plan > 0.0, transparent, hu, hv, hx, hy, tx, ty);
            const auto opaque = (Abs(tx) < kTolerance) & (Abs(ty) < kTolerance);
            // Beyond the surface: the medium just past the hit along the direction.
            const D n = MilieuIci(b, v.indices, p, hx + kSondage * dx, hy + kSondage * dy);
            D rx, ry;
            Devier(dx, dy, tx, ty, n, rx, ry);
            const auto traverse = touche & Non(opaque);
            issue =
                Choisir(touche, Choisir(opaque, Partout<D>(kArret), Partout<D>(kTraverse)), issue);
            Ranger(v.hx + p, hx);
            Ranger(v.hy + p, hy);
            Ranger(v.dx + p, Choisir(traverse, rx, dx));
            Ranger(v.dy + p, Choisir(traverse, ry, dy));
        }
        Ranger(v.issue + p, issue);
    }
}

}  // namespace optic
