#include "model/source.h"

#include <cmath>

namespace optic {

Source_monochromatique::Source_monochromatique(double lambda_, Point milieu, double ouverture,
                                               double angle, int nb_rayons, double largeur_faisceau)
    : lambda(lambda_), milieu_(milieu), theta_(-angle) {
    if (nb_rayons < 1) return;
    nb_rayons_ = static_cast<std::size_t>(nb_rayons);
    h_ = ouverture * 0.5;
    w_ = largeur_faisceau * 0.5;
    s_ = std::sin(theta_);
    c_ = std::cos(theta_);
    if (nb_rayons > 1) tan_h_ = std::tan(h_);
}

// The first ray starts at one end of the segment, at the edge of the opening; ray i > 0 at
// t = 2i / (n - 1) - 1 along the segment, its tangent t tan h from the axis.
Rayon Source_monochromatique::Depart(std::size_t k) const {
    Rayon r;
    r.lambda = lambda;
    if (nb_rayons_ == 1) {
        r.position = milieu_;
    } else if (k == 0) {
        r.position = Point{milieu_.x + w_ * s_, milieu_.y - w_ * c_};
    } else {
        const double t = T(k);
        r.position = Point{milieu_.x - t * w_ * s_, milieu_.y + t * w_ * c_};
    }
    const double direction = theta_ + Ecart(k);
    r.direction = Point{std::cos(direction), std::sin(direction)};
    return r;
}

double Source_monochromatique::T(std::size_t k) const {
    const int i = static_cast<int>(k);
    return (2.0 * i) / (static_cast<int>(nb_rayons_) - 1) - 1;
}

double Source_monochromatique::Ecart(std::size_t k) const {
    if (nb_rayons_ == 1) return 0;
    if (k == 0) return -h_;
    return std::atan(T(k) * tan_h_);
}

}  // namespace optic
