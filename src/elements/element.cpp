#include "elements/element.h"

#include <algorithm>
#include <cmath>

namespace optic {

Boite BoiteElement(const Element& e) {
    Boite b{};
    bool premiere = true;
    for (const Dioptre& d : e.dioptres) {
        const double h = d.demi_ouverture;
        const double s = Fleche(d, h);
        const Point coins[4] = {{s, h}, {0, -h}, {0, h}, {s, -h}};
        for (const Point& c : coins) {
            const double x = d.sommet.x + d.cosinus * c.x - d.sinus * c.y;
            const double y = d.sommet.y + d.sinus * c.x + d.cosinus * c.y;
            if (premiere) {
                b = Boite{x, x, y, y};
                premiere = false;
            }
            b.xmin = std::min(b.xmin, x);
            b.xmax = std::max(b.xmax, x);
            b.ymin = std::min(b.ymin, y);
            b.ymax = std::max(b.ymax, y);
        }
    }
    return b;
}

namespace {

// The range of k * v for v in [lo, hi], bounds possibly infinite (0 times anything is 0).
void Produit(double k, double lo, double hi, double& min, double& max) {
    if (k == 0) {
        min = max = 0;
        return;
    }
    min = std::min(k * lo, k * hi);
    max = std::max(k * lo, k * hi);
}

// A box in the world holding every point where d.Interrieur may be true: in the surface's
// frame the lateral coordinate is within the band, and the axial one past the plane
// (without end) or within the disc, or beyond the centre (without end).
Boite BoiteInterieur(const Dioptre& d) {
    const double bande = d.demi_ouverture + kTolerance;
    double amin = -kTolerance, amax = INFINITY, bmax = bande;
    if (d.courbure == 1) {
        const double r = std::sqrt(d.rayon_carre);
        amin = d.centre.x - r;
        amax = d.centre.x + r;
        bmax = std::min(bande, r);
    } else if (d.courbure != 0) {
        amin = d.centre.x;
    }
    // x = X0 + c a - s b, y = Y0 + s a + c b over the frame's box.
    double xa, xA, xb, xB, ya, yA, yb, yB;
    Produit(d.cosinus, amin, amax, xa, xA);
    Produit(-d.sinus, -bmax, bmax, xb, xB);
    Produit(d.sinus, amin, amax, ya, yA);
    Produit(d.cosinus, -bmax, bmax, yb, yB);
    return Boite{d.sommet.x + xa + xb, d.sommet.x + xA + xB, d.sommet.y + ya + yb,
                 d.sommet.y + yA + yB};
}

Boite Inter(const Boite& a, const Boite& b) {
    return Boite{std::max(a.xmin, b.xmin), std::min(a.xmax, b.xmax), std::max(a.ymin, b.ymin),
                 std::min(a.ymax, b.ymax)};
}

Boite Union(const Boite& a, const Boite& b) {
    return Boite{std::min(a.xmin, b.xmin), std::max(a.xmax, b.xmax), std::min(a.ymin, b.ymin),
                 std::max(a.ymax, b.ymax)};
}

bool Nombres(const Boite& b) {
    return !std::isnan(b.xmin) && !std::isnan(b.xmax) && !std::isnan(b.ymin) && !std::isnan(b.ymax);
}

}  // namespace

Boite BoiteImpacts(const Element& e) {
    constexpr double kPartout = INFINITY;
    const Boite partout{-kPartout, kPartout, -kPartout, kPartout};
    Boite b{kPartout, -kPartout, kPartout, -kPartout};
    for (const Dioptre& d : e.dioptres) {
        // The hits in the surface's frame: on a plane (0, v), |v| <= h; on an arc, the half
        // of the circle on the vertex side of its centre, where |v| <= h and |v| <= r, from
        // the vertex (0, 0) to where the circle crosses |v| = min(h, r).
        double h = d.demi_ouverture, s = 0;
        if (d.courbure != 0) {
            const double r = std::sqrt(d.rayon_carre);
            h = std::min(h, r);
            s = Fleche(d, h);
        }
        const Point coins[4] = {{s, h}, {0, -h}, {0, h}, {s, -h}};
        for (const Point& c : coins) {
            const double x = d.sommet.x + d.cosinus * c.x - d.sinus * c.y;
            const double y = d.sommet.y + d.sinus * c.x + d.cosinus * c.y;
            if (!std::isfinite(x) || !std::isfinite(y)) return partout;
            b = Union(b, Boite{x, x, y, y});
        }
    }
    return b;
}

Boite BoiteContenu(const Element& e) {
    constexpr double kPartout = INFINITY;
    const Boite partout{-kPartout, kPartout, -kPartout, kPartout};
    const std::vector<Dioptre>& d = e.dioptres;
    const std::size_t faces = e.type == kTypeLentille ? 2 : 4;
    if (d.size() < faces) return partout;
    Boite boites[4];
    double echelle = 1;  // the largest magnitude the tests work with
    for (std::size_t k = 0; k < faces; ++k) {
        boites[k] = BoiteInterieur(d[k]);
        if (!Nombres(boites[k])) return partout;
        for (double v : {d[k].sommet.x, d[k].sommet.y, d[k].centre.x, d[k].demi_ouverture,
                         std::sqrt(std::fabs(d[k].rayon_carre))}) {
            echelle = std::max(echelle, std::fabs(v));
        }
    }
    Boite b = e.type == kTypeLentille
                  ? Inter(boites[0], boites[1])
                  : Union(Inter(boites[0], boites[2]), Inter(boites[1], boites[3]));
    if (!Nombres(b)) return partout;
    for (double v : {b.xmin, b.xmax, b.ymin, b.ymax}) {
        if (std::isfinite(v)) echelle = std::max(echelle, std::fabs(v));
    }
    if (!std::isfinite(echelle)) return partout;
    // Rounding in the inside tests: far below a millionth of the scale.
    const double marge = 1e-9 * echelle;
    return Boite{b.xmin - marge, b.xmax + marge, b.ymin - marge, b.ymax + marge};
}

}  // namespace optic
