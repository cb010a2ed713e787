// Zoombox construction, plotting at the window's edges, where open rays leave.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "raster/couleur.h"
#include "raster/image.h"
#include "raster/raster.h"

namespace optic {
namespace {

TEST(Image, ConstructionDUneZoombox) {
    const double cas[][10] = {
        // Corners, requested side; usable, zoom capped; side, zoom and extent it gets.
        {0, 0, 4, 8, 100, 1, 0, 100, 12.5, 8},  // the larger extent wins
        {0, 0, 1e-3, 1e-3, 1000, 1, 1, 100, 1e5, 1e-3},
        {0, 0, 0, 0, 5, 1, 1, 0, 1e5, 0},       // infinite zoom, capped
        {10, 10, 0, 0, 0, 1, 0, 0, -0.0, -10},  // -0.0 is not negative
        {2, 0, 3, 1, 37837, 1, 0, 37837, 37837, 1},
        {0, 0, 1, 1, 37837.5, 0, 0},  // too large for a BMP file
        {0, 0, 1, 1, 4e9, 0, 1}};     // and capped first
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c[0] << " " << c[1] << " " << c[2] << " " << c[4]);
        const Zoombox z = ConstruireZoombox(c[0], c[1], c[2], c[3], c[4], 1);
        EXPECT_EQ(z.utilisable, c[5] == 1);
        EXPECT_EQ(z.zoom_plafonne, c[6] == 1);
        if (!z.utilisable) continue;
        const Fenetre& f = z.fenetre;
        EXPECT_EQ((std::vector<double>{double(f.taille), f.zoom, f.largeur}),
                  (std::vector<double>{c[7], c[8], c[9]}));
        EXPECT_EQ(std::signbit(f.zoom), std::signbit(c[8]));
    }
}

// A equal to B is TracePoint's own rounding; then the segment rules at the window's edges:
// a 45-degree segment steps along y (so x starts left of the window), the last step may pass
// the end by half a pixel, and huge or undefined ends terminate inside the picture.
TEST(Image, TracePointEtTraceSegmentAuxBords) {
    using Pixels = std::set<std::pair<int, int>>;  // (column, row)
    // The pixels a segment lights in the window x1..x1 + n, 0..n at a pixel a unit.
    auto tracer = [](double x1, int n, Point a, Point b) {
        Image im = ConstruireZoombox(x1, 0, x1 + n, n, n, 0).fenetre;
        Raster r(n);
        PeindreFond(im, r);
        im.Attacher(r);
        TraceSegment(im, a, b, Couleur3(12.99, 256, -0.5));  // bytes: truncated, clamped
        Pixels allumes;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const std::uint8_t* p = r.Ligne(y) + 3 * x;
                if (!p[0] && !p[1] && !p[2]) continue;
                allumes.insert({x, y});
                EXPECT_TRUE(p[0] == 0 && p[1] == 255 && p[2] == 12);
            }
        }
        return allumes;
    };
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    Pixels rang0;
    for (int x = 0; x < 10; ++x) rang0.insert({x, 0});
    const std::tuple<Point, Point, Pixels> cas[] = {
        {{0.4, 0.6}, {0.4, 0.6}, {{0, 1}}},
        {{9.49, 9.49}, {9.49, 9.49}, {{9, 9}}},
        {{-1e-6, 0}, {-1e-6, 0}, {}},
        {{9.5, 0}, {9.5, 0}, {}},
        {{2.4, 3}, {3.2, 3}, {{3, 3}}},  // shorter than a pixel: its midpoint
        {{-0.4, 0.2}, {4.6, 5.2}, {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}},
        {{-20, 3}, {-0.6, 3}, {}},
        {{-20, 3}, {-0.4, 3}, {{0, 3}}},
        {{0, 0}, {1e300, 1}, rang0},
        {{inf, 0}, {0, 0}, rang0},
        {{-inf, -inf}, {inf, inf}, {}},
        {{nan, nan}, {5, 5}, {}}};
    for (const auto& [a, b, attendu] : cas) {
        EXPECT_EQ(tracer(0, 10, a, b), attendu) << a.x << " " << a.y << " " << b.x;
    }
    // The window's offset applies; far out x stands still, yet the walk ends.
    EXPECT_EQ(tracer(1e17, 16, {1e17, 3}, {1e17 + 16, 3}), (Pixels{{0, 3}}));
    EXPECT_EQ(tracer(1e17, 16, {-1e200, 3}, {1e17 + 16, 3}), (Pixels{{0, 3}}));
}

// Where an open ray's last leg is cut: the left or right edge when the crossing lies within
// the window's height, otherwise the top or bottom edge; windows on both sides of y = 0.
TEST(SortieFenetre, BordAtteint) {
    const double cas[][10] = {
        // The zoombox's corners, the ray's position and direction, where it is cut.
        {0, 0, 10, 10, 2, 3, -1, 0, 0, 3},
        {-10, -20, 0, -10, -5, -15, 1, 0, 0, -15},
        {-10, -20, 0, -10, -5, -15, 1, 2, -2.5, -10},
        {-10, -20, 0, -15, -5, -15, 0, 1, -5, -10},     // square: it reaches y = -10
        {0, 0, 10, 10, 2, 3, 1e-11, 1, 2 + 7e-11, 10},  // nearly vertical
        {0, 0, 10, 10, 10, 5, -1, -1, 5, 0}};
    for (const auto& c : cas) {
        const Point p = SortieFenetre({c[4], c[5]}, {c[6], c[7]},
                                      ConstruireZoombox(c[0], c[1], c[2], c[3], 100, 0).fenetre);
        EXPECT_TRUE(std::fabs(p.x - c[8]) < 1e-12 && std::fabs(p.y - c[9]) < 1e-12)
            << c[4] << " " << c[5] << " " << c[6] << " " << c[7] << ": " << p.x << " " << p.y;
    }
}

}  // namespace
}  // namespace optic
