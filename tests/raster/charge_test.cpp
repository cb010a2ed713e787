// The estimate of drawing work by bands of rows.
#include <gtest/gtest.h>

#include <cmath>

#include "raster/charge.h"
#include "raster/image.h"

namespace optic {
namespace {

// How the work is spread only decides where bands are cut, which never changes a byte (the
// parallel drawing tests) and whose speed the benchmark measures.  What must hold whatever
// the numbers: a segment whose rows are not a number, or an empty picture, adds no work.
TEST(Charge, RienPourLesNombresQuiNEnSontPas) {
    const Image image = ConstruireZoombox(0, 0, 100, 100, 100, 0).fenetre;
    const double nan = std::nan("");
    const struct {
        Point a, b;
        int taille;
    } cas[] = {{{0, nan}, {50, 10}, 100}, {{0, 10}, {50, nan}, 100}, {{0, 10}, {50, 10}, 0}};
    for (const auto& c : cas) {
        Charge charge(c.taille);
        charge.Ajouter(image, c.a, c.b, 1);
        charge.Cumuler();
        EXPECT_DOUBLE_EQ(charge.Travail(0, c.taille), 0)
            << c.a.y << " " << c.b.y << " " << c.taille;
    }
}

}  // namespace
}  // namespace optic
