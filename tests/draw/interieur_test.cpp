// The inside runs of a row, found from where the inside tests change along it, against every
// point of the row tested one by one: the same points, for lenses of every kind and
// diaphragms at any angle (the bench's own angles too, whose sines are not quite 0), rows
// through the middle of an element and grazing its edges, at every scale.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "draw/interieur.h"
#include "elements/lentille.h"
#include "support/elements_hasard.h"

namespace optic {

void PrintTo(const Intervalle& r, std::ostream* os) {
    *os << "[" << r.debut << ", " << r.fin << ")";
}

namespace {

// The points of a row one pixel step apart from x0, each step added to the last, as the
// fills scan them.
std::vector<double> Rangee(double x0, double pas, int n) {
    std::vector<double> xs;
    double x = x0;
    for (int i = 0; i < n; ++i, x += pas) xs.push_back(x);
    return xs;
}

// The inside points as Contient finds them, one by one, as runs.
Intervalles UnParUn(const Element& e, const std::vector<double>& xs, int n, double y) {
    Intervalles runs;
    for (int i = 0; i < n; ++i) {
        if (!Contient(e, {xs[static_cast<std::size_t>(i)], y})) continue;
        if (!runs.empty() && runs.back().fin == i) {
            ++runs.back().fin;
        } else {
            runs.push_back({i, i + 1});
        }
    }
    return runs;
}

TEST(Interieur, CommeChaquePointTesteUnParUn) {
    std::mt19937_64 alea(17);
    auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(alea); };
    std::vector<Element> elements;
    for (int i = 0; i < 400; ++i) elements.push_back(test::ElementAuHasard(alea, i, 60));
    // Lenses at the angles a bench gives (the faces' sines a little off 0), thick and thin,
    // one face wider than the other's circle.
    for (const double angle : {0.0, kDemiPi, Radians(20), -kPi}) {
        // Vertex, thickness, radii (0: flat), diameter.
        const double lentilles[][5] = {
            {20, 8, 60, -45, 50}, {28, 3, -45, -200, 50}, {130, 10, 0, 0, 40}, {0, 0.5, 5, -5, 8}};
        for (const auto& l : lentilles) {
            const auto face = [](double r) { return r ? kFaceSpherique : kFacePlane; };
            elements.push_back(Lentille({l[0], 0}, l[1], face(l[2]), l[2], face(l[3]), l[3], l[4],
                                        angle, nullptr));
        }
        elements.push_back(Diaphragme({50, 0}, 1, 10, 40, angle));
    }
    int points = 0, dedans = 0;
    for (std::size_t k = 0; k < elements.size(); ++k) {
        const Element& e = elements[k];
        SCOPED_TRACE(k);
        const Boite b = BoiteElement(e);
        const double cote = std::max(b.xmax - b.xmin, b.ymax - b.ymin);
        const double zoom = std::exp(u(std::log(2.0), std::log(3000.0))) / cote;
        const double pas = 1 / zoom;
        // The row a little wider than the box, from a point that is not a pixel's.
        const double x0 = b.xmin - u(0, 3) * pas;
        // fmax and fmin pass over a box that is not a number (an element whose numbers are not).
        const int n = static_cast<int>(std::fmin(std::fmax((b.xmax - x0) / pas + 3, 8.0), 4000.0));
        const std::vector<double> xs = Rangee(x0, pas, n);
        Brouillon brouillon;  // one for all the rows, as a fill has
        for (int j = 0; j < 40; ++j) {
            // Rows anywhere across the box, and rows through a surface's vertex or ends.
            double y = u(b.ymin - pas, b.ymax + pas);
            const Dioptre& d = e.dioptres[static_cast<std::size_t>(j) % e.dioptres.size()];
            if (j % 4 == 1) y = d.sommet.y;
            if (j % 4 == 2) y = d.sommet.y + d.cosinus * d.demi_ouverture;
            Intervalles runs;
            // Not claimed only for numbers that are not finite (a lens wider than a face's
            // circle); the count below sees a fast path that gives up too often.
            if (!InterieurRangee(e.type, e.dioptres.data(), xs.data(), n, y, runs, brouillon))
                continue;
            const Intervalles attendu = UnParUn(e, xs, n, y);
            EXPECT_EQ(runs, attendu) << "row y = " << y << ", " << n << " points";
            points += n;
            for (const Intervalle& r : attendu) dedans += r.fin - r.debut;
        }
    }
    EXPECT_GT(points, 400 * 40 * 10);  // most rows claimed
    EXPECT_GT(dedans, points / 10);    // rows that go through the elements, not only beside
}

// Numbers large enough to overflow a square: the runs are not claimed, each point is tested.
TEST(Interieur, NombresTropGrands) {
    const Lentille l({1e200, 0}, 4, kFaceSpherique, 30, kFaceSpherique, -30, 20, 0, nullptr);
    const std::vector<double> xs = Rangee(1e200, 1e190, 16);
    Intervalles runs;
    Brouillon brouillon;
    EXPECT_FALSE(InterieurRangee(l.type, l.dioptres.data(), xs.data(), 16, 0, runs, brouillon));
}

}  // namespace
}  // namespace optic
