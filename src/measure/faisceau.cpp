#include "measure/faisceau.h"

#include <algorithm>
#include <cmath>

#include "base/constantes.h"

namespace optic {

namespace {

// The line a ray that left goes on along: the start of its last segment and its unit
// direction.  False when it has none: a zero direction, or numbers that are not finite.
bool Droite(const Rayon& rayon, Point& point, Point& unitaire) {
    const Point d = rayon.direction;
    const double echelle = std::max(std::fabs(d.x), std::fabs(d.y));
    if (!(echelle > 0) || !std::isfinite(echelle) || !std::isfinite(rayon.position.x) ||
        !std::isfinite(rayon.position.y)) {
        return false;
    }
    const Point e{d.x / echelle, d.y / echelle};  // scaled first, so that squaring cannot overflow
    const double norme = std::sqrt(e.x * e.x + e.y * e.y);
    unitaire = Point{e.x / norme, e.y / norme};
    point = rayon.position;
    return true;
}

// Folds the row (a, b) of a triangular factor's column into it: one Givens rotation that zeroes
// a against the diagonal entry r, applied to the rest of the row.
struct Rotation {
    double c = 1, s = 0;
    bool Construire(double& r, double a) {
        const double rho = std::sqrt(r * r + a * a);
        if (!(rho > 0)) return false;
        c = r / rho;
        s = a / rho;
        r = rho;
        return true;
    }
    void Appliquer(double& haut, double& bas) const {
        const double h = c * haut + s * bas;
        bas = c * bas - s * haut;
        haut = h;
    }
};

}  // namespace

void MesureFaisceau::Compter(const Rayon& rayon) {
    ++bilan_.rayons;
    switch (rayon.fin) {
        case FinRayon::Ouverte:
            ++bilan_.sortis;
            break;
        case FinRayon::Opaque:
            ++bilan_.arretes;
            return;
        case FinRayon::Limite:
            ++bilan_.pieges;
            return;
    }
    Point p, u;
    if (!Droite(rayon, p, u)) return;
    if (droites_++ == 0) origine_ = p;
    somme_directions_ = Point{somme_directions_.x + u.x, somme_directions_.y + u.y};
    // Distance from x to the line: n . (x - p), n the unit normal.  Row: [n | n . (p - origine)].
    const double a1 = -u.y, a2 = u.x;
    Plier(a1, a2, a1 * (p.x - origine_.x) + a2 * (p.y - origine_.y));
}

void MesureFaisceau::Plier(double a1, double a2, double b) {
    Rotation g;
    if (g.Construire(r11_, a1)) {
        g.Appliquer(r12_, a2);
        g.Appliquer(z1_, b);
    }
    if (g.Construire(r22_, a2)) g.Appliquer(z2_, b);
}

void MesureFaisceau::Joindre(const MesureFaisceau& suite) {
    bilan_.rayons += suite.bilan_.rayons;
    bilan_.sortis += suite.bilan_.sortis;
    bilan_.arretes += suite.bilan_.arretes;
    bilan_.pieges += suite.bilan_.pieges;
    if (suite.droites_ == 0) return;
    if (droites_ == 0) {  // nothing to fold into
        droites_ = suite.droites_;
        origine_ = suite.origine_;
        r11_ = suite.r11_, r12_ = suite.r12_, r22_ = suite.r22_, z1_ = suite.z1_, z2_ = suite.z2_;
        somme_directions_ = suite.somme_directions_;
        return;
    }
    droites_ += suite.droites_;
    somme_directions_ = Point{somme_directions_.x + suite.somme_directions_.x,
                              somme_directions_.y + suite.somme_directions_.y};
    // The later rows, as the triangular factor R' and right-hand side z' that they fold to
    // about their own origin o': about this origin o, each row's right-hand side grows by
    // n . (o' - o), so z' grows by R' (o' - o).  Their two rows fold in like any other.
    const double dx = suite.origine_.x - origine_.x, dy = suite.origine_.y - origine_.y;
    const double z1 = suite.z1_ + (suite.r11_ * dx + suite.r12_ * dy);
    const double z2 = suite.z2_ + suite.r22_ * dy;
    Plier(suite.r11_, suite.r12_, z1);
    Plier(0, suite.r22_, z2);
}

bool MesureFaisceau::Resoudre() {
    if (droites_ < 2) {
        bilan_.convergence = bilan_.sortis < 2 ? Convergence::Aucune : Convergence::Indeterminee;
        return false;
    }
    // The eigenvalues of RᵀR from its trace and its determinant.
    const double trace = r11_ * r11_ + r12_ * r12_ + r22_ * r22_;
    const double det = r11_ * r22_;
    const double ecart = std::sqrt(std::max(0.0, trace * trace - 4 * det * det));
    const double plus_grande = (trace + ecart) / 2;
    if (!(det * det > kParallelisme * plus_grande * plus_grande)) {
        bilan_.convergence = Convergence::Parallele;
        const Point s = somme_directions_;
        bilan_.direction = s.x == 0 && s.y == 0 ? std::nan("") : std::atan2(-s.y, s.x) * 180 / kPi;
        return false;
    }
    const double y = z2_ / r22_;
    const double x = (z1_ - r12_ * y) / r11_;
    solution_ = Point{x, y};
    bilan_.image = Point{origine_.x + x, origine_.y + y};
    if (!std::isfinite(bilan_.image.x) || !std::isfinite(bilan_.image.y)) {
        bilan_.convergence = Convergence::Indeterminee;
        return false;
    }
    bilan_.convergence = Convergence::Point;
    return true;
}

void MesureFaisceau::Verifier(const Rayon& rayon) {
    Point p, u;
    if (bilan_.convergence != Convergence::Point || rayon.fin != FinRayon::Ouverte ||
        !Droite(rayon, p, u)) {
        return;
    }
    const Point e{solution_.x - (p.x - origine_.x), solution_.y - (p.y - origine_.y)};
    const double distance = u.x * e.y - u.y * e.x;
    carres_ += distance * distance;
    // The point lies ahead when the ray still has to reach it.
    if (u.x * e.x + u.y * e.y > kTolerance) ++devant_;
}

BilanFaisceau MesureFaisceau::Bilan() const {
    BilanFaisceau b = bilan_;
    if (b.convergence == Convergence::Point) {
        b.rms = std::sqrt(carres_ / static_cast<double>(droites_));
        b.reelle = 2 * devant_ > droites_;
    }
    return b;
}

}  // namespace optic
