#include "raster/couleur.h"

#include <cmath>

#include "base/constantes.h"

namespace optic {

Niveaux Couleur(double lambda) {
    const double g = (lambda - 380) / 400;  // 0 at 380 nm, 1 at 780 nm
    if (!(g >= 0 && g <= 1)) return Niveaux{};
    Niveaux n;
    if (g < 0.2)
        n.rouge = 480 * g;
    else if (g < 0.275)
        n.rouge = 352 - 1280 * g;
    else if (g < 0.3)
        n.rouge = 0;
    else if (g < 0.5)
        n.rouge = 1280 * g - 384;
    else if (g < 0.6)
        n.rouge = 256;
    else
        n.rouge = 640 * (1 - g);

    if (g < 0.24)
        n.vert = 0;
    else if (g < 0.28)
        n.vert = 6400 * g - 1536;
    else if (g < 0.43)
        n.vert = 256;
    else if (g < 0.59)
        n.vert = 944 - 1600 * g;
    else
        n.vert = 0;

    if (g < 0.22)
        n.bleu = 1164 * g;
    else if (g < 0.24)
        n.bleu = 256;
    else if (g < 0.34)
        n.bleu = 870.4 - 2560 * g;
    else
        n.bleu = 0;
    return n;
}

Point SortieFenetre(Point position, Point direction, const Image& image) {
    const double dx = direction.x;
    const double dy = direction.y;
    const double xe = dx > 0 ? image.XMax() : image.XMin();
    if (std::fabs(dx) > kTolerance) {
        const double ye = position.y + (xe - position.x) * dy / dx;
        if (image.YMin() <= ye && ye <= image.YMax()) return Point{xe, ye};
    }
    const double ye = dy > 0 ? image.YMax() : image.YMin();
    return Point{position.x + (ye - position.y) * dx / dy, ye};
}

}  // namespace optic
