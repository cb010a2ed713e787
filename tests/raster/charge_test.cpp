// The estimate of drawing work by bands of rows: where a segment's points fall, and how many
// segments each band walks.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "raster/charge.h"
#include "raster/image.h"

namespace optic {
namespace {

// A 100-pixel zoombox over 0..100 both ways: a unit a pixel, row r holding y in [r - 0.5,
// r + 0.5).  A segment crossing a band costs as much as 100 points.
TEST(Charge, TravailDesBandes) {
    const Image image = ConstruireZoombox(0, 0, 100, 100, 100, 0).fenetre;
    const double nan = std::nan("");
    const struct {
        const char* quoi;
        Point a, b;
        double poids;
        int debut, fin;
        double travail;
    } cas[] = {
        // 51 points along row 10.
        {"horizontal, its row", {0, 10}, {50, 10}, 1, 10, 11, 51 + 100},
        {"horizontal, the rows before", {0, 10}, {50, 10}, 1, 0, 10, 0},
        {"horizontal, the rows after", {0, 10}, {50, 10}, 1, 11, 100, 0},
        // 20 points, one a row, rows 20 to 39.
        {"vertical, its first half", {5, 20}, {5, 39}, 1, 20, 30, 10 + 100},
        {"vertical, across, drawn upwards", {5, 39}, {5, 20}, 1, 25, 35, 10 + 100},
        {"vertical, beside", {5, 20}, {5, 39}, 1, 40, 100, 0},
        // Counted for the rays it stands for.
        {"a sample of 8", {5, 20}, {5, 39}, 8, 0, 100, 8 * (20 + 100)},
        // Rows outside the picture: nothing, or only the part inside.
        {"below the picture", {0, -50}, {50, -60}, 1, 0, 100, 0},
        // Clipped to the window along its major axis: 11 points, rows 90 to 99.
        {"leaving the picture", {5, 90}, {5, 200}, 1, 90, 100, 11 + 100},
        // Rows that are not a number: no estimate.
        {"a first row not a number", {0, nan}, {50, 10}, 1, 0, 100, 0},
        // An empty picture holds no work, whatever it is given.
        {"an empty picture", {0, 10}, {50, 10}, 1, 0, 0, 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.quoi);
        Charge charge(c.fin == 0 ? 0 : image.taille);
        charge.Ajouter(image, c.a, c.b, c.poids);
        charge.Cumuler();
        EXPECT_DOUBLE_EQ(charge.Travail(c.debut, c.fin), c.travail);
    }
}

}  // namespace
}  // namespace optic
