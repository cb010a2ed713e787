// Systems of coaxial lenses and their first-order properties, checked against the thick-lens
// formulas and ray-transfer matrices multiplied out here.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "support/optique.h"

namespace optic::test {
namespace {

const std::string kSource = "S 1 500 -20 0 0 0 1 1\n";

// Checks every number of a system's entry at one wavelength, its points along the axis
// from `o` along `u`, to 1e-4 of the focal length.
void Verifier(const PremierOrdre& p, const Attendu& a, Point o = {0, 0}, Point u = {1, 0}) {
    const double tol = 1e-4 * std::fabs(a.efl);
    ASSERT_FALSE(p.afocal);
    EXPECT_NEAR(p.efl, a.efl, tol);
    EXPECT_NEAR(p.bfd, a.bfd, tol);
    EXPECT_NEAR(p.ffd, a.ffd, tol);
    const std::pair<Point, double> points[] = {{p.foyer_image, a.longueur + a.bfd},
                                               {p.principal_image, a.longueur + a.bfd - a.efl},
                                               {p.foyer_objet, -a.ffd},
                                               {p.principal_objet, -a.ffd + a.efl}};
    for (const auto& [q, t] : points)
        EXPECT_LT(std::hypot(q.x - o.x - t * u.x, q.y - o.y - t * u.y), tol);
}

TEST(Systemes, LentilleEpaisseATroisLongueursDOnde) {
    const Mesures m =
        Mesurer(kBK7 + "L 0 0 6 60 -40 30 0 1\nS 3 656.3 486.1 587.6 -20 0 0 0 1 1\n");
    ASSERT_EQ(m.systemes.size(), 1u);
    EXPECT_EQ(m.systemes[0].lentilles, std::vector<int>{1});
    ASSERT_EQ(m.longueurs_onde, (std::vector<double>{486.1, 587.6, 656.3}));
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(m.longueurs_onde[k]);
        const Attendu a = Epaisse(kIndicesBK7[k], 60, -40, 6);
        Verifier(m.premier_ordre[0][k], a);
        EXPECT_NEAR(m.focales[0][k], a.efl, 1e-9 * a.efl);
    }
}

// Shapes and placements of lenses, each against the formula or the matrix product; a lone
// lens's focal length is also the one its own table gives.
TEST(Systemes, PremierOrdreDeSystemes) {
    const double n = 1.5, plan = INFINITY;
    const double a = 37 * kPiDuBanc / 180;
    const Point u{std::cos(a), -std::sin(a)}, o{17, -250};
    const M2 deux = Dioptre(n, 1, plan) * Trajet(3, n) * Dioptre(1, n, 40) * Trajet(25, 1) *
                    Lentille(n, 50, -50, 5);
    const std::string deuxieme =
        Ligne('L', {o.x + 30 * u.x, o.y + 30 * u.y, 3, 40, plan, 20, 37, 1});
    const Point x{1, 0};
    // The lenses, the order they take in their system, what it gives, its origin and axis.
    const std::tuple<std::string, std::vector<int>, Attendu, Point, Point> cas[] = {
        {"L 0 0 2 -50 50 20 0 1\n", {1}, Epaisse(n, -50, 50, 2), {}, x},  // diverging
        {"L 0 0 4 30 80 20 0 1\n", {1}, Epaisse(n, 30, 80, 4), {}, x},    // a meniscus
        {"L 5 1 4 inf -30 20 0 1\n", {1}, Epaisse(n, plan, -30, 4), {5, 1}, x},
        {"E 1.33\nL 0 0 6 40 -40 20 0 1\n", {1}, Epaisse(n, 40, -40, 6, 1.33), {}, x},  // in water
        // Two separated lenses (Gullstrand), listed either way, then turned and moved.
        {"L 0 0 5 50 -50 20 0 1\nL 30 0 3 40 inf 20 0 1\n", {1, 2}, DeLaMatrice(deux, 33), {}, x},
        {"L 30 0 3 40 inf 20 0 1\nL 0 0 5 50 -50 20 0 1\n", {2, 1}, DeLaMatrice(deux, 33), {}, x},
        {"L 17 -250 5 50 -50 20 37 1\n" + deuxieme, {1, 2}, DeLaMatrice(deux, 33), o, u},
        // Pointing towards decreasing x.
        {"L 10 3 4 30 -60 20 180 1\n", {1}, Epaisse(n, 30, -60, 4), {10, 3}, {-1, 0}},
    };
    for (const auto& [lentilles, ordre, attendu, origine, axe] : cas) {
        SCOPED_TRACE(lentilles);
        const Mesures m = Mesurer(kVerre + lentilles + kSource);
        ASSERT_EQ(m.systemes.size(), 1u);
        EXPECT_EQ(m.systemes[0].lentilles, ordre);
        const Point p = m.systemes[0].origine;
        EXPECT_LT(std::hypot(p.x - origine.x, p.y - origine.y), 1e-9);
        Verifier(m.premier_ordre[0][0], attendu, origine, axe);
        if (ordre.size() == 1) {
            EXPECT_NEAR(m.focales[0][0], attendu.efl, 1e-9 * std::fabs(attendu.efl));
        }
    }
    // A slab has no power at all.
    EXPECT_TRUE(std::isinf(Mesurer(kVerre + "L 0 0 4 inf inf 10 0 1\n" + kSource).focales[0][0]));
}

// Thorlabs AC254-100-A, sold as f = 100.0 mm with a back focal length of 97.1 mm: N-BK7
// R 62.75 / -45.71, 4.0 thick, cemented to N-SF5 -45.71 / -128.23, 2.5 thick.  The two
// lenses meet at one surface, and the doublet's numbers are those of the three-surface
// matrix at each line, the catalogue's to 0.1 mm at the d line.
TEST(Systemes, AchromatDuCatalogue) {
    const Mesures m =
        Mesurer(kBK7 + kSF5 + "L 0 0 4 62.75 -45.71 25.4 0 1\n" +
                "L 4 0 2.5 -45.71 -128.23 25.4 0 2\n" + "S 3 486.1 587.6 656.3 -20 0 0 0 1 1\n");
    ASSERT_EQ(m.systemes.size(), 1u);
    EXPECT_EQ(m.systemes[0].surfaces.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(m.longueurs_onde[k]);
        const double nb = kIndicesBK7[k], ns = kIndicesSF5[k];
        const M2 doublet = Dioptre(ns, 1, -128.23) * Trajet(2.5, ns) * Dioptre(nb, ns, -45.71) *
                           Trajet(4, nb) * Dioptre(1, nb, 62.75);
        Verifier(m.premier_ordre[0][k], DeLaMatrice(doublet, 6.5));
    }
    EXPECT_NEAR(m.premier_ordre[0][1].efl, 100.0, 0.1);
    EXPECT_NEAR(m.premier_ordre[0][1].bfd, 97.1, 0.1);
}

// When two lenses make one surface: touching at the vertex with faces of one radius.
TEST(Systemes, LentillesAccolees) {
    const std::pair<std::string, std::size_t> cas[] = {
        {"L 0 0 4 40 -40 20 0 1\nL 4 0 3 -40 inf 20 0 1\n", 3},    // cemented, same radius
        {"L 0 0 4 40 -40 20 0 1\nL 4 0 3 -60 inf 20 0 1\n", 4},    // touching, other radius
        {"L 0 0 4 40 -40 20 0 1\nL 4.1 0 3 -40 inf 20 0 1\n", 4},  // same radius, a gap
        {"L 0 0 4 40 -40 20 0 1\nL 4 0 3 inf -30 20 0 1\n", 4},    // flat against curved
        {"L 0 0 4 40 inf 20 0 1\nL 4 0 3 inf -30 20 0 1\n", 3},    // flat against flat
    };
    for (const auto& [lentilles, surfaces] : cas) {
        SCOPED_TRACE(lentilles);
        const Mesures m = Mesurer(kVerre + lentilles + kSource);
        ASSERT_EQ(m.systemes.size(), 1u);
        EXPECT_EQ(m.systemes[0].surfaces.size(), surfaces);
    }
    // Flat against flat make one thick lens.
    Verifier(Mesurer(kVerre + cas[4].first + kSource).premier_ordre[0][0],
             Epaisse(1.5, 40, -30, 7));
}

// Two lenses whose focal points meet (F'1 on F2): no power, an angular magnification of
// -f1 / f2, and no focal points.
TEST(Systemes, CoupleAfocal) {
    const Attendu l1 = Epaisse(1.5, 60, -60, 6), l2 = Epaisse(1.5, 20, -20, 3);
    const Mesures m = Mesurer(kVerre + "L 0 0 6 60 -60 30 0 1\n" +
                              Ligne('L', {6 + l1.bfd + l2.ffd, 0, 3, 20, -20, 10, 0, 1}) + kSource);
    ASSERT_EQ(m.systemes.size(), 1u);
    const PremierOrdre& p = m.premier_ordre[0][0];
    ASSERT_TRUE(p.afocal);
    EXPECT_NEAR(p.grossissement, -l1.efl / l2.efl, 1e-9);
    for (const double v : {p.efl, p.bfd, p.foyer_image.x, p.principal_objet.y})
        EXPECT_TRUE(std::isnan(v));
}

// Which lenses make one system: one line and one way, within 1e-9 of the bench's size; each
// system with its own numbers on its own axis.
TEST(Systemes, LentillesSurDesAxesDistincts) {
    const auto l = [](const char* x, const char* y, const char* angle = "0") {
        return std::string("L ") + x + " " + y + " 2 50 -50 10 " + angle + " 1\n";
    };
    // What, the lenses, the systems they make and their origins.
    const std::tuple<const char*, std::string, std::vector<std::vector<int>>, std::vector<Point>>
        cas[] = {
            {"two parallel axes", l("0", "0") + l("30", "10"), {{1}, {2}}, {{0, 0}, {30, 10}}},
            {"1e-10 of the bench's size off", l("0", "0") + l("1000", "1e-7"), {{1, 2}}, {{0, 0}}},
            {"1e-8 of it off", l("0", "0") + l("1000", "1e-5"), {{1}, {2}}, {{0, 0}, {1000, 1e-5}}},
            {"a lens turned half a turn",
             l("0", "0") + l("40", "0", "180") + l("20", "0"),
             {{1, 3}, {2}},
             {{0, 0}, {40, 0}}},
            {"a diaphragm between",
             l("0", "0") + "D 5 0 1 2 8 0\n" + l("9", "0"),
             {{1, 2}},
             {{0, 0}}},
        };
    for (const auto& [nom, lentilles, systemes, origines] : cas) {
        SCOPED_TRACE(nom);
        const Mesures m = Mesurer(kVerre + lentilles + kSource);
        ASSERT_EQ(m.systemes.size(), systemes.size());
        for (std::size_t k = 0; k < systemes.size(); ++k) {
            const SystemeOptique& s = m.systemes[k];
            EXPECT_EQ(s.lentilles, systemes[k]);
            EXPECT_LT(std::hypot(s.origine.x - origines[k].x, s.origine.y - origines[k].y), 1e-12);
            if (s.lentilles.size() == 1) {
                Verifier(m.premier_ordre[k][0], Epaisse(1.5, 50, -50, 2), s.origine, s.axe);
            }
        }
    }
}

}  // namespace
}  // namespace optic::test
