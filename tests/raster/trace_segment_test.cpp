// Segments drawn by the plotting against the plain walk it stands for: points one pixel apart
// along the major axis, each step added to the last, each point plotted by TracePoint.  Over
// random segments of every slope (flat and nearly flat ones, steep ones, in windows far from
// the origin, crossing bands of rows) and a crowded fan, in the drawing order and from its
// end with covered pixels kept, the pictures are the same to the byte.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "base/constantes.h"
#include "raster/image.h"
#include "raster/raster.h"
#include "support/bmp_lecture.h"

namespace optic {
namespace {

// The walk as the plotting describes it, point by point.
void SegmentSimple(const Image& image, Point a, Point b, Pixel couleur) {
    const double pas = 1.0 / image.zoom;
    const double dx = b.x - a.x, dy = b.y - a.y;
    if (std::fabs(dx) < pas && std::fabs(dy) < pas) {
        TracePoint(image, (a.x + b.x) / 2, (a.y + b.y) / 2, couleur);
        return;
    }
    const bool x_majeur = std::fabs(dx) > std::fabs(dy);
    const Point l = (x_majeur ? a.x <= b.x : a.y <= b.y) ? a : b;
    const Point h = (x_majeur ? a.x <= b.x : a.y <= b.y) ? b : a;
    const double decalage = x_majeur ? image.decalage_x : image.decalage_y;
    const double lm = x_majeur ? l.x : l.y, hm = x_majeur ? h.x : h.y;
    const double debut = decalage + lm > 0 ? lm : -decalage;
    const double fin = (decalage + hm < image.largeur ? hm : image.largeur - decalage) + pas / 2;
    double t = debut;
    for (int k = 0; k <= image.taille + 2 && t < fin; ++k, t += pas) {
        if (x_majeur) {
            TracePoint(image, t, l.y + (t - l.x) * dy / dx, couleur);
        } else {
            TracePoint(image, l.x + (t - l.y) * dx / dy, t, couleur);
        }
    }
}

TEST(TraceSegment, CommeLaMarchePointParPoint) {
    std::mt19937_64 alea(5);
    auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(alea); };
    for (int cas = 0; cas < 40; ++cas) {
        SCOPED_TRACE(cas);
        const double x0 = cas % 5 == 0 ? u(-1e6, 1e6) : u(-20, 20), y0 = u(-20, 20);
        const double cote = u(5, 60);
        const int pixels = static_cast<int>(u(50, 700));
        const Zoombox z = ConstruireZoombox(x0, y0, x0 + cote, y0 + cote, pixels, 0);
        ASSERT_TRUE(z.utilisable);
        const Image& image = z.fenetre;
        // Segments across the window and beyond, of every slope: flat, nearly flat, steep.
        struct Trait {
            Point a, b;
            Pixel couleur;
        };
        std::vector<Trait> traits;
        for (int i = 0; i < 300; ++i) {
            const Point a{x0 + u(-0.3, 1.3) * cote, y0 + u(-0.3, 1.3) * cote};
            const double longueur = u(0, 1.5) * cote;
            double angle = u(-3.2, 3.2);
            if (i % 4 == 0) angle = i % 8 == 0 ? 0 : u(-1e-3, 1e-3);
            if (i % 4 == 1) angle = kPi / 2 + u(-1e-3, 1e-3);
            const Point b{a.x + longueur * std::cos(angle), a.y + longueur * std::sin(angle)};
            traits.push_back({a, b, Pixel{static_cast<std::uint8_t>(i), 7, 200}});
        }
        // A crowded fan, whose rays cover most pixels they cross: drawn from its end, nearly
        // every stretch of a walk is covered already.
        const Point foyer{x0 + u(0.3, 0.7) * cote, y0 + u(0.3, 0.7) * cote};
        for (int i = 0; i < 1500; ++i) {
            const Point a{x0 - 0.1 * cote, y0 + (i / 1500.0 - 0.1) * 1.2 * cote};
            const Point b{2 * foyer.x - a.x, 2 * foyer.y - a.y};
            traits.push_back({a, b, Pixel{static_cast<std::uint8_t>(i % 7), 90, 30}});
        }
        for (int bandes : {1, 3}) {
            Raster attendu(image.taille), obtenu(image.taille), couvert(image.taille);
            for (Raster* r : {&attendu, &obtenu, &couvert}) PeindreFond(image, *r);
            Couverture couverture(image.taille);
            for (int b = 0; b < bandes; ++b) {
                const int debut = image.taille * b / bandes, fin = image.taille * (b + 1) / bandes;
                Image va = image, vo = image, vc = image;
                va.Attacher(attendu, debut, fin);
                vo.Attacher(obtenu, debut, fin);
                vc.Attacher(couvert, debut, fin);
                vc.Couvrir(couverture);
                for (const Trait& t : traits) {
                    SegmentSimple(va, t.a, t.b, t.couleur);
                    TraceSegment(vo, t.a, t.b, t.couleur);
                }
                for (auto t = traits.rbegin(); t != traits.rend(); ++t) {
                    TraceSegment(vc, t->a, t->b, t->couleur);
                }
            }
            const auto octets = test::OctetsDuRaster(attendu);
            EXPECT_TRUE(test::OctetsDuRaster(obtenu) == octets) << bandes << " bands";
            EXPECT_TRUE(test::OctetsDuRaster(couvert) == octets) << bandes << " bands, covered";
        }
    }
}

}  // namespace
}  // namespace optic
