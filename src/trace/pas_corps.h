// A tracing step, compiled once for each instruction set (see pas.cpp), W lanes to a
// register, with the arithmetic of the plain tracer.  Every function it uses must be always
// inlined: a function compiled out of line in the copy for wider instructions could be
// picked by the linker for the whole program.
#pragma once

#include <cstring>
#include <limits>

#include "surfaces/refraction.h"
#include "trace/pas.h"

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
};

template <typename D>
OPTIC_EN_LIGNE D Min(D a, D b) {
    return Choisir(a < b, a, b);
}
template <typename D>
OPTIC_EN_LIGNE D Max(D a, D b) {
    return Choisir(a > b, a, b);
}

// Whether each lane's ray may meet an element's box, widened by far more than any rounding
// (of the hits, of the frames, of this test), at a parameter below its best so far (`t`,
// infinite for none).  Hits lie in the box, so an element no lane may meet is passed; a lane
// whose numbers are not numbers, not finite or out of range is never passed.
template <typename D>
OPTIC_EN_LIGNE auto PeutToucher(const BancPlat::Corps& c, D px, D py, D ix, D iy, D t) {
    const D marge = 1e-9 * (c.echelle + Abs(px) + Abs(py));
    const D x0 = (c.impacts.xmin - marge - px) * ix, x1 = (c.impacts.xmax + marge - px) * ix;
    const D y0 = (c.impacts.ymin - marge - py) * iy, y1 = (c.impacts.ymax + marge - py) * iy;
    const D debut = Max(Min(x0, x1), Min(y0, y1)), fin = Min(Max(x0, x1), Max(y0, y1));
    const auto loin = (debut > fin) | (fin < 0.0) | (debut - 1e-9 * Abs(debut) > t);
    const auto douteux = (x0 != x0) | (x1 != x1) | (y0 != y0) | (y1 != y1) | (marge != marge);
    return Non(loin) | douteux;
}

template <int W>
OPTIC_EN_LIGNE void PasIci(const BancPlat& b, Voies& v) {
    using D = typename Largeur<W>::Doubles;
    for (int p = 0; p < kVoies; p += W) {
        const D px = Charger<D>(v.px + p), py = Charger<D>(v.py + p);
        D dx = Charger<D>(v.dx + p), dy = Charger<D>(v.dy + p);
        // The nearest hit: its parameter, its place in the surface's frame, its surface (-1
        // for none).
        Meilleur<D> debut;
        const D ix = 1.0 / dx, iy = 1.0 / dy;
        const auto actif = px == px;
        for (std::size_t e = 0; e < b.nb_elements; ++e) {
            const BancPlat::Corps& c = b.elements[e];
            if (Aucun(actif & PeutToucher(c, px, py, ix, iy, debut.t))) continue;
            const std::size_t premiere = static_cast<std::size_t>(c.dioptres - b.surfaces);
            D k = Partout<D>(static_cast<double>(premiere));  // surface numbers
            for (std::size_t i = 0; i < c.nb_dioptres; ++i, k += 1.0) {
                debut.Essayer(c.dioptres[i], k, px, py, dx, dy);
            }
        }
        const D hu = debut.hu, hv = debut.hv, surface = debut.surface;
        const auto touche = surface >= 0.0;
        D issue = Partout<D>(kRien);
        if (!Aucun(touche)) {
            // Each lane's surface (the first for a lane that hit none: its results are not
            // used), then the hit and the tangent in the world.
            double c[W], s[W], x0[W], y0[W], xc[W], plan[W], transparent[W];
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
            VersLeMonde(Charger<D>(c), Charger<D>(s), Charger<D>(x0), Charger<D>(y0),
                        Charger<D>(xc), Charger<D>(plan) > 0.0, Charger<D>(transparent), hu, hv, hx,
                        hy, tx, ty);
            const auto opaque = Opaque(tx, ty);
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
