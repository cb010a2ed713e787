#include "render/couleur.h"

#include <gtest/gtest.h>

#include "render/image.h"

namespace optic {
namespace {

struct CasCouleur {
    double lambda;
    double rouge, vert, bleu;
};

// Levels straight from the wavelength rule, including the ends of the ramps: a wrong row
// bound or slope shows here before it shows in a picture.
TEST(Couleur, NiveauxDuTableau) {
    const CasCouleur cas[] = {
        {450, 84, 0, 203.7},  {480, 32, 64, 230.4}, {550, 160, 256, 0},  {650, 208, 0, 0},
        {470, 64, 0, 256},    {460, 96, 0, 232.8},  {476, 44.8, 0, 256}, {490, 0, 224, 166.4},
        {500, 0, 256, 102.4}, {516, 51.2, 256, 0},  {580, 256, 144, 0},  {620, 256, 0, 0},
        {700, 128, 0, 0},     {380, 0, 0, 0},       {780, 0, 0, 0},      {379, 0, 0, 0},
        {781, 0, 0, 0},       {379.999, 0, 0, 0},   {780.001, 0, 0, 0},  {1e6, 0, 0, 0},
    };
    for (const CasCouleur& c : cas) {
        SCOPED_TRACE(c.lambda);
        const Niveaux n = Couleur(c.lambda);
        EXPECT_NEAR(n.rouge, c.rouge, 1e-9);
        EXPECT_NEAR(n.vert, c.vert, 1e-9);
        EXPECT_NEAR(n.bleu, c.bleu, 1e-9);
    }
}

// The blue ramp overshoots the saturated level just below g = 0.22 (468 nm), then drops to
// the flat 256; the byte of every saturated level is 255, never a wrapped-around value.
TEST(Couleur, PicDuBleuEtOctetsSatures) {
    EXPECT_NEAR(Couleur(468 - 1e-9).bleu, 256.08, 1e-6);
    EXPECT_DOUBLE_EQ(Couleur(468).bleu, 256.0);

    struct CasOctets {
        double lambda;
        int rouge, vert, bleu;
    };
    const CasOctets cas[] = {
        {468 - 1e-9, 70, 0, 255}, {470, 64, 0, 255},  {550, 160, 255, 0}, {600, 255, 63, 0},
        {450, 84, 0, 203},        {480, 32, 64, 230}, {650, 207, 0, 0},   {379, 0, 0, 0},
    };
    for (const CasOctets& c : cas) {
        SCOPED_TRACE(c.lambda);
        const Pixel p = EnPixel(Couleur(c.lambda));
        EXPECT_EQ(p.rouge, c.rouge);
        EXPECT_EQ(p.vert, c.vert);
        EXPECT_EQ(p.bleu, c.bleu);
    }
}

struct CasSortie {
    const char* nom;
    double x1, y1, x2, y2;  // the zoombox's corners
    Point position, direction;
    Point fin;
};

// Where an open ray's last leg is cut: the left or right edge when the crossing lies within
// the window's height, otherwise the top or bottom edge; for windows on both sides of y = 0.
TEST(SortieFenetre, BordAtteint) {
    const CasSortie cas[] = {
        {"vers +x", 0, 0, 10, 10, {2, 3}, {1, 0}, {10, 3}},
        {"vers -x", 0, 0, 10, 10, {2, 3}, {-1, 0}, {0, 3}},
        {"vers +x, y negatifs", -10, -20, 0, -10, {-5, -15}, {1, 0}, {0, -15}},
        {"vers -x, y negatifs", -10, -20, 0, -10, {-5, -15}, {-1, 0}, {-10, -15}},
        // The window is square: its side is 10, so it reaches y = -10, not the -15 given.
        {"vers +y, y negatifs", -10, -20, 0, -15, {-5, -15}, {0, 1}, {-5, -10}},
        {"vers +y", 0, 0, 10, 10, {2, 3}, {0, 1}, {2, 10}},
        {"vers -y", 0, 0, 10, 10, {2, 3}, {0, -1}, {2, 0}},
        {"presque vertical", 0, 0, 10, 10, {2, 3}, {1e-11, 1}, {2 + 7e-11, 10}},
        {"oblique vers la droite", 0, 0, 10, 10, {0, 0}, {2, 1}, {10, 5}},
        {"oblique vers la gauche", 0, 0, 10, 10, {10, 0}, {-1, 0.5}, {0, 5}},
        {"croise en dessous", 0, 0, 10, 10, {0, 5}, {1, 1}, {5, 10}},
        {"croise au dessus", 0, 0, 10, 10, {0, 5}, {1, -1}, {5, 0}},
        {"croise au dessus vers la gauche", 0, 0, 10, 10, {10, 5}, {-1, -1}, {5, 0}},
    };
    for (const CasSortie& c : cas) {
        SCOPED_TRACE(c.nom);
        const Zoombox z = ConstruireZoombox(c.x1, c.y1, c.x2, c.y2, 100, 0);
        ASSERT_TRUE(z.utilisable);
        const Point p = SortieFenetre(c.position, c.direction, z.image);
        EXPECT_NEAR(p.x, c.fin.x, 1e-12);
        EXPECT_NEAR(p.y, c.fin.y, 1e-12);
    }
}

}  // namespace
}  // namespace optic
