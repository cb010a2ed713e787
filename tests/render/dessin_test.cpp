#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/bmp_lecture.h"
#include "support/e2e.h"

namespace optic::test {
namespace {

// Colours as the pictures hold them.  A level of 256 gives the byte 255, and 650 nm gives
// 207, not 208: its red level computes to just under 208 and the byte drops the fraction.
constexpr Rgb kNoir{0, 0, 0};
constexpr Rgb kVerre{200, 200, 200};
constexpr Rgb kLame{100, 100, 100};
constexpr Rgb kContour{75, 75, 75};
constexpr Rgb k450{84, 0, 203};
constexpr Rgb k470{64, 0, 255};
constexpr Rgb k480{32, 64, 230};
constexpr Rgb k550{160, 255, 0};
constexpr Rgb k650{207, 0, 0};

std::string Texte(Rgb c) {
    char t[32];
    std::snprintf(t, sizeof t, "(%d, %d, %d)", c.r, c.g, c.b);
    return t;
}

std::string Nom(int image) {
    return "OpticZoomBox_" + std::to_string(image) + ".bmp";
}

struct Attendu {
    int image, colonne, rang;
    Rgb couleur;
};
struct Compte {
    int image;
    Rgb couleur;
    long nombre;
};
struct CasDessin {
    const char* nom;
    std::string banc;
    std::vector<Attendu> pixels;
    std::vector<Compte> comptes;
};

// Unless said otherwise the window is 0..10 both ways at 10 pixels a unit, without grid, so
// the world point (x, y) is the pixel (10 x, 10 y), rounded; coordinates sit clear of the
// half-pixel boundaries.
const std::string kZoom10 = "Z 0 0 10 10 100 0\n";
const std::string kVerreEtLentille = "I 1.5 400 1.5 500 1.5 600\nL 3 5 4 inf inf 4 0 1\n";
const std::string kDiaphragmeCentre = "D 5 5 1 1 4 0\n";  // blades x 4.5..5.5, y 1..4 and 6..9

const std::vector<CasDessin>& Cas() {
    static const std::vector<CasDessin> cas = {
        {"rayons ouverts jusqu'au bord",
         // +x from (2, 3.02); -x from (5, 6.02); +y from (7.02, 4.02); +x from left of the
         // window; two rays wholly above and below it; one from (2.07, 1.07), which rounds
         // to the pixel (21, 11), not (20, 10).
         "S 1 550 2 3.02 0 0 0 1\nS 1 650 5 6.02 0 180 0 1\nS 1 450 7.02 4.02 0 -90 0 1\n"
         "S 1 480 -5 8.52 0 0 0 1\nS 1 550 2 -3 0 0 0 1\nS 1 550 2 12 0 0 0 1\n"
         "S 1 470 2.07 1.07 0 0 0 1\n" +
             kZoom10,
         {{0, 19, 30, kNoir},
          {0, 20, 30, k550},
          {0, 99, 30, k550},
          {0, 60, 29, kNoir},
          {0, 60, 31, kNoir},
          {0, 0, 60, k650},
          {0, 50, 60, k650},
          {0, 51, 60, kNoir},
          {0, 70, 39, kNoir},
          {0, 70, 40, k450},
          {0, 70, 99, k450},
          {0, 69, 70, kNoir},
          {0, 0, 85, k480},
          {0, 99, 85, k480},
          {0, 70, 85, k480},  // the later ray wins
          {0, 20, 11, kNoir},
          {0, 21, 11, k470},
          {0, 21, 10, kNoir}},
         {{0, k550, 80}, {0, k650, 51}, {0, k450, 59}, {0, k480, 100}, {0, k470, 79}}},

        {"lentille remplie, contour, rayon par-dessus",
         // A lens of two plane faces: the square x 3..7, y 3..7; a ray along y = 5.02
         // crosses it at normal incidence.
         kVerreEtLentille + "S 1 550 1 5.02 0 0 0 1\n" + kZoom10,
         {{0, 40, 40, kVerre},
          {0, 31, 31, kVerre},
          {0, 69, 69, kVerre},
          {0, 50, 51, kVerre},
          {0, 30, 40, kContour},
          {0, 70, 40, kContour},
          {0, 50, 30, kContour},
          {0, 50, 70, kContour},
          {0, 29, 40, kNoir},
          {0, 71, 40, kNoir},
          {0, 50, 29, kNoir},
          {0, 50, 71, kNoir},
          {0, 9, 50, kNoir},
          {0, 10, 50, k550},
          {0, 30, 50, k550},
          {0, 50, 50, k550},
          {0, 99, 50, k550}},
         {{0, kVerre, 39 * 39 - 39}, {0, kContour, 4 * 40 - 2}, {0, k550, 90}}},

        {"rayon arrete sur une lame",
         // Blades x 5.5..6.5, y 1..4 and 6..9; one ray stops on the entrance face at x = 5.5,
         // the other passes through the opening.
         "D 6 5 1 1 4 0\nS 1 550 1 7.52 0 0 0 1\nS 1 650 1 5.02 0 0 0 1\n" + kZoom10,
         {{0, 10, 75, k550},
          {0, 55, 75, k550},
          {0, 56, 75, kLame},
          {0, 60, 75, kLame},
          {0, 65, 75, kContour},
          {0, 66, 75, kNoir},
          {0, 99, 75, kNoir},
          {0, 60, 60, kContour},
          {0, 60, 25, kLame},
          {0, 60, 45, kNoir},
          {0, 60, 95, kNoir},
          {0, 99, 50, k650}},
         {{0, k550, 46}, {0, k650, 90}}},

        {"diaphragme apres la lentille: les lames recouvrent le verre",
         kVerreEtLentille + kDiaphragmeCentre + kZoom10,
         {{0, 50, 65, kLame},
          {0, 50, 70, kLame},  // the lens's outline, filled over
          {0, 50, 30, kLame},
          {0, 50, 80, kLame},
          {0, 40, 65, kVerre},
          {0, 45, 65, kContour},
          {0, 50, 60, kContour},
          {0, 50, 50, kVerre},
          {0, 40, 70, kContour}},
         {}},

        {"lentille apres le diaphragme: le verre recouvre les lames",
         "I 1.5 400 1.5 500 1.5 600\n" + kDiaphragmeCentre + "L 3 5 4 inf inf 4 0 1\n" + kZoom10,
         {{0, 50, 65, kVerre},
          {0, 45, 65, kVerre},  // the blade's outline, filled over
          {0, 50, 60, kVerre},
          {0, 50, 70, kContour},
          {0, 50, 80, kLame},
          {0, 45, 80, kContour}},
         {}},

        {"deux zoombox sur le meme banc",
         // The second window is x -10..10, y 0..20 at 5 pixels a unit: (x, y) is the pixel
         // (5 x + 50, 5 y).
         kVerreEtLentille + "S 1 550 1 5.02 0 0 0 1\n" + kZoom10 + "Z -10 0 10 20 100 0\n",
         {{0, 40, 40, kVerre},
          {0, 30, 40, kContour},
          {0, 10, 50, k550},
          {1, 75, 20, kVerre},
          {1, 65, 20, kContour},
          {1, 85, 20, kContour},
          {1, 75, 15, kContour},
          {1, 64, 20, kNoir},
          {1, 54, 25, kNoir},
          {1, 55, 25, k550},
          {1, 75, 25, k550},
          {1, 99, 25, k550}},
         {{1, k550, 45}}},
    };
    return cas;
}

TEST(Dessin, PixelsDesBancsSimples) {
    for (const CasDessin& c : Cas()) {
        SCOPED_TRACE(c.nom);
        const Execution e = LancerDescription(c.banc);
        ASSERT_EQ(e.statut, 0);
        EXPECT_EQ(e.sortie, "");
        for (const Attendu& a : c.pixels) {
            SCOPED_TRACE("image " + std::to_string(a.image) + " colonne " +
                         std::to_string(a.colonne) + " rang " + std::to_string(a.rang));
            ASSERT_EQ(e.fichiers.count(Nom(a.image)), 1u);
            const Bmp bmp(e.fichiers.at(Nom(a.image)));
            EXPECT_EQ(Texte(bmp.Pixel(a.colonne, a.rang)), Texte(a.couleur));
        }
        for (const Compte& k : c.comptes) {
            SCOPED_TRACE("image " + std::to_string(k.image) + " couleur " + Texte(k.couleur));
            ASSERT_EQ(e.fichiers.count(Nom(k.image)), 1u);
            EXPECT_EQ(Bmp(e.fichiers.at(Nom(k.image))).Compter(k.couleur), k.nombre);
        }
    }
}

// Elements wholly outside the window, one beside each edge (a curved face among them whose
// circle crosses the window's side lines), leave the picture exactly as without them.  The
// ray passes through the opening of the diaphragm on the right.
TEST(Dessin, ElementsHorsFenetreNeChangentRien) {
    const std::string base =
        "I 1.5 400 1.5 500 1.5 600\nS 1 550 1 5.02 0 0 0 1\nZ 0 0 10 10 100 2\n";
    const Execution sans = LancerDescription(base);
    const Execution avec = LancerDescription(base +
                                             "L -8 5 4 inf inf 4 0 1\n"
                                             "L 5 12 4 20 -20 14 -90 1\n"
                                             "D 5 -6 1 1 4 90\n"
                                             "D 14 5 1 1 4 0\n");
    ASSERT_EQ(sans.statut, 0);
    ASSERT_EQ(avec.statut, 0);
    EXPECT_EQ(avec.sortie, "");
    ASSERT_EQ(sans.fichiers.count(Nom(0)), 1u);
    ASSERT_EQ(avec.fichiers.count(Nom(0)), 1u);
    EXPECT_EQ(Texte(Bmp(sans.fichiers.at(Nom(0))).Pixel(50, 50)), Texte(k550));
    EXPECT_EQ(Empreinte(avec.fichiers.at(Nom(0))), Empreinte(sans.fichiers.at(Nom(0))));
}

}  // namespace
}  // namespace optic::test
