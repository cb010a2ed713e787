#include "model/source.h"

#include <algorithm>
#include <cmath>

namespace optic {

void Rayon::DefinirChemin(std::span<const Point> noeuds) {
    chemin_.reset(new Point[noeuds.size()]);  // every node is overwritten just below
    std::copy(noeuds.begin(), noeuds.end(), chemin_.get());
    nb_noeuds_ = noeuds.size();
}

Source_monochromatique::Source_monochromatique(double lambda, Point milieu, double ouverture,
                                               double angle, int nb_rayons, double largeur_faisceau)
    : lambda(lambda) {
    const double theta = -angle;
    if (nb_rayons < 1) return;
    const double h = ouverture * 0.5;
    const double w = largeur_faisceau * 0.5;
    const double s = std::sin(theta);
    const double c = std::cos(theta);

    rayons.reserve(static_cast<std::size_t>(nb_rayons));
    auto ajouter = [&](Point depart, double direction) {
        Rayon& r = rayons.emplace_back();
        r.lambda = lambda;
        r.position = depart;
        r.direction = Point{std::cos(direction), std::sin(direction)};
        r.DefinirChemin(std::span<const Point>(&depart, 1));
    };

    if (nb_rayons == 1) {
        ajouter(milieu, theta);
        return;
    }
    ajouter(Point{milieu.x + w * s, milieu.y - w * c}, theta - h);
    const double tan_h = std::tan(h);
    for (int i = 1; i < nb_rayons; ++i) {
        const double t = (2.0 * i) / (nb_rayons - 1) - 1;
        ajouter(Point{milieu.x - t * w * s, milieu.y + t * w * c}, theta + std::atan(t * tan_h));
    }
}

}  // namespace optic
