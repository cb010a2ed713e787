#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "elements/dioptre.h"

namespace optic {
namespace {

Dioptre Plan(double angle, double demi, int transparent = 1) {
    Dioptre d;
    d.Orienter(angle);
    d.demi_ouverture = demi;
    d.transparent = transparent;
    return d;
}

Dioptre Cercle(double r, double demi) {
    Dioptre d;
    d.centre = Point{r, 0.0};
    d.rayon_carre = r * r;
    d.courbure = r < 0 ? -1 : 1;
    d.demi_ouverture = demi;
    return d;
}

// Planes accept points 1e-10 behind them and 1e-10 beyond their band; R = 10 holds the disc,
// R = -10 the outside of the disc ahead of its centre, the circle itself in both.
TEST(Dioptre, InterrieurSelonLeCoteEtLaBande) {
    const struct {
        Dioptre d;
        std::vector<Point> dedans, dehors;
    } cas[] = {
        {Plan(0, 1),
         {{0, 0}, {-1e-11, 0.5}, {5, 1.00000000005}, {5, 1.0}, {5, -1.0}},
         {{-1e-9, 0}, {5, 1.001}, {5, -1.001}}},
        {Plan(kPi, 1), {{-1, 0}}, {{1, 0}}},
        {Cercle(10, 3), {{1, 0}, {0, 0}, {10, 2}, {10, -3}}, {{-0.5, 0}, {10, 4}, {21, 0}}},
        {Cercle(-10, 3), {{0, 0}, {1, 0}, {20, 3}}, {{-1, 0}, {-25, 0}, {-10, 0}}},
    };
    for (const auto& c : cas) {
        for (Point p : c.dedans)
            EXPECT_TRUE(c.d.Interrieur(p)) << c.d.cosinus << " " << p.x << ", " << p.y;
        for (Point p : c.dehors)
            EXPECT_FALSE(c.d.Interrieur(p)) << c.d.cosinus << " " << p.x << ", " << p.y;
    }
}

// Hits of planes and of the vertex-side half of circles (R = 10 or -10, half-extent 3).
TEST(Dioptre, IntersectionDevantLeRayon) {
    const double x = std::sqrt(96.0);
    const struct {
        Dioptre d;
        Point p, dir;
        bool touche;
        Point h;
    } cas[] = {
        {Plan(0, 1), {-2, 0.5}, {2, 0}, true, {0, 0.5}},
        {Plan(0, 1), {-1, 0.5}, {0, 1}, false, {}},      // parallel
        {Plan(0, 1), {0, -0.5}, {0, 1}, false, {}},      // along the plane itself
        {Plan(0, 1), {0, 0.5}, {1, 0}, false, {}},       // starts on it
        {Plan(0, 1), {-5e-11, 0.5}, {1, 0}, false, {}},  // t within the tolerance
        {Plan(0, 1), {1, 0.5}, {1, 0}, false, {}},       // behind the start
        {Plan(0, 1), {-1, 0}, {1, 1}, true, {0, 1}},     // lateral offset = half-extent
        {Plan(0, 1), {-1, 0}, {1, 1.001}, false, {}},    // just beyond it
        {Plan(0, 1, 0), {-1, 0}, {1, 0}, true, {0, 0}},  // opaque
        {Plan(kDemiPi, 2), {1, 3}, {0, -1}, true, {1, 0}},
        {Cercle(10, 3), {-5, 0}, {1, 0}, true, {0, 0}},
        {Cercle(10, 3), {5, 0}, {-1, 0}, true, {0, 0}},
        {Cercle(10, 3), {5, 0}, {1, 0}, false, {}},   // far half of the circle
        {Cercle(10, 3), {0, -5}, {0, 1}, false, {}},  // tangent at the vertex: passes
        {Cercle(10, 3), {0, 0}, {1, 0}, false, {}},   // starts on the vertex
        {Cercle(10, 3), {-5, 2}, {1, 0}, true, {10 - x, 2}},
        {Cercle(10, 3), {-5, 3.5}, {1, 0}, false, {}},  // beyond the half-extent
        {Cercle(-10, 3), {5, 0}, {-1, 0}, true, {0, 0}},
        {Cercle(-10, 3), {-5, 0}, {-1, 0}, false, {}},  // far half
        {Cercle(-10, 3), {5, 2}, {-1, 0}, true, {x - 10, 2}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << "R " << c.d.centre.x << " from " << c.p.x << ", "
                                        << c.p.y << " along " << c.dir.x << ", " << c.dir.y);
        Impact i;
        ASSERT_EQ(Intersection(c.d, c.p, c.dir, i), c.touche);
        if (!c.touche) continue;
        EXPECT_NEAR(i.h.x, c.h.x, 1e-9);
        EXPECT_NEAR(i.h.y, c.h.y, 1e-9);
        EXPECT_NEAR(c.p.x + i.t * c.dir.x, i.h.x, 1e-9);  // t in lengths of the direction
        EXPECT_NEAR(c.p.y + i.t * c.dir.y, i.h.y, 1e-9);
        // The tangent: unit along the surface (normal to the radius), zero on an opaque plane.
        const Point axe{c.d.cosinus, c.d.sinus};
        const Point n = c.d.courbure == 0 ? axe : Point{i.h.x - c.d.centre.x, i.h.y};
        EXPECT_NEAR(std::hypot(i.tangente.x, i.tangente.y), c.d.transparent, 1e-12);
        EXPECT_NEAR(i.tangente.x * n.x + i.tangente.y * n.y, 0.0, 1e-9);
    }
}

}  // namespace
}  // namespace optic
