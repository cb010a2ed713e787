#include <gtest/gtest.h>

#include <cmath>

#include "elements/lentille.h"

namespace optic {
namespace {

void ExpectPoint(Point p, Point attendu, double tol) {
    EXPECT_NEAR(p.x, attendu.x, tol);
    EXPECT_NEAR(p.y, attendu.y, tol);
}

// Usable aperture, placing and axes of the four surfaces, for every kind of lens a bench holds.
TEST(Lentille, OuvertureEtPlacementDesQuatreSurfaces) {
    const double wb = std::sqrt(96.0) - 9;          // biconvex rims' half-width
    const double hc = std::sqrt(2.4375);            // height where crossing faces meet
    const double hp = std::sqrt(9.75);              // where the curved face reaches the plane
    const double hl = hp - 1e-10;                   // aperture kept just below it
    const double wc = 21.5 - std::sqrt(396.0);      // biconcave rims' half-width
    const double wp = (std::sqrt(99.0) - 9.5) / 2;  // narrow plano-convex rims' half-width
    const struct {
        const char* nom;
        Point pos;
        double e;
        int t1;
        double r1;
        int t2;
        double r2, diametre, angle, h, w;
        Point face2, haut, bas;
    } cas[] = {
        {"biconvexe", {0, 0}, 2, 1, 10, 1, -10, 4, 0, 2, wb, {2, 0}, {1, 2}, {1, -2}},
        {"croisee", {0, 0}, 0.5, 1, 5, 1, -5, 8, 0, hc, 0, {0.5, 0}, {0.25, hc}, {0.25, -hc}},
        {"plan-convexe", {0, 0}, 0.5, 0, 0, 1, -10, 8, 0, hl, 0, {0.5, 0}, {0, hp}, {0, -hp}},
        {"etroite", {0, 0}, 0.5, 0, 0, 1, -10, 2, 0, 1, wp, {0.5, 0}, {wp, 1}, {wp, -1}},
        {"tournee", {1, 2}, 2, 1, 10, 1, -10, 4, kDemiPi, 2, wb, {1, 0}, {3, 1}, {-1, 1}},
        {"deux plans", {0, 0}, 3, 0, 0, 0, 0, 4, 0, 2, 1.5, {3, 0}, {1.5, 2}, {1.5, -2}},
        {"biconcave", {0, 0}, 3, 1, -20, 1, 20, 4, 0, 2, wc, {3, 0}, {1.5, 2}, {1.5, -2}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const Lentille l(c.pos, c.e, c.t1, c.r1, c.t2, c.r2, c.diametre, c.angle, nullptr);
        ASSERT_EQ(l.dioptres.size(), 4u);
        const auto& d = l.dioptres;
        ExpectPoint(d[0].sommet, c.pos, 1e-12);
        ExpectPoint(d[1].sommet, c.face2, 1e-9);
        ExpectPoint(d[2].sommet, c.haut, 1e-6);
        ExpectPoint(d[3].sommet, c.bas, 1e-6);
        EXPECT_NEAR(d[0].demi_ouverture, c.h, 1e-12);
        EXPECT_NEAR(d[1].demi_ouverture, c.h, 1e-12);
        EXPECT_NEAR(d[2].demi_ouverture, c.w, 1e-9);
        EXPECT_NEAR(d[3].demi_ouverture, c.w, 1e-9);
        // Faces look into the glass along the axis, rims away from it.
        const Point axe{std::cos(c.angle), -std::sin(c.angle)};
        const Point haut{std::sin(c.angle), std::cos(c.angle)};
        ExpectPoint({d[0].cosinus, d[0].sinus}, axe, 1e-9);
        ExpectPoint({d[1].cosinus, d[1].sinus}, {-axe.x, -axe.y}, 1e-9);
        ExpectPoint({d[2].cosinus, d[2].sinus}, haut, 1e-9);
        ExpectPoint({d[3].cosinus, d[3].sinus}, {-haut.x, -haut.y}, 1e-9);
        // The glass on the axis is inside both faces; the points just beyond them are not.
        const Point centre{c.pos.x + axe.x * c.e / 2, c.pos.y + axe.y * c.e / 2};
        const Point avant{c.pos.x - axe.x * 0.01, c.pos.y - axe.y * 0.01};
        EXPECT_TRUE(d[0].Interrieur(centre) && d[1].Interrieur(centre));
        EXPECT_FALSE(d[0].Interrieur(avant));
        EXPECT_FALSE(d[1].Interrieur({c.face2.x + axe.x * 0.01, c.face2.y + axe.y * 0.01}));
        EXPECT_EQ(d[0].courbure, c.t1 == 0 ? 0 : (c.r1 < 0 ? -1 : 1));
        EXPECT_EQ(d[1].courbure, c.t2 == 0 ? 0 : (c.r2 > 0 ? -1 : 1));
    }
}

}  // namespace
}  // namespace optic
