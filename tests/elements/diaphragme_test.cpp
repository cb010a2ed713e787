#include <gtest/gtest.h>

#include "elements/diaphragme.h"

namespace optic {
namespace {

// Centre (0, 0), thickness 2, opening radius 1, outer radius 3: slot by slot.
TEST(Diaphragme, HuitPlansOpaquesDansLOrdreDesPlaces) {
    const struct {
        Point sommet, axe;
    } attendu[] = {{{-1, 2}, {1, 0}}, {{-1, -2}, {1, 0}}, {{1, 2}, {-1, 0}}, {{1, -2}, {-1, 0}},
                   {{0, 1}, {0, -1}}, {{0, -1}, {0, 1}},  {{0, 3}, {0, 1}},  {{0, -3}, {0, -1}}};
    const Diaphragme d({0, 0}, 2, 1, 3, 0);
    EXPECT_EQ(d.indice, nullptr);
    ASSERT_EQ(d.dioptres.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        const Dioptre& s = d.dioptres[i];
        EXPECT_NEAR(s.sommet.x, attendu[i].sommet.x, 1e-12) << i;
        EXPECT_NEAR(s.sommet.y, attendu[i].sommet.y, 1e-12) << i;
        EXPECT_NEAR(s.cosinus, attendu[i].axe.x, 1e-9) << i;
        EXPECT_NEAR(s.sinus, attendu[i].axe.y, 1e-9) << i;
        EXPECT_EQ(s.demi_ouverture, 1) << i;
        EXPECT_EQ(s.courbure, 0) << i;
        EXPECT_EQ(s.transparent, 0) << i;
    }
}

// Slots 0 and 2 together hold the positive blade, slots 1 and 3 the negative one; turned by
// a quarter, the blades lie along the x axis, the positive one from x = 1 to x = 3.
TEST(Diaphragme, LesPairesDeFacesDelimitentLesLames) {
    const struct {
        double angle;
        Point p;
        bool positive, negative;
    } cas[] = {
        {0, {0, 2}, true, false},
        {0, {0, -2}, false, true},
        {0, {0, 0}, false, false},
        {0, {-1, 1}, true, false},  // corner
        {0, {0.99, 2.99}, true, false},
        {0, {1.01, 2}, false, false},
        {0, {0, 3.01}, false, false},
        {kDemiPi, {2, 0}, true, false},
        {kDemiPi, {2.9, -0.9}, true, false},
        {kDemiPi, {-2, 0.5}, false, true},
        {kDemiPi, {0, 2}, false, false},
        {kDemiPi, {2, 1.5}, false, false},
        {kDemiPi, {3.5, 0}, false, false},
    };
    for (const auto& c : cas) {
        const Diaphragme d({0, 0}, 2, 1, 3, c.angle);
        const auto& s = d.dioptres;
        EXPECT_EQ(s[0].Interrieur(c.p) && s[2].Interrieur(c.p), c.positive) << c.p.x << c.p.y;
        EXPECT_EQ(s[1].Interrieur(c.p) && s[3].Interrieur(c.p), c.negative) << c.p.x << c.p.y;
    }
}

}  // namespace
}  // namespace optic
