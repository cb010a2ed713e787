// A fill at a window's right edge.  At 2 pixels a unit from x = -5 the scan of a lens
// starting at x = 0.25 falls half a pixel before the edge of a 21-pixel picture, on the
// boundary of a column that is not there: it must not be painted (it would be the row's
// padding and the next row's first pixel).  The same scale and offset in a 64-pixel window
// paints the same pixels where the two overlap.
#include <gtest/gtest.h>

#include "support/bmp_lecture.h"
#include "support/e2e.h"

namespace optic::test {
namespace {

TEST(Remplissage, RienAuDelaDuBordDroit) {
    const Execution e = LancerDescription(
        "I 1.5 400 1.5 500 1.5 600\nL 0.25 0 40 inf inf 4 0 1\n"
        "Z -5 -5 5.5 5.5 21 0\nZ -5 -5 27 27 64 0\n");
    ASSERT_EQ(e.statut, 0);
    const std::vector<std::uint8_t>& petite = e.fichiers.at("OpticZoomBox_0.bmp");
    const std::vector<std::uint8_t>& grande = e.fichiers.at("OpticZoomBox_1.bmp");
    ASSERT_TRUE(Valide(petite) && Valide(grande));
    for (std::size_t p = 54 + 63; p < petite.size(); p += 64) EXPECT_EQ(petite[p], 0) << p;
    const Toile a = DepuisBMP(petite), b = DepuisBMP(grande);
    int peints = 0;
    for (int rang = 0; rang < 21; ++rang) {
        for (int colonne = 0; colonne < 21; ++colonne) {
            EXPECT_EQ(a(colonne, rang), b(colonne, rang)) << colonne << ", " << rang;
            peints += a(colonne, rang) != Rgb{};
        }
    }
    EXPECT_GT(peints, 40);  // the lens is there
}

}  // namespace
}  // namespace optic::test
