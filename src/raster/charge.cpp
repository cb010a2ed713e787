#include "raster/charge.h"

#include <algorithm>
#include <cmath>

namespace optic {

namespace {

// A segment crossing a band costs about as much as this many points: its walk is set up,
// cut into runs and clipped to the band's rows.
constexpr double kPointsParSegment = 100.0;

}  // namespace

Charge::Charge(int taille)
    : taille_(std::max(taille, 0)),
      points_(static_cast<std::size_t>(taille_) + 2, 0.0),
      debuts_(static_cast<std::size_t>(taille_) + 2, 0.0),
      fins_(static_cast<std::size_t>(taille_) + 2, 0.0) {}

void Charge::Ajouter(const Image& image, Point a, Point b, double poids) {
    if (taille_ == 0) return;
    const double points = PointsDuSegment(image, a, b);
    const double ra = (a.y + image.decalage_y) * image.zoom + 0.5;
    const double rb = (b.y + image.decalage_y) * image.zoom + 0.5;
    if (std::isnan(ra) || std::isnan(rb)) return;
    double bas = std::min(ra, rb), haut = std::max(ra, rb);
    if (!(points > 0) || haut < 0 || bas >= taille_) return;
    bas = std::max(bas, 0.0);
    haut = std::min(haut, taille_ - 1.0);
    const auto premier = static_cast<std::size_t>(bas);
    const auto dernier = static_cast<std::size_t>(haut);
    const double par_rang = poids * points / static_cast<double>(dernier - premier + 1);
    points_[premier] += par_rang;
    points_[dernier + 1] -= par_rang;
    debuts_[premier] += poids;
    fins_[dernier] += poids;
}

void Charge::Cumuler() {
    // Points per row, then the points of the rows before each; the same for the segments.
    double par_rang = 0, points = 0, debuts = 0, fins = 0;
    for (std::size_t r = 0; r < points_.size(); ++r) {
        par_rang += points_[r];
        const double ici = par_rang, d = debuts_[r], f = fins_[r];
        points_[r] = points;
        debuts_[r] = debuts;
        fins_[r] = fins;
        points += ici;
        debuts += d;
        fins += f;
    }
}

double Charge::Travail(int debut, int fin) const {
    const auto a = static_cast<std::size_t>(debut), b = static_cast<std::size_t>(fin);
    // Segments crossing the rows: those starting before `fin`, but for those ending before
    // `debut`.
    return points_[b] - points_[a] + kPointsParSegment * (debuts_[b] - fins_[a]);
}

}  // namespace optic
