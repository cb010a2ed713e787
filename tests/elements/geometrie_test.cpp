// Surfaces, lenses and diaphragms: inside tests, hits, outlines and construction.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "elements/diaphragme.h"
#include "elements/lentille.h"
#include "support/elements_hasard.h"

namespace optic {
namespace {

// (Whether a point is inside a surface, with its tolerances, and where a half-line meets it:
// the inside runs' differential test against every point of a row, and the tracing tests.)

// Usable aperture and placing of the faces and rims, with the rims' half-width.
TEST(Lentille, OuvertureEtPlacementDesQuatreSurfaces) {
    const double hc = std::sqrt(2.4375), hp = std::sqrt(9.75);
    const double cas[][8] = {
        // Thickness, first face curved, its radius, the second's, diameter, h, w, rims' x.
        {2, 1, 10, -10, 4, 2, std::sqrt(96.0) - 9, 1},
        {0.5, 1, 5, -5, 8, hc, 0, 0.25},         // faces crossing inside the aperture
        {0.5, 0, 0, -10, 8, hp - 1e-10, 0, 0}};  // a curved face limited by the plane one
    for (const auto& c : cas) {
        const Lentille l({0, 0}, c[0], c[1] ? kFaceSpherique : kFacePlane, c[2], kFaceSpherique,
                         c[3], c[4], 0, nullptr);
        const Point sommets[] = {{0, 0}, {c[0], 0}, {c[7], c[5]}, {c[7], -c[5]}};
        for (int k = 0; k < 4; ++k) {
            const Dioptre& d = l.dioptres[k];
            EXPECT_LT(std::hypot(d.sommet.x - sommets[k].x, d.sommet.y - sommets[k].y), 1e-6) << k;
            EXPECT_NEAR(d.demi_ouverture, k < 2 ? c[5] : c[6], k < 2 ? 1e-12 : 1e-9) << c[0] << k;
        }
    }
}

// The box outside which nothing is inside an element holds every point found inside it, at
// the edges too, for lenses of every kind and diaphragms at any angle; for an ordinary lens
// it is hardly larger than the lens.
TEST(Element, BoitesDuContenuEtDesImpacts) {
    std::mt19937_64 alea(7);
    auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(alea); };
    for (int i = 0; i < 300; ++i) {
        const Element e = test::ElementAuHasard(alea, i, 40);
        const Boite b = BoiteContenu(e);
        int dedans = 0;
        for (int j = 0; j < 4000; ++j) {
            // Points all over the element, and points just beside its surfaces.
            const Dioptre& d = e.dioptres[static_cast<std::size_t>(j) % e.dioptres.size()];
            Point q{u(-70, 70), u(-70, 70)};
            if (j % 2) {
                const double v = u(-1.01, 1.01) * d.demi_ouverture, a = u(-1e-9, 1e-9);
                q = Point{d.sommet.x + d.cosinus * a - d.sinus * v,
                          d.sommet.y + d.sinus * a + d.cosinus * v};
            }
            if (!Contient(e, q)) continue;
            ++dedans;
            EXPECT_TRUE(Dans(b, q.x, q.y)) << i << ": " << q.x << ", " << q.y;
        }
        EXPECT_GT(dedans, 0) << i;
    }
    const Lentille l({10, 0}, 4, kFaceSpherique, 30, kFaceSpherique, -30, 20, 0, nullptr);
    const Boite lentille = BoiteContenu(l);
    const double bords[] = {lentille.xmin, lentille.xmax, lentille.ymin, lentille.ymax};
    const double attendus[] = {10, 14, -10, 10};  // the vertices, the rims
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(bords[k], attendus[k], 1e-6) << k;
    // Every hit a half-line has on an element's surfaces lies in the element's box of hits,
    // for lenses whose aperture exceeds a face's radius too.
    alea.seed(11);
    int impacts = 0;
    for (int i = 0; i < 300; ++i) {
        const Element e = test::ElementAuHasard(alea, i, 150);
        const Boite b = BoiteImpacts(e);
        const Point p = e.dioptres[0].sommet;
        const double marge = 1e-9 * (1 + std::fabs(p.x) + std::fabs(p.y) + 200);
        for (int j = 0; j < 400; ++j) {
            const double a = u(-kPi, kPi);
            const Point depart{p.x + u(-100, 100), p.y + u(-100, 100)};
            for (const Dioptre& d : e.dioptres) {
                Impact impact;
                if (!Intersection(d, depart, Point{std::cos(a), std::sin(a)}, impact)) continue;
                ++impacts;
                EXPECT_TRUE(impact.h.x >= b.xmin - marge && impact.h.x <= b.xmax + marge &&
                            impact.h.y >= b.ymin - marge && impact.h.y <= b.ymax + marge)
                    << i << ": " << impact.h.x << ", " << impact.h.y;
            }
        }
    }
    EXPECT_GT(impacts, 10000);
}

}  // namespace
}  // namespace optic
