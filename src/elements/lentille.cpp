#include "elements/lentille.h"

#include <cmath>

#include "base/constantes.h"

namespace optic {

namespace {

// Axial positions of the two faces' rims at half-height h, in the lens frame.
struct Bords {
    double x1;
    double x2;
};

Bords PositionBords(double h, double epaisseur, int type1, double rayon1, int type2,
                    double rayon2) {
    Bords b{0.0, epaisseur};
    if (type1 != kFacePlane) {
        const double r = std::sqrt(rayon1 * rayon1 - h * h);
        b.x1 = rayon1 > 0 ? rayon1 - r : rayon1 + r;
    }
    if (type2 != kFacePlane) {
        const double r = std::sqrt(rayon2 * rayon2 - h * h);
        b.x2 = rayon2 > 0 ? epaisseur + rayon2 - r : epaisseur + rayon2 + r;
    }
    return b;
}

Dioptre Face(Point sommet, double angle, int type, double rayon_centre, double rayon_carre,
             int courbure, double h) {
    Dioptre d;
    d.sommet = sommet;
    d.Orienter(angle);
    d.demi_ouverture = h;
    d.transparent = 1;
    if (type == kFacePlane) {
        d.centre = Point{0.0, 0.0};
        d.rayon_carre = -1.0;
        d.courbure = 0;
    } else {
        d.centre = Point{rayon_centre, 0.0};
        d.rayon_carre = rayon_carre;
        d.courbure = courbure;
    }
    return d;
}

Dioptre Bord(Point sommet, double angle, double demi_epaisseur) {
    Dioptre d;
    d.sommet = sommet;
    d.Orienter(angle);
    d.demi_ouverture = demi_epaisseur;
    return d;
}

}  // namespace

Lentille::Lentille(Point position, double epaisseur, int type1, double rayon1, int type2,
                   double rayon2, double diametre, double angle, const IndiceRefraction* indice_) {
    indice = indice_;
    type = kTypeLentille;
    const double s = std::sin(-angle);
    const double c = std::cos(-angle);
    auto monde = [&](double u, double v) {
        return Point{position.x + c * u - s * v, position.y + s * u + c * v};
    };

    double h = diametre * 0.5;
    // One curved face: it may not bulge past the thickness.  A thickness above the diameter
    // of the curved face leaves the root undefined and the aperture as it is.
    if ((type1 == kFacePlane) != (type2 == kFacePlane)) {
        const double r = type1 != kFacePlane ? rayon1 : rayon2;
        const double m = std::sqrt((2 * std::fabs(r) - epaisseur) * epaisseur);
        if (h > m - kTolerance) h = m - kTolerance;
    }

    Bords b = PositionBords(h, epaisseur, type1, rayon1, type2, rayon2);
    if ((b.x2 - b.x1) * 0.5 < 0) {
        // The faces cross inside the aperture: stop it where their circles meet.
        const double p = rayon1 * rayon2;
        const double q = p + (rayon1 - rayon2) * epaisseur - epaisseur * epaisseur * 0.5;
        h = std::sqrt((q * q - p * p) / (2 * q - rayon1 * rayon1 - rayon2 * rayon2));
        b = PositionBords(h, epaisseur, type1, rayon1, type2, rayon2);
    }
    const double w = (b.x2 - b.x1) * 0.5;
    const double milieu = (b.x2 + b.x1) * 0.5;

    dioptres.reserve(4);
    dioptres.push_back(
        Face(position, -angle, type1, rayon1, rayon1 * rayon1, rayon1 < 0 ? -1 : 1, h));
    dioptres.push_back(Face(monde(epaisseur, 0), -kPi - angle, type2, -rayon2, rayon2 * rayon2,
                            rayon2 > 0 ? -1 : 1, h));
    dioptres.push_back(Bord(monde(milieu, h), kDemiPi - angle, w));
    dioptres.push_back(Bord(monde(milieu, -h), -kDemiPi - angle, w));
}

}  // namespace optic
