#include "trace/propagation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "trace/bancs.h"
#include "trace/rayons.h"

namespace optic {
namespace {

using test::Verre;

// A ray of 550 nm from p along d, traced through the bench unless `tracer` is false; its
// path lives as long as the test.
Rayon UnRayon(const System_Physique& s, Point p, Point d, bool tracer = true) {
    static std::vector<std::vector<Point>> chemins;
    Rayon r;
    r.lambda = 550;
    r.position = p;
    r.direction = d;
    if (tracer) Propagation(s, r, chemins.emplace_back());
    return r;
}

// The last element containing the point decides (a blade is index 0); the index is the
// parabola through the three samples, here 1.5 + 1e-6 (lambda - 700)^2, beyond them too.
TEST(Propagation, IndiceDuMilieu) {
    System_Physique s;
    s.espace.indice_espace = 1.33;
    s.elements.push_back(Lentille({0, 0}, 2, 1, 10, 1, -10, 4, 0, Verre(s)));
    s.elements.push_back(Lentille({1, 0}, 4, 0, 0, 0, 0, 2, 0, Verre(s, 1.59, 1.54, 1.51)));
    s.elements.push_back(Diaphragme({10, 0}, 2, 1, 3, 0));
    const double cas[][4] = {{0.5, 1.5, 500, 1.5}, {1.5, 0, 500, 1.54}, {10, 2, 500, 0},
                             {10, 0, 500, 1.33},   {-1, 0, 500, 1.33},  {4, 0, 300, 1.66},
                             {4, 0, 700, 1.5},     {4, 0, 800, 1.51}};  // x, y, lambda, index
    for (const auto& c : cas) EXPECT_NEAR(IndiceMilieu(s, {c[0], c[1]}, c[2]), c[3], 1e-12) << c[0];
}

// A slab of index 1.5, faces at x = 0 and 10: in at 30 degrees the direction becomes
// (sqrt 2, 0.5), of length 1.5 and sine 1/3; out through the second face it is refracted
// below the critical angle (41.8 degrees) and reflected beyond it.
TEST(Propagation, RefractionEtReflexionTotale) {
    System_Physique s;
    s.elements.push_back(Lentille({0, 0}, 10, 0, 0, 0, 0, 20, 0, Verre(s)));
    Rayon r = UnRayon(s, {0, 0}, {std::cos(kPi / 6), std::sin(kPi / 6)}, false);
    Deviation(s, r, {0, 0}, {0, 1});
    EXPECT_LT(std::hypot(r.direction.x - std::sqrt(2.0), r.direction.y - 0.5), 1e-12);
    for (double deg : {30.0, 40.0, 45.0, 60.0}) {
        const double i = deg * kPi / 180, ci = 1.5 * std::cos(i), si = 1.5 * std::sin(i);
        r = UnRayon(s, {10, 3}, {ci, si}, false);
        Deviation(s, r, r.position, {0, -1});
        EXPECT_NEAR(r.direction.y, si, 1e-12) << deg;
        EXPECT_NEAR(r.direction.x, deg > 42 ? -ci : std::sqrt(1 - si * si), 1e-12) << deg;
    }
}

// Paths through a bench, against hand-computed geometry.  (Ties between surfaces met at one
// distance: the tracers' test, on both tracers.)
TEST(Propagation, BoutsOuvertsEtArrets) {
    System_Physique s;
    s.espace.indice_espace = 1.33;
    s.elements.push_back(Lentille({0, 0}, 2, 1, 10, 1, -10, 4, 0, Verre(s, 1.5, 1.6, 1.7)));
    s.elements.push_back(Diaphragme({5, 0}, 2, 0.2, 3, 0));
    // Along the axis: straight through the lens and the opening, open at the space's index.
    Rayon r = UnRayon(s, {-5, 0}, {1, 0});
    ASSERT_EQ(r.Chemin().size(), 3u);
    EXPECT_TRUE(std::fabs(r.Chemin()[1].x) + std::fabs(r.Chemin()[2].x - 2) < 1e-12 && !r.arret);
    EXPECT_NEAR(r.direction.x, 1.33, 1e-12);
    // Off the axis: through the lens, then stopped on a blade's entrance face.
    r = UnRayon(s, {-5, 1}, {1, 0});
    ASSERT_EQ(r.Chemin().size(), 4u);
    EXPECT_TRUE(r.arret && r.Chemin()[3].x == 4);
    // Born inside a blade: index 0, no direction, nothing met.
    r = UnRayon(s, {5, 2}, {1, 0});
    EXPECT_TRUE(r.Chemin().size() == 1 && !r.arret && r.direction.x == 0 && r.direction.y == 0);
    // Glass ending straight against a blade: the index beyond is 0 and the tangential part
    // exactly 0, so nothing can be refracted; the ray comes back, its direction whole.
    s.elements = {Lentille({0, 0}, 5, 0, 0, 0, 0, 10, 0, s.indices[0].get()),
                  Diaphragme({-1, 0}, 2, 0, 3, 0)};
    r = UnRayon(s, {3, 0.5}, {-1, 0});
    ASSERT_EQ(r.Chemin().size(), 3u);
    EXPECT_TRUE(std::fabs(r.Chemin()[2].x - 5) < 1e-12 && std::fabs(r.direction.x - 1.33) < 1e-12);
}

// Trapped by total reflection in a square of glass, a ray is ended after 1000 hits, stopped.
TEST(Propagation, RayonPiegeArreteApresMilleImpacts) {
    System_Physique s;
    s.elements.push_back(Lentille({0, 0}, 2, 0, 0, 0, 0, 2, 0, Verre(s)));
    const Rayon r = UnRayon(s, {1, 0.3}, {1, 1});
    EXPECT_TRUE(r.arret);
    EXPECT_EQ(r.Chemin().size(), 1u + kImpactsMax);
}

}  // namespace
}  // namespace optic
