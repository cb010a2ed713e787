#include "measure/focale.h"

#include <cmath>
#include <limits>

#include "elements/indice.h"

namespace optic {

double FocaleParaxiale(const Element& lentille, double n_espace, double lambda) {
    if (lentille.type != kTypeLentille || lentille.dioptres.size() < 2 || !lentille.indice) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const Dioptre& face1 = lentille.dioptres[0];
    const Dioptre& face2 = lentille.dioptres[1];
    // Curvatures with the signed radii of the lens line: face 1's centre lies at R1 from its
    // vertex along the axis; face 2's surface frame points back into the glass, so its centre
    // is stored at -R2.
    const double c1 = face1.courbure == 0 ? 0.0 : 1 / face1.centre.x;
    const double c2 = face2.courbure == 0 ? 0.0 : -1 / face2.centre.x;
    const double dx = face2.sommet.x - face1.sommet.x;
    const double dy = face2.sommet.y - face1.sommet.y;
    const double epaisseur = std::sqrt(dx * dx + dy * dy);
    const double m = lentille.indice->Indice(lambda) / n_espace;  // relative index
    const double puissance = (m - 1) * (c1 - c2) + (m - 1) * (m - 1) * epaisseur * c1 * c2 / m;
    return 1 / puissance;
}

}  // namespace optic
