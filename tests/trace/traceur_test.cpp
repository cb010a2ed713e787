// The tracer that runs rays side by side, lot by lot, against the plain one: on benches drawn
// at random (overlapping lenses of every kind, diaphragms, fans starting inside glass and
// inside blades, rays trapped by total reflection), every ray gets the very same path, end
// and last direction, to the bit, whatever the lots and the threads.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "trace/bancs.h"
#include "trace/propagation.h"
#include "trace/rayons.h"

namespace optic {
namespace {

using test::Egalite;
using test::Verre;

// The same two coordinates, to the bit.
bool MemePoint(Point a, Point b) {
    return std::memcmp(&a.x, &b.x, sizeof a.x) == 0 && std::memcmp(&a.y, &b.y, sizeof a.y) == 0;
}

// A bench drawn from the seed.
void Tirer(unsigned graine, System_Physique& s) {
    std::mt19937_64 alea(graine);
    // Some benches far from the origin, or very large or very small.
    const double echelle = graine % 7 == 0 ? 1e5 : graine % 11 == 0 ? 1e-4 : 1;
    const double loin = graine % 13 == 0 ? 3e7 : 0;
    auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(alea); };
    auto k = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(alea); };
    s.espace.indice_espace = k(0, 1) ? 1.0 : 1.33;
    for (int i = k(1, 3); i > 0; --i) {
        const double n = u(1.3, 1.9);
        s.indices.push_back(std::make_unique<IndiceRefraction>(
            IndiceRefraction{{n + 0.02, n, n - 0.01}, {400, 550, 700}}));
    }
    for (int i = k(0, 6); i > 0; --i) {
        const Point p{loin + echelle * u(0, 60), echelle * u(-8, 8)};
        const double angle = k(0, 3) ? u(-0.3, 0.3) : u(-kPi, kPi);
        if (k(0, 3)) {
            auto rayon = [&] { return echelle * (k(0, 1) ? 1 : -1) * u(4, 120); };
            const int t1 = k(0, 2) ? kFaceSpherique : kFacePlane;
            const int t2 = k(0, 2) ? kFaceSpherique : kFacePlane;
            const std::size_t verre =
                static_cast<std::size_t>(k(0, static_cast<int>(s.indices.size()) - 1));
            s.elements.push_back(Lentille(p, echelle * u(0.5, 15), t1, rayon(), t2, rayon(),
                                          echelle * u(2, 40), angle, s.indices[verre].get()));
        } else {
            const double interieur = echelle * u(0, 10);
            s.elements.push_back(Diaphragme(p, echelle * u(0.2, 3), interieur,
                                            interieur + echelle * u(1, 20), angle));
        }
    }
    for (int i = k(1, 3); i > 0; --i) {
        Source_polychromatique& g = s.sources.emplace_back();
        const Point milieu{loin + echelle * u(-20, 50), echelle * u(-15, 15)};
        const double ouverture = k(0, 2) ? u(0, 1) : u(0, 2 * kPi);
        const double angle = u(-kPi, kPi), largeur = k(0, 1) ? echelle * u(0, 20) : 0;
        const int rayons = k(0, 4) ? k(1, 300) : 1;
        for (int l = k(1, 3); l > 0; --l) {
            g.sources.emplace_back(u(380, 780), milieu, ouverture, angle, rayons, largeur);
        }
    }
}

// A square of glass where rays are trapped by total reflection, and rays born in it.
void Piege(System_Physique& s) {
    s.elements.push_back(Lentille({0, 0}, 2, kFacePlane, 0, kFacePlane, 0, 2, 0, Verre(s)));
    s.elements.push_back(Diaphragme({5, 0}, 1, 0.5, 3, 0.1));
    Source_polychromatique& g = s.sources.emplace_back();
    g.sources.emplace_back(500, Point{1, 0.3}, kPi / 2, -kPi / 4, 50, 0.2);
    g.sources.emplace_back(500, Point{5, 1}, kPi, 0, 20, 0);  // in a blade
}

struct Trace {
    Rayon rayon;
    std::vector<Point> chemin;
    bool operator==(const Trace& t) const {
        const auto& [a, b] = std::pair(rayon, t.rayon);
        return a.lambda == b.lambda && a.arret == b.arret && a.fin == b.fin &&
               MemePoint(a.position, b.position) && MemePoint(a.direction, b.direction) &&
               std::equal(chemin.begin(), chemin.end(), t.chemin.begin(), t.chemin.end(),
                          MemePoint);
    }
};

// Every ray of the lots, in order, as they are visited.
std::vector<Trace> Visiter(RayonsDuBanc& rayons) {
    std::vector<Trace> traces;
    rayons.Parcourir([&](std::span<const Rayon> lot) {
        for (const Rayon& r : lot) traces.push_back(Trace{r, {r.chemin.begin(), r.chemin.end()}});
    });
    return traces;
}

