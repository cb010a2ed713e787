#include "raster/marche.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "base/bits.h"

namespace optic {
namespace {

// The runs must give, bit for bit, the values of the walk that adds its step each time:
// across binades, through zero, on rounding ties, and where the step is lost in rounding.
TEST(Marche, LesTronconsRedonnentLaMarcheAjouteePasAPas) {
    std::mt19937_64 hasard(2026);
    std::uniform_real_distribution<double> u(-1, 1);
    // Scales of the starting point and of the step.
    const double familles[][2] = {{100, 0.1}, {5, 1e-3}, {1e6, 0.3}, {1e-3, 1e-5}, {1e17, 3}};
    for (int essai = 0; essai < 3000; ++essai) {
        const double debut = u(hasard) * familles[essai % 5][0];
        double pas = (std::fabs(u(hasard)) + 1e-3) * familles[essai % 5][1];
        if (essai % 7 == 0) {
            // A step that falls on a rounding tie for values in [1, 2).
            pas = std::ldexp(std::floor(std::fabs(u(hasard)) * 1e6), -52) + std::ldexp(1.0, -53);
        }
        const std::int64_t n = 1 + static_cast<std::int64_t>(hasard() % 3000);
        Marche marche(debut, pas);
        double t = debut;
        std::int64_t k = 0;
        while (k < n) {
            const Marche::Troncon r = marche.Suivant(n);
            ASSERT_EQ(r.premier, k);
            ASSERT_GT(r.nombre, 0);
            for (std::int64_t j = 0; j < r.nombre; ++j, ++k, t += pas) {
                ASSERT_EQ(BitsDe(r.Valeur(k)), BitsDe(t))
                    << "debut " << debut << " pas " << pas << " k " << k;
            }
        }
        EXPECT_EQ(marche.Suivant(n).nombre, 0);
    }
}

}  // namespace
}  // namespace optic
