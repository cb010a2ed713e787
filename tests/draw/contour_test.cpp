// A surface's outline: the arc drawn between its ends, clipped to the window.
#include <gtest/gtest.h>

#include <set>

#include "draw/contour.h"
#include "elements/lentille.h"
#include "raster/image.h"
#include "raster/raster.h"

namespace optic {
namespace {

// The biconvex lens's back face (centre (-8, 0)) lies around the angle 0 seen from its centre:
// its outline runs from end to end (y = -2 to 2) through its vertex (2, 0), with no gap and
// not round the rest of its circle, which also crosses the window.  Window -5..5 at 20 pixels
// a unit: (x, y) is the pixel (20 x + 100, 20 y + 100).
TEST(Contour, ArcAutourDeLAngleZeroTraceEntreSesBouts) {
    const Lentille l(Point{0, 0}, 2, kFaceSpherique, 10, kFaceSpherique, -10, 4, 0, nullptr);
    Zoombox z = ConstruireZoombox(-5, -5, 5, 5, 200, 0);
    Image image(z.fenetre);
    Raster raster(image.taille);
    PeindreFond(image, raster);
    image.Attacher(raster);
    Dessin(l.dioptres[1], image);
    std::set<int> rangs;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (raster.Ligne(y)[3 * x] != 75) continue;
            EXPECT_TRUE(y >= 60 && y <= 140 && x >= 135 && x <= 140) << x << ", " << y;
            rangs.insert(y);
        }
    }
    EXPECT_EQ(rangs.size(), 81u);
}

}  // namespace
}  // namespace optic
