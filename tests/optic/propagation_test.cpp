#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "elements/diaphragme.h"
#include "elements/lentille.h"
#include "optic/propagation.h"

namespace optic {
namespace {

const IndiceRefraction* Verre(System_Physique& s, double n1, double n2, double n3, double l1 = 400,
                              double l2 = 500, double l3 = 600) {
    s.indices.push_back(
        std::make_unique<IndiceRefraction>(IndiceRefraction{{n1, n2, n3}, {l1, l2, l3}}));
    return s.indices.back().get();
}

// A ray from p along d, traced through the bench unless `tracer` is false.
Rayon UnRayon(const System_Physique& s, Point p, Point d, bool tracer = true) {
    Rayon r;
    r.lambda = 550;
    r.position = p;
    r.direction = d;
    r.DefinirChemin({&p, 1});
    std::vector<Point> travail;
    if (tracer) Propagation(s, r, travail);
    return r;
}

double Norme(Point v) {
    return std::hypot(v.x, v.y);
}

TEST(Propagation, IndiceDuMilieuLeDernierElementDecide) {
    System_Physique s;
    s.espace.indice_espace = 1.33;
    s.elements.push_back(Lentille({0, 0}, 2, 1, 10, 1, -10, 4, 0, Verre(s, 1.5, 1.5, 1.5)));
    s.elements.push_back(Lentille({1, 0}, 4, 0, 0, 0, 0, 2, 0, Verre(s, 1.52, 1.51, 1.50)));
    s.elements.push_back(Diaphragme({10, 0}, 2, 1, 3, 0));
    const struct {
        Point p;
        double lambda, n;
    } cas[] = {{{0.5, 1.5}, 500, 1.5}, {{1.5, 1.5}, 500, 1.5}, {{1.5, 0}, 500, 1.51},
               {{4, 0}, 450, 1.515},   {{10, 2}, 500, 0.0},    {{10, -2}, 500, 0.0},
               {{10, 0}, 500, 1.33},   {{-1, 0}, 500, 1.33}};
    for (const auto& c : cas) EXPECT_NEAR(IndiceMilieu(s, c.p, c.lambda), c.n, 1e-12) << c.p.x;
    std::swap(s.elements[0], s.elements[1]);
    EXPECT_DOUBLE_EQ(IndiceMilieu(s, {1.5, 0}, 500), 1.5);
    // Samples of 1.5 + 1e-6 (lambda - 700)^2: the parabola holds beyond their range too.
    s.elements[0].indice = Verre(s, 1.59, 1.54, 1.51);
    for (double lambda : {300.0, 700.0, 800.0}) {
        const double n = 1.5 + 1e-6 * (lambda - 700) * (lambda - 700);
        EXPECT_NEAR(IndiceMilieu(s, {4, 0}, lambda), n, 1e-12) << lambda;
    }
}

// A slab of index 1.5 turned by `a`: faces at axial 0 and 10, rims at lateral ±10.  Directions
// are written in the faces' frame.
TEST(Propagation, RefractionEtReflexionTotaleDansLeRepereDeLaFace) {
    for (double a : {0.0, 0.7, -2.5}) {
        SCOPED_TRACE(a);
        const double c = std::cos(a), sn = std::sin(a);
        auto monde = [&](double u, double v) { return Point{u * c + v * sn, -u * sn + v * c}; };
        auto local = [&](Point w) { return Point{w.x * c - w.y * sn, w.x * sn + w.y * c}; };
        System_Physique s;
        s.elements.push_back(Lentille({0, 0}, 10, 0, 0, 0, 0, 20, a, Verre(s, 1.5, 1.5, 1.5)));
        // In at 30 degrees: (sqrt 2, 0.5), of length 1.5 and sine 1/3.
        Rayon r = UnRayon(s, {0, 0}, monde(std::cos(kPi / 6), std::sin(kPi / 6)), false);
        Deviation(s, r, {0, 0}, monde(0, 1));
        EXPECT_NEAR(local(r.direction).x, std::sqrt(2.0), 1e-12);
        EXPECT_NEAR(local(r.direction).y, 0.5, 1e-12);
        // Out through the second face: reflected beyond the critical angle (41.8 degrees).
        for (double deg : {30.0, 40.0, 45.0, 60.0}) {
            const double i = deg * kPi / 180;
            const bool reflechi = deg > 42;
            r = UnRayon(s, monde(10, 3), monde(1.5 * std::cos(i), 1.5 * std::sin(i)), false);
            Deviation(s, r, r.position, monde(0, 1));
            const Point d = local(r.direction);
            EXPECT_NEAR(Norme(d), reflechi ? 1.5 : 1.0, 1e-12) << deg;
            EXPECT_NEAR(d.y, 1.5 * std::sin(i), 1e-12) << deg;
            EXPECT_NEAR(d.x, reflechi ? -1.5 * std::cos(i) : std::sqrt(1 - d.y * d.y), 1e-12);
        }
    }
}

// At equal distances the later surface of a chain wins, then the later element.
TEST(Propagation, EgaliteDeDistanceAuDernier) {
    Dioptre clair, opaque;
    clair.demi_ouverture = opaque.demi_ouverture = 5;
    opaque.transparent = 0;
    for (bool opaque_en_dernier : {true, false}) {
        System_Physique s;
        Element e;
        e.type = kTypeLentille;
        e.indice = Verre(s, 1.5, 1.5, 1.5);
        e.dioptres = opaque_en_dernier ? std::vector{clair, opaque} : std::vector{opaque, clair};
        s.elements.push_back(e);
        const Rayon r = UnRayon(s, {-1, 1}, {1, 0});
        EXPECT_EQ(r.Chemin().size(), 2u);
        EXPECT_EQ(r.arret, opaque_en_dernier);
    }
    // A lens face where a blade's face is: the ray stops there only if the diaphragm is last;
    // otherwise it enters the glass and stops at the blade's back.
    for (bool diaphragme_en_dernier : {true, false}) {
        System_Physique s;
        const Element l = Lentille({0, 0}, 5, 0, 0, 0, 0, 10, 0, Verre(s, 1.5, 1.5, 1.5));
        const Element d = Diaphragme({1, 0}, 2, 1, 3, 0);
        s.elements = diaphragme_en_dernier ? std::vector{l, d} : std::vector{d, l};
        const Rayon r = UnRayon(s, {-1, 2}, {1, 0});
        EXPECT_TRUE(r.arret);
        EXPECT_EQ(r.Chemin().size(), diaphragme_en_dernier ? 2u : 3u);
        EXPECT_EQ(r.Chemin().back().x, diaphragme_en_dernier ? 0 : 2);
    }
}

TEST(Propagation, BoutsOuvertsEtArrets) {
    System_Physique s;
    s.espace.indice_espace = 1.33;
    // Without elements: one node, open, the direction at the space's index.
    Rayon r = UnRayon(s, {1, 2}, {0.6, 0.8});
    EXPECT_EQ(r.Chemin().size(), 1u);
    EXPECT_FALSE(r.arret);
    EXPECT_NEAR(Norme(r.direction), 1.33, 1e-12);

    s.elements.push_back(Lentille({0, 0}, 2, 1, 10, 1, -10, 4, 0, Verre(s, 1.5, 1.6, 1.7)));
    s.elements.push_back(Diaphragme({5, 0}, 2, 0.2, 3, 0));
    // Along the axis: straight through the lens and the opening.
    r = UnRayon(s, {-5, 0}, {1, 0});
    ASSERT_EQ(r.Chemin().size(), 3u);
    EXPECT_NEAR(r.Chemin()[1].x, 0, 1e-12);
    EXPECT_NEAR(r.Chemin()[2].x, 2, 1e-12);
    for (Point p : r.Chemin()) EXPECT_NEAR(p.y, 0, 1e-12);
    EXPECT_FALSE(r.arret);
    EXPECT_NEAR(r.direction.x, 1.33, 1e-12);
    EXPECT_NEAR(r.direction.y, 0, 1e-12);
    // Off the axis: through the lens, then stopped on a blade's entrance face.
    r = UnRayon(s, {-5, 1}, {1, 0});
    ASSERT_EQ(r.Chemin().size(), 4u);
    EXPECT_TRUE(r.arret);
    EXPECT_EQ(r.Chemin()[3].x, 4);
    EXPECT_EQ(r.position.x, r.Chemin()[2].x);
    EXPECT_EQ(r.position.y, r.Chemin()[2].y);
    // Starting inside a blade: index 0, no direction, nothing met.
    r = UnRayon(s, {5, 2}, {1, 0});
    EXPECT_EQ(r.Chemin().size(), 1u);
    EXPECT_FALSE(r.arret);
    EXPECT_EQ(Norme(r.direction), 0);
}

// Glass that ends straight against a blade: the index beyond is 0 and the tangential part is
// exactly 0, so nothing can be refracted; the ray must come back, not lose its direction.
TEST(Propagation, SortieDroiteContreUneLameRenvoieLeRayon) {
    System_Physique s;
    s.elements.push_back(Lentille({0, 0}, 5, 0, 0, 0, 0, 10, 0, Verre(s, 1.5, 1.5, 1.5)));
    s.elements.push_back(Diaphragme({-1, 0}, 2, 0, 3, 0));
    const Rayon r = UnRayon(s, {3, 0.5}, {-1, 0});
    ASSERT_EQ(r.Chemin().size(), 3u);
    EXPECT_EQ(r.Chemin()[1].x, 0);
    EXPECT_NEAR(r.Chemin()[2].x, 5, 1e-12);
    EXPECT_FALSE(r.arret);
    EXPECT_NEAR(r.direction.x, 1, 1e-12);
}

TEST(Propagation, RayonPiegeParReflexionTotaleArreteApresMilleImpacts) {
    System_Physique s;
    s.elements.push_back(Lentille({0, 0}, 2, 0, 0, 0, 0, 2, 0, Verre(s, 1.5, 1.5, 1.5)));
    // At 45 degrees every wall of the square reflects totally.
    const Rayon r = UnRayon(s, {1, 0.3}, {1, 1});
    EXPECT_TRUE(r.arret);
    ASSERT_EQ(r.Chemin().size(), 1u + kImpactsMax);
    for (Point p : r.Chemin()) EXPECT_TRUE(p.x > -1e-9 && p.x < 2 + 1e-9 && std::fabs(p.y) < 1.1);
    EXPECT_NEAR(Norme(r.direction), 1.5, 1e-9);
}

// A paraxial beam meets the axis at the back focus of the thick-lens equation, blue first.
TEST(Propagation, FoyerDUneLentilleEpaisse) {
    const double r1 = 50, r2 = -50, e = 5;
    System_Physique s;
    const IndiceRefraction* bk7 = Verre(s, 1.5224, 1.5168, 1.5143, 486.1, 587.6, 656.3);
    s.elements.push_back(Lentille({0, 0}, e, 1, r1, 1, r2, 20, 0, bk7));
    Source_polychromatique& g = s.sources.emplace_back();
    for (double l : {450.0, 650.0}) g.sources.emplace_back(l, Point{-10, 0}, 0, 0, 2, 0.2);
    PropagerTout(s, 1);
    double mesure[2];
    for (int k = 0; k < 2; ++k) {
        const double n = bk7->Indice(g.sources[k].rayons[0].lambda);
        const double f = 1 / ((n - 1) * (1 / r1 - 1 / r2 + (n - 1) * e / (n * r1 * r2)));
        const double foyer = e + f * (1 - (n - 1) * e / (n * r1));
        for (const Rayon& r : g.sources[k].rayons) {
            ASSERT_EQ(r.Chemin().size(), 3u);
            mesure[k] = r.position.x - r.position.y * r.direction.x / r.direction.y;
            EXPECT_NEAR(mesure[k], foyer, 2e-3);  // spherical aberration is 3e-4 here
        }
    }
    EXPECT_LT(mesure[0] + 0.5, mesure[1]);
}

TEST(Propagation, LeNombreDeFilsNeChangeRien) {
    System_Physique s[2];
    for (int k = 0; k < 2; ++k) {
        const IndiceRefraction* v = Verre(s[k], 1.6, 1.55, 1.5);
        s[k].elements.push_back(Lentille({0, 0}, 3, 1, 20, 1, -15, 12, 0.1, v));
        s[k].elements.push_back(Diaphragme({15, 0}, 1, 2, 8, -0.2));
        s[k].elements.push_back(Lentille({25, 1}, 2, 0, 0, 1, 12, 10, 0.3, v));
        Source_polychromatique& g = s[k].sources.emplace_back();
        for (double l : {450.0, 650.0}) g.sources.emplace_back(l, Point{-10, 0}, 1.0, 0, 700, 1);
        PropagerTout(s[k], k == 0 ? 1 : 4);
    }
    auto noeuds = [](const System_Physique& b) {
        std::vector<double> v;
        for (const Source_monochromatique& m : b.sources[0].sources) {
            for (const Rayon& r : m.rayons) {
                v.insert(v.end(), {double(r.arret), double(r.Chemin().size())});
                for (Point p : r.Chemin()) v.insert(v.end(), {p.x, p.y});
            }
        }
        return v;
    };
    const std::vector<double> un = noeuds(s[0]);
    EXPECT_GT(un.size(), 1400u * 6);  // the rays were traced
    EXPECT_TRUE(un == noeuds(s[1]));
}

}  // namespace
}  // namespace optic
