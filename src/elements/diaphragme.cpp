#include "elements/diaphragme.h"

#include <cmath>

#include "base/constantes.h"

namespace optic {

Diaphragme::Diaphragme(Point position, double epaisseur, double rayon_interieur,
                       double rayon_exterieur, double angle) {
    type = kTypeDiaphragme;
    indice = nullptr;
    const double e = epaisseur / 2;
    const double m = (rayon_interieur + rayon_exterieur) / 2;
    const double w = (rayon_exterieur - rayon_interieur) / 2;
    const double ca = std::cos(angle);
    const double sa = std::sin(angle);

    auto plan = [&](double u, double v, double axe, double demi_ouverture) {
        Dioptre d;
        d.sommet = Point{position.x + ca * u + sa * v, position.y - sa * u + ca * v};
        d.Orienter(axe);
        d.demi_ouverture = demi_ouverture;
        d.transparent = 0;
        return d;
    };
    dioptres = {
        plan(-e, m, -angle, w),
        plan(-e, -m, -angle, w),
        plan(e, m, -kPi - angle, w),
        plan(e, -m, -kPi - angle, w),
        plan(0, rayon_interieur, -kDemiPi - angle, e),
        plan(0, -rayon_interieur, kDemiPi - angle, e),
        plan(0, rayon_exterieur, kDemiPi - angle, e),
        plan(0, -rayon_exterieur, -kDemiPi - angle, e),
    };
}

}  // namespace optic
