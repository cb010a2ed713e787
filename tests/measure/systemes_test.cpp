// Systems of coaxial lenses and their first-order properties, checked against the thick-lens
// formulas and ray-transfer matrices multiplied out here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "measure/mesures.h"
#include "model/system.h"
#include "support/banc_texte.h"

namespace optic::test {
namespace {

const std::string kVerre = "I 1.5 400 1.5 500 1.5 600\n";
// Schott's Sellmeier coefficients of N-BK7 and N-SF5 evaluated at the F (486.1327 nm),
// d (587.5618 nm) and C (656.2725 nm) lines, rounded to 1e-5: N-BK7 n_d 1.51680, V_d 64.17
// and N-SF5 n_d 1.67271, V_d 32.25, as the catalogue lists them.
const std::string kBK7 = "I 1.52238 486.1 1.51680 587.6 1.51432 656.3\n";
const std::string kSF5 = "I 1.68750 486.1 1.67271 587.6 1.66664 656.3\n";
constexpr double kPiDuBanc = 3.14159265359;  // the reader's, for degrees

Mesures Lire(const std::string& description) {
    RapportMemoire rapport;
    System_Physique systeme;
    EXPECT_EQ(LireTexte(systeme, description, "bench.txt", rapport),
              System_Physique::Lecture::Complete);
    EXPECT_EQ(rapport.Texte(), "");
    return MesureBanc(systeme).Resultat();
}

std::string Nombre(double v) {
    char texte[32];
    std::snprintf(texte, sizeof texte, "%.17g", v);
    return texte;
}

// What a system should give, along its axis from its first vertex.
struct Attendu {
    double efl, bfd, ffd, longueur;  // longueur: the last vertex's place
};

// The thick lens of index n in a space of index n0, from the textbook formulas.
Attendu Epaisse(double n, double r1, double r2, double e, double n0 = 1) {
    const double p1 = (n - n0) / r1, p2 = (n0 - n) / r2;
    const double f = n0 / (p1 + p2 - e / n * p1 * p2);
    return {f, f * (1 - e * p1 / n), f * (1 - e * p2 / n), e};
}

// A ray-transfer matrix on (height, n x angle).
struct M2 {
    double A = 1, B = 0, C = 0, D = 1;
    M2 operator*(const M2& m) const {
        return {A * m.A + B * m.C, A * m.B + B * m.D, C * m.A + D * m.C, C * m.B + D * m.D};
    }
};
M2 Dioptre(double n1, double n2, double r) {
    return {1, 0, -(n2 - n1) / r, 1};
}
M2 Trajet(double d, double n) {
    return {1, d / n, 0, 1};
}
Attendu DeLaMatrice(const M2& m, double longueur) {
    return {-1 / m.C, -m.A / m.C, -m.D / m.C, longueur};
}

// Checks every number of a system's entry at one wavelength, its points along the axis
// from `o` along `u`, to 1e-4 of the focal length.
void Verifier(const PremierOrdre& p, const Attendu& a, Point o, Point u) {
    const double tol = 1e-4 * std::fabs(a.efl);
    ASSERT_FALSE(p.afocal);
    EXPECT_NEAR(p.efl, a.efl, tol);
    EXPECT_NEAR(p.bfd, a.bfd, tol);
    EXPECT_NEAR(p.ffd, a.ffd, tol);
    const struct {
        Point point;
        double t;
    } points[] = {{p.foyer_image, a.longueur + a.bfd},
                  {p.principal_image, a.longueur + a.bfd - a.efl},
                  {p.foyer_objet, -a.ffd},
                  {p.principal_objet, -a.ffd + a.efl}};
    for (const auto& q : points) {
        EXPECT_NEAR(q.point.x, o.x + q.t * u.x, tol);
        EXPECT_NEAR(q.point.y, o.y + q.t * u.y, tol);
    }
}

TEST(Systemes, LentilleEpaisseATroisLongueursDOnde) {
    const Mesures m = Lire(kBK7 + "L 0 0 6 60 -40 30 0 1\nS 3 656.3 486.1 587.6 -20 0 0 0 1 1\n");
    ASSERT_EQ(m.systemes.size(), 1u);
    EXPECT_EQ(m.systemes[0].lentilles, std::vector<int>{1});
    ASSERT_EQ(m.longueurs_onde, (std::vector<double>{486.1, 587.6, 656.3}));
    const double indices[] = {1.52238, 1.51680, 1.51432};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(m.longueurs_onde[k]);
        Verifier(m.premier_ordre[0][k], Epaisse(indices[k], 60, -40, 6), {0, 0}, {1, 0});
    }
}

// Shapes and placements of lenses, each against the formula or the matrix product.
TEST(Systemes, PremierOrdreDeSystemes) {
    const double n = 1.5, plan = INFINITY;
    const double a = 37 * kPiDuBanc / 180;
    const Point u{std::cos(a), -std::sin(a)}, o{17, -250};
    const M2 deux = Dioptre(n, 1, plan) * Trajet(3, n) * Dioptre(1, n, 40) * Trajet(25, 1) *
                    Dioptre(n, 1, -50) * Trajet(5, n) * Dioptre(1, n, 50);
    const std::string deuxieme = "L " + Nombre(o.x + 30 * u.x) + " " + Nombre(o.y + 30 * u.y);
    const struct {
        const char* nom;
        std::string description;
        std::vector<int> lentilles;
        Attendu attendu;
        Point o, u;
    } cas[] = {
        {"a diverging lens",
         kVerre + "L 0 0 2 -50 50 20 0 1\n",
         {1},
         Epaisse(n, -50, 50, 2),
         {0, 0},
         {1, 0}},
        {"a meniscus, both centres on one side",
         kVerre + "L 0 0 4 30 80 20 0 1\n",
         {1},
         Epaisse(n, 30, 80, 4),
         {0, 0},
         {1, 0}},
        {"a plano-convex lens, flat face first",
         kVerre + "L 5 1 4 inf -30 20 0 1\n",
         {1},
         Epaisse(n, plan, -30, 4),
         {5, 1},
         {1, 0}},
        {"a biconvex lens in water",
         kVerre + "E 1.33\nL 0 0 6 40 -40 20 0 1\n",
         {1},
         Epaisse(n, 40, -40, 6, 1.33),
         {0, 0},
         {1, 0}},
        {"two separated lenses (Gullstrand)",
         kVerre + "L 0 0 5 50 -50 20 0 1\nL 30 0 3 40 inf 20 0 1\n",
         {1, 2},
         DeLaMatrice(deux, 33),
         {0, 0},
         {1, 0}},
        {"the same, listed the other way round",
         kVerre + "L 30 0 3 40 inf 20 0 1\nL 0 0 5 50 -50 20 0 1\n",
         {2, 1},
         DeLaMatrice(deux, 33),
         {0, 0},
         {1, 0}},
        {"the same, turned by 37 degrees and moved",
         kVerre + "L 17 -250 5 50 -50 20 37 1\n" + deuxieme + " 3 40 inf 20 37 1\n",
         {1, 2},
         DeLaMatrice(deux, 33),
         o,
         u},
        {"a lens pointing towards decreasing x",
         kVerre + "L 10 3 4 30 -60 20 180 1\n",
         {1},
         Epaisse(n, 30, -60, 4),
         {10, 3},
         {-1, 0}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const Mesures m = Lire(c.description + "S 1 500 -20 0 0 0 1 1\n");
        ASSERT_EQ(m.systemes.size(), 1u);
        EXPECT_EQ(m.systemes[0].lentilles, c.lentilles);
        EXPECT_NEAR(m.systemes[0].origine.x, c.o.x, 1e-9);
        EXPECT_NEAR(m.systemes[0].origine.y, c.o.y, 1e-9);
        Verifier(m.premier_ordre[0][0], c.attendu, c.o, c.u);
    }
}

// Thorlabs AC254-100-A, sold as f = 100.0 mm with a back focal length of 97.1 mm: N-BK7
// R 62.75 / -45.71, 4.0 thick, cemented to N-SF5 -45.71 / -128.23, 2.5 thick.  The two
// lenses meet at one surface, and the doublet's numbers are those of the three-surface
// matrix at each line, the catalogue's to 0.1 mm at the d line.
TEST(Systemes, AchromatDuCatalogue) {
    const Mesures m =
        Lire(kBK7 + kSF5 + "L 0 0 4 62.75 -45.71 25.4 0 1\n" +
             "L 4 0 2.5 -45.71 -128.23 25.4 0 2\n" + "S 3 486.1 587.6 656.3 -20 0 0 0 1 1\n");
    ASSERT_EQ(m.systemes.size(), 1u);
    EXPECT_EQ(m.systemes[0].surfaces.size(), 3u);
    const double nb[] = {1.52238, 1.51680, 1.51432}, ns[] = {1.68750, 1.67271, 1.66664};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(m.longueurs_onde[k]);
        const M2 doublet = Dioptre(ns[k], 1, -128.23) * Trajet(2.5, ns[k]) *
                           Dioptre(nb[k], ns[k], -45.71) * Trajet(4, nb[k]) *
                           Dioptre(1, nb[k], 62.75);
        Verifier(m.premier_ordre[0][k], DeLaMatrice(doublet, 6.5), {0, 0}, {1, 0});
    }
    EXPECT_NEAR(m.premier_ordre[0][1].efl, 100.0, 0.1);
    EXPECT_NEAR(m.premier_ordre[0][1].bfd, 97.1, 0.1);
}

// When two lenses make one surface: touching at the vertex with faces of one radius.
TEST(Systemes, LentillesAccolees) {
    const struct {
        const char* nom;
        std::string deuxieme;
        std::size_t surfaces;
    } cas[] = {
        {"cemented, same radius", "L 4 0 3 -40 inf 20 0 1\n", 3},
        {"touching, other radius", "L 4 0 3 -60 inf 20 0 1\n", 4},
        {"same radius, a gap of 0.1", "L 4.1 0 3 -40 inf 20 0 1\n", 4},
        {"flat faces in contact", "L 4 0 3 inf -30 20 0 1\n", 4},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const Mesures m =
            Lire(kVerre + "L 0 0 4 40 -40 20 0 1\n" + c.deuxieme + "S 1 500 -20 0 0 0 1 1\n");
        ASSERT_EQ(m.systemes.size(), 1u);
        EXPECT_EQ(m.systemes[0].surfaces.size(), c.surfaces);
    }
    // Flat against flat: the first lens's back face must be flat too.
    const Mesures m = Lire(kVerre + "L 0 0 4 40 inf 20 0 1\nL 4 0 3 inf -30 20 0 1\n" +
                           "S 1 500 -20 0 0 0 1 1\n");
    EXPECT_EQ(m.systemes[0].surfaces.size(), 3u);
    Verifier(m.premier_ordre[0][0], Epaisse(1.5, 40, -30, 7), {0, 0}, {1, 0});
}

// Two lenses whose focal points meet (F'1 on F2): no power, an angular magnification of
// -f1 / f2, and no focal points.
TEST(Systemes, CoupleAfocal) {
    const double n = 1.5;
    const Attendu l1 = Epaisse(n, 60, -60, 6), l2 = Epaisse(n, 20, -20, 3);
    const Mesures m = Lire(kVerre + "L 0 0 6 60 -60 30 0 1\nL " + Nombre(6 + l1.bfd + l2.ffd) +
                           " 0 3 20 -20 10 0 1\nS 1 500 -20 0 0 0 1 1\n");
    ASSERT_EQ(m.systemes.size(), 1u);
    const PremierOrdre& p = m.premier_ordre[0][0];
    EXPECT_TRUE(p.afocal);
    EXPECT_NEAR(p.grossissement, -l1.efl / l2.efl, 1e-9);
    for (const double v : {p.efl, p.bfd, p.ffd, p.foyer_image.x, p.foyer_objet.x,
                           p.principal_image.x, p.principal_objet.y})
        EXPECT_TRUE(std::isnan(v));
}

// Which lenses make one system: one line and one way, within 1e-9 of the bench's size; each
// system with its own numbers on its own axis.
TEST(Systemes, LentillesSurDesAxesDistincts) {
    const Attendu l = Epaisse(1.5, 50, -50, 2);
    const struct {
        const char* nom;
        std::string lentilles;
        std::vector<std::vector<int>> systemes;
        std::vector<Point> origines;
    } cas[] = {
        {"two parallel axes",
         "L 0 0 2 50 -50 10 0 1\nL 30 10 2 50 -50 10 0 1\n",
         {{1}, {2}},
         {{0, 0}, {30, 10}}},
        {"one axis, 1e-10 of the bench's size off",
         "L 0 0 2 50 -50 10 0 1\nL 1000 0.0000001 2 50 -50 10 0 1\n",
         {{1, 2}},
         {{0, 0}}},
        {"one axis, 1e-8 of the bench's size off",
         "L 0 0 2 50 -50 10 0 1\nL 1000 0.00001 2 50 -50 10 0 1\n",
         {{1}, {2}},
         {{0, 0}, {1000, 0.00001}}},
        {"a lens turned half a turn on the same line",
         "L 0 0 2 50 -50 10 0 1\nL 40 0 2 50 -50 10 180 1\nL 20 0 2 50 -50 10 0 1\n",
         {{1, 3}, {2}},
         {{0, 0}, {40, 0}}},
        {"a diaphragm between does not count",
         "L 0 0 2 50 -50 10 0 1\nD 5 0 1 2 8 0\nL 9 0 2 50 -50 10 0 1\n",
         {{1, 2}},
         {{0, 0}}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const Mesures m = Lire(kVerre + c.lentilles + "S 1 500 -20 0 0 0 1 1\n");
        ASSERT_EQ(m.systemes.size(), c.systemes.size());
        for (std::size_t k = 0; k < c.systemes.size(); ++k) {
            const SystemeOptique& s = m.systemes[k];
            EXPECT_EQ(s.lentilles, c.systemes[k]);
            EXPECT_NEAR(s.origine.x, c.origines[k].x, 1e-12);
            EXPECT_NEAR(s.origine.y, c.origines[k].y, 1e-12);
            if (s.lentilles.size() == 1) Verifier(m.premier_ordre[k][0], l, s.origine, s.axe);
        }
    }
}

}  // namespace
}  // namespace optic::test