// The lots' rays, visited twice (traced again or kept), against the plain tracer's.
void Comparer(const System_Physique& s, int fils, Decoupage decoupage) {
    RayonsDuBanc rayons(s, fils, 2, nullptr, decoupage);
    const std::vector<Trace> obtenus = Visiter(rayons);
    EXPECT_TRUE(Visiter(rayons) == obtenus) << "second visit";
    std::size_t i = 0;
    for (const Source_polychromatique& g : s.sources) {
        for (const Source_monochromatique& m : g.sources) {
            for (std::size_t k = 0; k < m.NombreRayons(); ++k, ++i) {
                ASSERT_LT(i, obtenus.size());
                Trace attendu{m.Depart(k), {}};
                Propagation(s, attendu.rayon, attendu.chemin);
                EXPECT_TRUE(obtenus[i] == attendu) << "ray " << i;
            }
        }
    }
    EXPECT_EQ(i, obtenus.size());
}

// The rays of a parallel beam of 550 nm from (x, y) along direction a (radians), traced side
// by side, as the program traces them.
std::vector<Trace> Tracer(System_Physique& s, Point depart, double a) {
    s.sources.emplace_back().sources.emplace_back(550, depart, 0, a, 8, 0.2);
    RayonsDuBanc rayons(s, 2, 1, nullptr, Decoupage{3, 2});
    const std::vector<Trace> traces = Visiter(rayons);
    EXPECT_EQ(traces.size(), 8u);
    return traces;
}

// Against geometry worked out by hand.  Where two glasses overlap the later one's index
// holds: slabs of 1.5 (x 0..10) and 2 (x 5..15), a beam in at 30 degrees bends at x = 0
// and x = 5, not at 10, and leaves at 30 degrees.  A lens face and a blade's face met at the
// same distance: the later of the two in the bench decides, a stop at the face or a way
// into the glass up to the blade's back.
TEST(Traceur, GeometrieALaMain) {
    System_Physique s;
    for (const double n : {1.5, 2.0}) {
        const Point sommet{s.elements.empty() ? 0.0 : 5.0, 0};
        s.elements.push_back(
            Lentille(sommet, 10, kFacePlane, 0, kFacePlane, 0, 40, 0, Verre(s, n, n, n)));
    }
    const double t30 = std::tan(kPi / 6);
    const auto pente = [](double n) { return 0.5 / n / std::sqrt(1 - 0.25 / (n * n)); };
    for (const Trace& t : Tracer(s, {-1, 0}, -kPi / 6)) {
        const Point d = t.chemin.front();
        ASSERT_EQ(t.chemin.size(), 5u);
        const double y0 = d.y - d.x * t30;
        const double attendus[][2] = {{0, y0},
                                      {5, y0 + 5 * pente(1.5)},
                                      {10, y0 + 5 * pente(1.5) + 5 * pente(2)},
                                      {15, y0 + 5 * pente(1.5) + 10 * pente(2)}};
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_NEAR(t.chemin[k + 1].x, attendus[k][0], 1e-9);
            EXPECT_NEAR(t.chemin[k + 1].y, attendus[k][1], 1e-9) << k;
        }
        EXPECT_FALSE(t.rayon.arret);
        EXPECT_NEAR(t.rayon.direction.y / t.rayon.direction.x, t30, 1e-9);
    }
    for (bool diaphragme_dernier : {true, false}) {
        System_Physique e;
        Egalite(diaphragme_dernier, e);
        for (const Trace& t : Tracer(e, {-1, 2}, 0)) {
            EXPECT_TRUE(t.rayon.arret);
            ASSERT_EQ(t.chemin.size(), diaphragme_dernier ? 2u : 3u);
            EXPECT_NEAR(t.chemin.back().x, diaphragme_dernier ? 0 : 2, 1e-9);
        }
    }
}

TEST(Traceur, MemesCheminsQueLeTraceurSimple) {
    for (unsigned graine = 1; graine <= 300; ++graine) {
        SCOPED_TRACE(testing::Message() << "bench " << graine);
        System_Physique s;
        Tirer(graine, s);
        Comparer(s, 1 + graine % 3, graine % 2 ? Decoupage{} : Decoupage{7, 3});
    }
    System_Physique s;
    Piege(s);
    Comparer(s, 2, Decoupage{5, 2, 1});
    for (bool diaphragme_dernier : {true, false}) {
        System_Physique e;
        Egalite(diaphragme_dernier, e);
        e.sources.emplace_back().sources.emplace_back(500, Point{-1, 0}, 0, 0, 41, 8);
        Comparer(e, 2, Decoupage{3, 2});
    }
}

}  // namespace
}  // namespace optic
