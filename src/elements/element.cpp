#include "elements/element.h"

#include <algorithm>
#include <cmath>

namespace optic {

Boite BoiteElement(const Element& e) {
    Boite b{};
    bool premiere = true;
    for (const Dioptre& d : e.dioptres) {
        const double h = d.demi_ouverture;
        const double s =
            d.rayon_carre >= 0 ? d.centre.x - d.courbure * std::sqrt(d.rayon_carre - h * h) : 0;
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

}  // namespace optic
