#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "render/image.h"
#include "render/raster.h"

namespace optic {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
using Pixels = std::set<std::pair<int, int>>;  // (column, row)

// A zoombox's picture with its background painted, ready to be drawn into.
struct Toile {
    Image im;
    Raster r;
    Toile(double x1, double y1, double x2, double y2, double n, double g)
        : im(ConstruireZoombox(x1, y1, x2, y2, n, g).image), r(im.taille) {
        PeindreFond(im, r);
        im.Attacher(r);
    }
    std::array<int, 3> Rvb(int x, int y) {  // red, green, blue
        const std::uint8_t* p = r.Ligne(y) + 3 * x;
        return {p[2], p[1], p[0]};
    }
    Pixels Allumes() {
        Pixels p;
        for (int y = 0; y < im.taille; ++y)
            for (int x = 0; x < im.taille; ++x)
                if (Rvb(x, y) != std::array{0, 0, 0}) p.insert({x, y});
        return p;
    }
};

TEST(Image, ConstructionDUneZoombox) {
    struct Cas {
        double x1, y1, x2, y2, n;
        bool utilisable, plafonne;
        int taille;
        double zoom, largeur;
    };
    for (const Cas& c :
         std::vector<Cas>{{0, 0, 10, 5, 200, true, false, 200, 20, 10},
                          {0, 0, 4, 8, 100, true, false, 100, 12.5, 8},  // the larger extent wins
                          {0, 0, 1e-3, 1e-3, 1000, true, true, 100, 1e5, 1e-3},
                          {0, 0, 0, 0, 5, true, true, 0, 1e5, 0},        // infinite zoom, capped
                          {10, 10, 0, 0, 0, true, false, 0, -0.0, -10},  // -0.0 is not negative
                          {2, 0, 3, 1, 37837, true, false, 37837, 37837, 1},
                          {0, 0, 1, 1, 37837.5, false, false, 0, 0, 0},  // too large for a BMP file
                          {0, 0, 1, 1, 4e9, false, true, 0, 0, 0},
                          {0, 0, 10, 10, -5, false, false, 0, 0, 0},     // negative zoom
                          {0, 0, 0, 0, 0, false, false, 0, 0, 0},        // zoom not a number
                          {10, 10, 0, 0, -5, false, false, 0, 0, 0}}) {  // negative side
        SCOPED_TRACE(testing::Message() << c.x1 << " " << c.y1 << " " << c.x2 << " " << c.n);
        const Zoombox z = ConstruireZoombox(c.x1, c.y1, c.x2, c.y2, c.n, 1);
        EXPECT_EQ(z.utilisable, c.utilisable);
        EXPECT_EQ(z.zoom_plafonne, c.plafonne);
        if (!c.utilisable) continue;
        EXPECT_EQ(z.image.taille, c.taille);
        EXPECT_EQ(z.image.zoom, c.zoom);
        EXPECT_EQ(std::signbit(z.image.zoom), std::signbit(c.zoom));
        EXPECT_EQ(z.image.largeur, c.largeur);
        EXPECT_EQ(z.image.decalage_x, -c.x1);
    }
}

TEST(Image, FondNoirEtGrilleGrise) {
    struct Cas {
        double n, g;
        std::size_t gris;
        Pixels marques;
    };
    // Spacings 20, 2, 1 (no grid), none, 9, and beyond the picture (column and row 0 only).
    for (const Cas& c : std::vector<Cas>{{200, 20, 3900, {{0, 0}, {20, 7}, {7, 20}, {180, 199}}},
                                         {10, 1.5, 75, {{2, 1}, {1, 8}}},
                                         {10, 1.49, 0, {}},
                                         {10, kNaN, 0, {}},
                                         {10, 9, 36, {{9, 5}, {5, 9}}},
                                         {10, 1e300, 19, {{0, 9}, {9, 0}}}}) {
        SCOPED_TRACE(testing::Message() << c.n << " pixels, grid " << c.g);
        Toile t(0, 0, c.n, c.n, c.n, c.g);  // one pixel per world unit
        EXPECT_EQ(t.Allumes().size(), c.gris);
        for (auto [x, y] : c.marques) EXPECT_EQ(t.Rvb(x, y), (std::array{45, 45, 45}));
    }
}

// A equal to B is TracePoint's own rounding; then the segment rules at the window's edges:
// a 45-degree segment steps along y (so x starts left of the window), the last step may pass
// the end by half a pixel, and huge or undefined ends terminate inside the picture.
TEST(Image, TracePointEtTraceSegmentAuxBords) {
    struct Cas {
        Point a, b;
        Pixels attendu;
    };
    Pixels rang0;
    for (int x = 0; x < 10; ++x) rang0.insert({x, 0});
    for (const Cas& c :
         std::vector<Cas>{{{0, 0}, {0, 0}, {{0, 0}}},
                          {{0.4, 0.6}, {0.4, 0.6}, {{0, 1}}},
                          {{9.49, 9.49}, {9.49, 9.49}, {{9, 9}}},
                          {{-1e-6, 0}, {-1e-6, 0}, {}},
                          {{9.5, 0}, {9.5, 0}, {}},
                          {{2, 3}, {2.9, 3}, {{2, 3}}},
                          {{-0.4, 0.2}, {4.6, 5.2}, {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}},
                          {{-20, 3}, {-0.6, 3}, {}},
                          {{-20, 3}, {-0.4, 3}, {{0, 3}}},
                          {{0, 0}, {1e300, 1}, rang0},
                          {{kInf, 0}, {0, 0}, rang0},
                          {{-kInf, -kInf}, {kInf, kInf}, {}}}) {
        SCOPED_TRACE(testing::Message() << c.a.x << " " << c.a.y << " " << c.b.x << " " << c.b.y);
        Toile t(0, 0, 10, 10, 10, 0);
        TraceSegment(t.im, c.a, c.b, Couleur3(12.99, 256, -0.5));  // bytes: truncated, clamped
        EXPECT_EQ(t.Allumes(), c.attendu);
        for (auto [x, y] : c.attendu) EXPECT_EQ(t.Rvb(x, y), (std::array{12, 255, 0}));
    }
    // The window's offset applies; far out x stands still, yet the walk ends.
    Toile t(1e17, 0, 1e17 + 16, 16, 16, 0);
    TraceSegment(t.im, Point{1e17, 3}, Point{1e17 + 16, 3}, Gris(255));
    EXPECT_EQ(t.Allumes(), (Pixels{{0, 3}}));
}

// The segment rule written plainly: points one pixel apart along the major axis, each step
// added to the last.
Pixels Reference(const Image& im, Point a, Point b) {
    Pixels p;
    auto point = [&](double x, double y) {
        const double px = (x + im.decalage_x) * im.zoom, py = (y + im.decalage_y) * im.zoom;
        if (px >= 0 && py >= 0 && px + 0.5 < im.taille && py + 0.5 < im.taille)
            p.insert({static_cast<int>(px + 0.5), static_cast<int>(py + 0.5)});
    };
    const double pas = 1 / im.zoom, dx = b.x - a.x, dy = b.y - a.y;
    if (std::fabs(dx) < pas && std::fabs(dy) < pas)
        return point((a.x + b.x) / 2, (a.y + b.y) / 2), p;
    const bool xm = std::fabs(dx) > std::fabs(dy);
    if (!xm) std::swap(a.x, a.y), std::swap(b.x, b.y);  // (major, minor) coordinates
    const Point l = a.x <= b.x ? a : b, h = a.x <= b.x ? b : a;
    const double dec = xm ? im.decalage_x : im.decalage_y;
    const double fin = (dec + h.x < im.largeur ? h.x : im.largeur - dec) + pas / 2;
    for (double t = dec + l.x > 0 ? l.x : -dec; t < fin; t += pas) {
        const double m = l.y + (t - l.x) * (h.y - l.y) / (h.x - l.x);
        xm ? point(t, m) : point(m, t);
    }
    return p;
}

TEST(Image, TraceSegmentSuitLaRegleSurDesSegmentsQuelconques) {
    std::mt19937 alea(7);
    std::uniform_real_distribution<double> u(-0.4, 1.4);
    // Zooms whose steps are not exact, windows across 0: the walk crosses many binades.
    for (auto [x1, y1, cote, n] :
         {std::tuple{-3.7, 1.3, 10.0, 197.0}, {-0.31, -0.17, 1.0, 613.0}}) {
        for (int k = 0; k < 100; ++k) {
            Toile t(x1, y1, x1 + cote, y1 + cote, n, 0);
            const Point a{x1 + cote * u(alea), y1 + cote * u(alea)};
            const Point b{x1 + cote * u(alea), y1 + cote * u(alea) / (k % 3 ? 1 : 40)};
            SCOPED_TRACE(testing::Message() << a.x << " " << a.y << " " << b.x << " " << b.y);
            TraceSegment(t.im, a, b, Gris(255));
            EXPECT_EQ(t.Allumes(), Reference(t.im, a, b));
        }
    }
}

}  // namespace
}  // namespace optic
