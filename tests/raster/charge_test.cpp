// The estimate of drawing work by bands of rows.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

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
    const std::tuple<Point, Point, int> cas[] = {
        {{0, nan}, {50, 10}, 100}, {{0, 10}, {50, nan}, 100}, {{0, 10}, {50, 10}, 0}};
    for (const auto& [a, b, taille] : cas) {
        Charge charge(taille);
        charge.Ajouter(image, a, b, 1);
        charge.Cumuler();
        EXPECT_DOUBLE_EQ(charge.Travail(0, taille), 0) << a.y << " " << b.y << " " << taille;
    }
}

}  // namespace
}  // namespace optic
