#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "elements/dioptre.h"
#include "elements/lentille.h"
#include "model/constantes.h"
#include "model/indice.h"
#include "render/image.h"
#include "render/raster.h"

namespace optic {
namespace {

struct CasFace {
    const char* nom;
    int face;                      // slot in the lens's surfaces
    int colonne_sommet;            // the vertex, on row 100
    int colonne_min, colonne_max;  // where the whole arc lies
    int colonne_bout;              // the arc's ends, on rows 60 and 140
};

// The biconvex lens at (0, 0), thickness 2, radii 10 and -10, aperture 4, in the window
// -5..5 at 20 pixels a unit: (x, y) is the pixel (20 x + 100, 20 y + 100).  The back face's
// arc wraps around the angle 0 seen from its centre (-8, 0): it must be drawn through its
// vertex (2, 0), between its ends at y = -2 and y = 2 (x = 1.798), and not along the rest of
// its circle, which also runs through the window (through (1.55, 2.96), say).
TEST(DioptreDessin, ArcDrawnBetweenItsEndsThroughTheVertex) {
    IndiceRefraction verre;
    const Lentille lentille(Point{0, 0}, 2, kFaceSpherique, 10, kFaceSpherique, -10, 4, 0, &verre);
    const CasFace cas[] = {
        {"face avant", 0, 100, 100, 105, 104},
        {"face arriere", 1, 140, 135, 140, 136},
    };
    for (const CasFace& c : cas) {
        SCOPED_TRACE(c.nom);
        Zoombox z = ConstruireZoombox(-5, -5, 5, 5, 200, 0);
        ASSERT_TRUE(z.utilisable);
        ASSERT_EQ(z.image.taille, 200);
        Raster raster(z.image.taille);
        PeindreFond(z.image, raster);
        z.image.Attacher(raster);
        lentille.dioptres[static_cast<std::size_t>(c.face)].Dessin(z.image);

        auto contour = [&](int colonne, int rang) {
            const std::uint8_t* p = raster.Ligne(rang) + 3 * colonne;
            return p[0] == 75 && p[1] == 75 && p[2] == 75;
        };
        EXPECT_TRUE(contour(c.colonne_sommet, 100));
        EXPECT_TRUE(contour(c.colonne_bout, 60));
        EXPECT_TRUE(contour(c.colonne_bout, 140));
        for (int rang = 0; rang < 200; ++rang) {
            int dans_la_bande = 0;
            for (int colonne = 0; colonne < 200; ++colonne) {
                if (!contour(colonne, rang)) continue;
                const bool attendu = rang >= 60 && rang <= 140 && colonne >= c.colonne_min &&
                                     colonne <= c.colonne_max;
                EXPECT_TRUE(attendu)
                    << "stray outline pixel at column " << colonne << ", row " << rang;
                dans_la_bande += attendu;
            }
            // No gap along the arc: every row between its ends has a pixel of it.
            if (rang >= 60 && rang <= 140) {
                EXPECT_GT(dans_la_bande, 0) << "row " << rang;
            }
        }
    }
}

struct CasBosse {
    const char* nom;
    Point sommet;
    double angle;  // of the axis, pointing away from the window's edge
};

// An arc that bulges into the window from one edge, crossing that edge twice, with both ends
// outside: its only points are the two crossings, one found from each end of the edge.  So
// each of the eight casts is needed once over these four cases.  Window 0..10 at 10 pixels a
// unit; radius 5, half aperture 4: the crossings lie 3 units either side of the vertex.
TEST(DioptreDessin, ArcEntrantParUnBordTrouveSesDeuxCroisements) {
    const CasBosse cas[] = {
        {"bord droit", {9, 5}, 0},
        {"bord gauche", {1, 5}, kPi},
        {"bord du haut", {5, 1}, -kDemiPi},
        {"bord du bas", {5, 9}, kDemiPi},
    };
    for (const CasBosse& c : cas) {
        SCOPED_TRACE(c.nom);
        Dioptre d;
        d.sommet = c.sommet;
        d.Orienter(c.angle);
        d.centre = Point{5, 0};
        d.rayon_carre = 25;
        d.courbure = 1;
        d.demi_ouverture = 4;

        Zoombox z = ConstruireZoombox(0, 0, 10, 10, 100, 0);
        ASSERT_TRUE(z.utilisable);
        Raster raster(z.image.taille);
        PeindreFond(z.image, raster);
        z.image.Attacher(raster);
        d.Dessin(z.image);

        long contour = 0;
        for (int rang = 0; rang < 100; ++rang) {
            for (int colonne = 0; colonne < 100; ++colonne) {
                const std::uint8_t* p = raster.Ligne(rang) + 3 * colonne;
                contour += p[0] == 75 && p[1] == 75 && p[2] == 75;
            }
        }
        const std::uint8_t* sommet =
            raster.Ligne(static_cast<int>(10 * c.sommet.y)) + 3 * static_cast<int>(10 * c.sommet.x);
        EXPECT_EQ(sommet[0], 75);
        // The visible arc runs about 60 pixels along the edge (less a few at the edge itself).
        EXPECT_GE(contour, 50);
        EXPECT_LE(contour, 80);
    }
}

}  // namespace
}  // namespace optic
