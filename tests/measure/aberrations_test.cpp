// The aberrations of fans along a system's axis, checked against an exact trace written here:
// a plano-convex lens (n = 1.5, convex face R 50 first, 5 thick, 40 across), each ray taken
// through the sphere and the plane by the vector form of Snell's law.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "measure/aberrations.h"
#include "support/optique.h"

namespace optic::test {
namespace {

constexpr double kN = 1.5, kR = 50, kE = 5, kDemiDiametre = 20;
const double kNaN = std::nan("");

struct V {
    double x, y;
    friend V operator+(V a, V b) { return {a.x + b.x, a.y + b.y}; }
    friend V operator*(double k, V a) { return {k * a.x, k * a.y}; }
    friend double operator*(V a, V b) { return a.x * b.x + a.y * b.y; }
};

// Snell's law for a unit direction d meeting a surface of unit normal m (m . d < 0), from
// index n1 into n2.
V Refracter(V d, V m, double n1, double n2) {
    const double r = n1 / n2, c = -(m * d);
    const double t = std::sqrt(1 - r * r * (1 - c * c));
    return r * d + (r * c - t) * m;
}

// One ray through the lens, in the lens frame (vertex at the origin, axis along x): what the
// report should say of it, or nothing when it passes beside the lens.
std::optional<RayonAberration> Tracer(V p, V d, double reference) {
    const V c{kR, 0};
    const V pc = p + (-1.0) * c;
    const double b = pc * d, q = pc * pc - kR * kR;
    const double s = -b - std::sqrt(b * b - q);  // the near side of the sphere
    const V h = p + s * d;
    if (std::fabs(h.y) > kDemiDiametre) return std::nullopt;
    const V m = (1 / kR) * (h + (-1.0) * c);  // from the centre: against d
    V dd = Refracter(d, m, 1, kN);
    const V sortie = h + ((kE - h.x) / dd.x) * dd;
    dd = Refracter(dd, {-1, 0}, kN, 1);
    RayonAberration r;
    r.hauteur = p.y;
    r.angle = -std::atan2(d.y, d.x) * 180 / kPiDuBanc;
    r.croisement = dd.y == 0 ? kNaN : sortie.x - sortie.y * dd.x / dd.y - kE;
    r.transverse = sortie.y + (reference - sortie.x) * dd.y / dd.x;
    return r;
}

// Paraxial images, surface after surface (n'/s' - n/s = (n' - n) / R), from the last vertex;
// an object at -infinity gives the back focal point.
double Image(double objet) {  // objet: along the axis from the first vertex, before it
    const double s1 = kN / ((kN - 1) / kR + 1 / objet);
    return (s1 - kE) / kN;
}

TEST(Aberrations, LentillePlanConvexeTraceeExactement) {
    // What, the angle of the lens and the beam (degrees), the lens's place, the start's distance
    // before it, the fan's opening and width, its rays and those kept.
    const std::tuple<const char*, double, V, double, double, double, int, std::size_t> cas[] = {
        {"a wide parallel beam", 0, {0, 0}, 20, 0, 30, 11, 11},
        {"the same, turned by 30 degrees and moved", 30, {10, -20}, 20, 0, 30, 11, 11},
        {"a beam wider than the lens: the rays beside it are left out", 0, {0, 0}, 20, 0, 50, 9, 7},
        {"a point source on the axis", 0, {0, 0}, 250, 6, 0, 11, 11},
        {"the same, turned by -150 degrees", -150, {3, 4}, 250, 6, 0, 10, 10},
        {"a point behind the start segment", 0, {0, 0}, 250, 6, 10, 11, 11},
    };
    for (const auto& [nom, angle, lentille, recul, ouverture, largeur, rayons, gardes] : cas) {
        SCOPED_TRACE(nom);
        const double a = angle * kPiDuBanc / 180;
        const V u{std::cos(a), -std::sin(a)};
        const V depart = lentille + (-recul) * u;
        const Mesures m = Mesurer(
            kVerre + Ligne('L', {lentille.x, lentille.y, kE, kR, INFINITY, 40, angle, 1}) +
            Ligne('S', {1, 500, depart.x, depart.y, ouverture, angle, largeur, double(rayons)}));
        ASSERT_EQ(m.aberrations.size(), 1u);
        const Aberrations& ab = m.aberrations[0];
        EXPECT_EQ(ab.systeme, 1);
        EXPECT_EQ(ab.point_source, ouverture != 0);
        // Where the rays seem to come from: the start itself, or behind its segment.
        const double h = ouverture / 2 * kPiDuBanc / 180;
        const double objet = -recul - (largeur == 0 ? 0 : largeur / 2 / std::tan(h));
        const double reference = kE + Image(objet);  // a parallel beam's objet is -infinity
        EXPECT_NEAR(ab.reference.x, lentille.x + reference * u.x, 1e-6);
        EXPECT_NEAR(ab.reference.y, lentille.y + reference * u.y, 1e-6);
        std::vector<RayonAberration> attendus;
        for (int k = 0; k < rayons; ++k) {
            const double t = 2.0 * k / (rayons - 1) - 1;
            const double angle = k == 0 ? -h : std::atan(t * std::tan(h));
            const V p{-recul, t * largeur / 2};
            if (auto r = Tracer(p, {std::cos(angle), std::sin(angle)}, reference))
                attendus.push_back(*r);
        }
        ASSERT_EQ(attendus.size(), gardes);
        ASSERT_EQ(ab.rayons.size(), gardes);
        for (std::size_t k = 0; k < gardes; ++k) {
            const RayonAberration &r = ab.rayons[k], &e = attendus[k];
            const double ecarts[] = {r.hauteur - e.hauteur, r.angle - e.angle,
                                     r.transverse - e.transverse,
                                     std::isnan(e.croisement) ? std::isnan(r.croisement) - 1.0
                                                              : r.croisement - e.croisement};
            for (const double d : ecarts) EXPECT_LT(std::fabs(d), 1e-6) << "ray " << k;
        }
    }
}

// Only a fan whose axis is a system's, pointing its way, from before its first surface.
TEST(Aberrations, FaisceauxSurUnAxe) {
    const std::pair<const char*, int> cas[] = {
        {"S 1 500 -20 0 0 0 10 5\n", 1},   // along the axis
        {"S 1 500 -20 1 0 0 10 5\n", 0},   // beside the axis
        {"S 1 500 -20 0 0 1 10 5\n", 0},   // tilted by a degree
        {"S 1 500 2 0 0 0 10 5\n", 0},     // starting inside the lens
        {"S 1 500 40 0 0 180 10 5\n", 0},  // coming back from beyond the lens
        {"S 1 500 -20 50 4 0 0 5\n", 2},   // along the second lens's axis
    };
    for (const auto& [source, systeme] : cas) {
        SCOPED_TRACE(source);
        const Mesures m =
            Mesurer(kVerre + "L 0 0 5 50 inf 40 0 1\nL 0 50 5 50 inf 40 0 1\n" + source);
        ASSERT_EQ(m.aberrations.size(), 1u);
        EXPECT_EQ(m.aberrations[0].systeme, systeme);
        EXPECT_EQ(m.aberrations[0].rayons.empty(), systeme == 0);
    }
}

// At most 1000 rays kept, the first and the last among them, evenly spread.
TEST(Aberrations, RayonsGardes) {
    // Rays, kept, the second kept, the last kept.
    const std::size_t cas[][4] = {
        {1, 1, 0, 0},          {3, 3, 1, 2},          {1000, 1000, 1, 999},
        {1001, 1000, 1, 1000}, {4996, 1000, 5, 4995},
    };
    for (const auto& c : cas) {
        const std::vector<std::size_t> k = RayonsGardes(c[0]);
        ASSERT_EQ(k.size(), c[1]);
        EXPECT_EQ((std::vector{k.front(), k[std::min<std::size_t>(1, c[0] - 1)], k.back()}),
                  (std::vector<std::size_t>{0, c[2], c[3]}))
            << c[0];
    }
}

}  // namespace
}  // namespace optic::test
