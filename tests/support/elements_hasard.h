// Elements drawn at random, for tests that compare two ways of computing one thing.
#pragma once

#include <random>

#include "base/constantes.h"
#include "elements/diaphragme.h"
#include "elements/lentille.h"

namespace optic::test {

// An element drawn at random: lenses of every kind (some wider than a face's circle) and
// diaphragms, anywhere, at any angle.
inline Element ElementAuHasard(std::mt19937_64& alea, int i, double diametre_max) {
    auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(alea); };
    const double angle = u(-kPi, kPi);
    const Point p{u(-50, 50), u(-50, 50)};
    if (i % 3 == 0) {
        const double interieur = u(0, 10);
        return Diaphragme(p, u(0.1, 4), interieur, interieur + u(0.5, 20), angle);
    }
    auto rayon = [&] { return i % 5 == 0 ? 0.0 : (i % 2 ? 1 : -1) * u(3, 100); };
    const double r1 = rayon(), r2 = rayon();
    return Lentille(p, u(0.2, 12), r1 ? kFaceSpherique : kFacePlane, r1,
                    r2 ? kFaceSpherique : kFacePlane, r2, u(1, diametre_max), angle, nullptr);
}

}  // namespace optic::test
