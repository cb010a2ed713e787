// Measurements checked against closed-form optics: image points and focal lengths from the
// paraxial ray-transfer matrices of thick lenses, fates of rays from the geometry of stops.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <tuple>

#include "raster/raster.h"
#include "run/execution.h"
#include "support/optique.h"

namespace optic::test {
namespace {

// A biconvex lens of N-BK7, R = 60, 6 thick: a beam 1 unit wide along its axis meets at the
// back focal point at each of three wavelengths; narrow fans from two points 150 before it,
// on the axis and 2 off it (aimed at its centre, turned down by atan(2 / 150)), meet at their
// images, the second inverted and smaller by the magnification of the principal planes.
TEST(Focale, FoyerEtImagesDUneLentilleEpaisseEnBK7) {
    const Mesures m =
        Mesurer(kBK7 + "L 0 0 6 60 -60 30 0 1\nS 3 486.1 587.6 656.3 -20 0 0 0 1 21\n" +
                "S 1 587.6 -150 0 0.6 0 0 11\nS 1 587.6 -150 2 0.6 0.76389846 0 11\n");
    ASSERT_EQ(m.faisceaux.size(), 5u);
    const M2 l = Lentille(kIndicesBK7[1], 60, -60, 6);
    for (std::size_t k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        const BilanFaisceau& b = m.faisceaux[k];
        const Point image = k < 3 ? Point{6 + Epaisse(kIndicesBK7[k], 60, -60, 6).bfd, 0}
                                  : Point{6 + l.Image(150), k == 3 ? 0 : 2 * l.Grandissement(150)};
        ASSERT_EQ(b.convergence, Convergence::Point);
        EXPECT_TRUE(b.reelle);
        EXPECT_NEAR(b.image.x, image.x, 0.002 * (image.x - 6));
        EXPECT_NEAR(b.image.y, image.y, 1e-9 + 0.002 * std::fabs(image.y));
        EXPECT_TRUE(k > 2 || (b.sortis == 21 && b.rms < 0.01));
    }
}

// How rays end, and what the rays that left have in common, in benches where geometry alone
// gives the answer.
TEST(Faisceau, FinsDesRayonsEtConvergence) {
    // A fan of width w and opening a (degrees) seems to come from w/2 / tan(a/2) behind it.
    const auto recul = [](double w, double a) { return w / 2 / std::tan(a / 2 * kPiDuBanc / 180); };
    const auto P = Convergence::Point, Par = Convergence::Parallele, A = Convergence::Aucune;
    // What, the bench; the rays, those that left, were stopped, were trapped; what the rays
    // that left have in common, and the image (x, y) or the direction in degrees (x). Never real.
    const std::tuple<const char*, std::string, std::size_t, std::size_t, std::size_t, std::size_t,
                     Convergence, double, double>
        cas[] = {
            {"a stop lets 11 of 21 rays through", "D 10 0 1 5.5 20 0\nS 1 550 0 0 0 0 20 21\n", 21,
             11, 10, 0, Par, 0, 0},
            {"a ray trapped by total reflection",
             kVerre + "L 0 0 10 inf inf 60 0 1\nS 1 550 5 0 0 45 0 1\n", 1, 0, 0, 1, A, 0, 0},
            {"a ray born inside a blade", "D 0 0 2 1 5 0\nS 1 550 0 3 0 0 0 1\n", 1, 0, 1, 0, A, 0,
             0},
            {"a source without rays", "S 1 550 0 0 0 0 0 -4\n", 0, 0, 0, 0, A, 0, 0},
            {"a parallel beam turned up by 30 degrees", "S 1 550 0 0 0 30 4 9\n", 9, 9, 0, 0, Par,
             30, 0},
            {"a parallel beam turned down by 135", "S 1 550 0 0 0 -135 4 9\n", 9, 9, 0, 0, Par,
             -135, 0},
            {"a point source", "S 1 550 3 4 40 10 0 9\n", 9, 9, 0, 0, P, 3, 4},
            {"a point source reflected back by a mirror of blades",
             "S 1 550 3 4 40 10 0 9\nD 20 4 2 0 50 0\n", 9, 0, 9, 0, A, 0, 0},
            {"a fan seen from 114592 units away", "S 1 550 0 0 0.001 0 2 9\n", 9, 9, 0, 0, P,
             -recul(2, 0.001), 0},
            {"the same, far from the origin", "S 1 550 1e6 -1e6 0.001 0 2 9\n", 9, 9, 0, 0, P,
             1e6 - recul(2, 0.001), -1e6},
            // One ray goes on from the source; the other, shifted by a slab, leaves from behind
            // the point where the two lines cross: half the rays ahead is not a real image.
            {"exactly half the rays ahead of their meeting point",
             kVerre + "L 1 -5 1 inf inf 8 0 1\nS 1 550 0 0 120 0 0 2\n", 2, 2, 0, 0, P,
             0.5 - 0.5 / std::sqrt(6.0), std::sqrt(3.0) * (0.5 - 0.5 / std::sqrt(6.0))},
            {"a fan ten times narrower counts as parallel", "S 1 550 0 0 0.0001 0 2 9\n", 9, 9, 0,
             0, Par, 0, 0},
        };
    for (const auto& [nom, description, rayons, sortis, arretes, pieges, convergence, x, y] : cas) {
        SCOPED_TRACE(nom);
        const Mesures m = Mesurer(description);
        ASSERT_EQ(m.faisceaux.size(), 1u);
        const BilanFaisceau& b = m.faisceaux[0];
        EXPECT_EQ((std::vector{b.rayons, b.sortis, b.arretes, b.pieges}),
                  (std::vector{rayons, sortis, arretes, pieges}));
        EXPECT_EQ(b.convergence, convergence);
        if (convergence == P) {
            EXPECT_NEAR(b.image.x, x, 1e-9 * std::max(1.0, std::fabs(x)));
            EXPECT_NEAR(b.image.y, y, 1e-9 * std::max(1.0, std::fabs(y)));
            EXPECT_LT(b.rms, 1e-9);
            EXPECT_FALSE(b.reelle);
        }
        EXPECT_NEAR(convergence == Par ? b.direction : x, x, 1e-9);
    }
}

// A point source seen through a slab: the slab shifts each ray by its own amount, so the lines
// miss one another.  Traced here by Snell's law, the point nearest to them all (least squares
// of the distances) and their rms distance from it are the measure's.
TEST(Faisceau, EcartQuadratiqueDesRayonsAutourDeLImage) {
    const std::string banc = kVerre + "L 2 0 4 inf inf 40 0 1\nS 1 550 0 0 60 0 0 5\n";
    System_Physique systeme;
    LireBanc(systeme, banc);
    const Source_monochromatique& source = systeme.sources.at(0).sources.at(0);
    // Normal equations of the distances to lines (p, u): sum (I - u uT) x = sum (I - u uT) p.
    double a = 0, b = 0, c = 0, bx = 0, by = 0;
    std::vector<std::pair<Point, Point>> droites;
    for (std::size_t k = 0; k < source.NombreRayons(); ++k) {
        const Rayon r = source.Depart(k);
        const double n = std::hypot(r.direction.x, r.direction.y);
        const Point u{r.direction.x / n, r.direction.y / n};
        const double sin_verre = u.y / 1.5;
        const double y2 = r.position.y + (2 - r.position.x) * u.y / u.x;
        const Point p{6, y2 + 4 * sin_verre / std::sqrt(1 - sin_verre * sin_verre)};
        droites.push_back({p, u});
        const double m11 = 1 - u.x * u.x, m12 = -u.x * u.y, m22 = 1 - u.y * u.y;
        a += m11, b += m12, c += m22;
        bx += m11 * p.x + m12 * p.y, by += m12 * p.x + m22 * p.y;
    }
    const Point x{(c * bx - b * by) / (a * c - b * b), (a * by - b * bx) / (a * c - b * b)};
    double carres = 0;
    for (const auto& [p, u] : droites) {
        const double d = u.x * (x.y - p.y) - u.y * (x.x - p.x);
        carres += d * d;
    }
    const double rms = std::sqrt(carres / static_cast<double>(droites.size()));
    ASSERT_GT(rms, 1e-3);  // far from a point: the test means something
    const BilanFaisceau f = Mesurer(banc).faisceaux.at(0);
    ASSERT_EQ(f.convergence, Convergence::Point);
    EXPECT_NEAR(f.image.x, x.x, 1e-9);
    EXPECT_NEAR(f.image.y, x.y, 1e-9);
    EXPECT_NEAR(f.rms, rms, 1e-9 * rms);
    EXPECT_FALSE(f.reelle);  // the lines cross behind the slab
}

// Source lines are numbered in file order, refused ones not counted; a line's fans follow its
// wavelengths; the wavelengths for focal lengths are the fans', each once, increasing.
TEST(Faisceau, NumerotationDesSourcesEtDesLongueursDOnde) {
    const Mesures m = Mesurer(
        "S 2 650 450 0 0 0 0 0 1\nS 0 550 0 0 0 0 0 1\nS -1 0 0 0 0 5\nS 1 450 0 0 0 0 0 1\n",
        "Warning: Probleme avec une source dans le fichier bench.txt \n");
    std::vector<std::pair<int, double>> lus;
    for (const BilanFaisceau& f : m.faisceaux) lus.emplace_back(f.source, f.lambda);
    EXPECT_EQ(lus, (std::vector<std::pair<int, double>>{{1, 650}, {1, 450}, {3, 450}}));
    EXPECT_EQ(m.longueurs_onde, (std::vector<double>{450, 650}));
}

// The first pass rides on the first visit of the rays, whatever it is: its own, in ray order,
// or a picture's, drawn from the last ray to the first, in lots cut anywhere in the fans'
// blocks (each fan counted in pieces and joined), over 1, 2 or 8 threads, with the rays'
// ends kept for the second pass or the rays traced again.  The measures are the same to the
// bit.  The bench: a point source through a lens and a wide fan cut by a stop, in fans of
// many blocks of rays.
TEST(Mesure, MemesMesuresQuelleQueSoitLaPremiereVisite) {
    System_Physique systeme;
    LireBanc(systeme, kBK7 + "L 40 0 6 50 -50 30 0 1\nD 80 0 1 3 20 0\n" +
                          "S 3 486.1 587.6 656.3 0 1 10 0 0 10001\nS 1 550 0 -5 30 0 12 4097\n");
    RayonsDuBanc seul(systeme, 1, 1);
    const Mesures reference = MesurerRayons(systeme, seul);
    ASSERT_EQ(reference.faisceaux.size(), 4u);
    EXPECT_EQ(reference.faisceaux[0].convergence, Convergence::Point);
    // Threads, lots, and the picture's order (none: no picture).
    const std::tuple<int, Decoupage, std::optional<Sens>> cas[] = {
        {2, Decoupage{7, 3}, Sens::Arriere},
        {8, Decoupage{5, 3, std::size_t{1} << 30, 0}, Sens::Avant},
        {2, Decoupage{1000, 3}, Sens::Arriere},
        {1, Decoupage{}, Sens::Arriere},
        {8, Decoupage{5, 3, std::size_t{1} << 30, 0}, std::nullopt},
    };
    const Zoombox z = ConstruireZoombox(-10, -60, 110, 60, 300, 10);
    for (const auto& [fils, decoupage, sens] : cas) {
        SCOPED_TRACE(testing::Message() << fils << " threads, " << decoupage.rayons_par_tache
                                        << " rays a task, order " << (sens ? int(*sens) : -1));
        RayonsDuBanc rayons(systeme, fils, 2, nullptr, decoupage);
        MesureDesRayons mesure(systeme, rayons);
        if (sens) {
            Raster raster(z.fenetre.taille);
            Dessiner(systeme, z.fenetre, raster, fils, rayons, sens);
        }
        EXPECT_EQ(EnJson(mesure.Finir()), EnJson(reference));
    }
}

}  // namespace
}  // namespace optic::test
