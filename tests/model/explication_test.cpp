// Every reason the reader refuses or adjusts a line comes with its line number and an
// explanation naming the kind of line, the value by its name in the README, the value as
// written, and the rule it breaks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/explication.h"
#include "model/system.h"
#include "support/banc_texte.h"

namespace optic {
namespace {

struct Explique {
    int ligne;
    std::string explication;
    bool operator==(const Explique&) const = default;
};
void PrintTo(const Explique& e, std::ostream* os) {
    *os << e.ligne << ": " << e.explication;
}

std::vector<Explique> Explications(std::string texte) {
    RapportMemoire rapport;
    System_Physique s;
    test::LireTexte(s, std::move(texte), "b", rapport);
    std::vector<Explique> e;
    for (const RapportMemoire::Entree& m : rapport.Entrees()) {
        e.push_back({m.lieu.ligne, m.lieu.explication});
    }
    return e;
}

const std::string kVerre = "I 1.5 400 1.5 500 1.5 600\n";
const std::string kFormeL = "(L x y thickness radius1 radius2 diameter angle glass)";
const std::string kFormeS1 = "S count wavelength1 x y opening direction width rays";

TEST(Explication, ChaqueRaisonDeRefus) {
    const struct {
        std::string texte;
        std::vector<Explique> attendues;
    } cas[] = {
        // Diaphragms.
        {"D 1 2 3 4 5\n",
         {{1, "diaphragm: 5 values, 6 expected (D x y thickness inner outer angle)"}}},
        {"#\nD\t1 2 3 4 5 6\n",
         {{2,
           "diaphragm: 5 values, 6 expected (D x y thickness inner outer angle); values are "
           "separated by spaces, not tabs"}}},
        {"D 1 2 nan 4 5 6\n",
         {{1,
           "diaphragm: thickness \"nan\" is not a finite number; expected D x y thickness "
           "inner outer angle"}}},
        {"D 1 2 " + std::string(80, '3') + " 4 5 6\n",
         {{1,
           "diaphragm: 3 values, 6 expected (D x y thickness inner outer angle); a value of 79 "
           "characters or more ends the line"}}},
        // The space's index.
        {"E\n", {{1, "space index: no values, 1 expected (E index)"}}},
        {"E -1\n",
         {{1, "space index: index -1 is below 1e-10; the index must be positive, such as E 1.33"}}},
        {"E n=1.33\n",
         {{1,
           "space index: index \"n=1.33\" (not a number, reads 0) is below 1e-10; the index must "
           "be positive, such as E 1.33"}}},
        {"E 1e999\n",
         {{1, "space index: index \"1e999\" is not a finite number; expected E index"}}},
        // Glasses.
        {"I 1.5 400 1.5 500 1.5\n",
         {{1,
           "glass: 5 values, 6 expected (I index1 wavelength1 index2 wavelength2 index3 "
           "wavelength3)"}}},
        {"I 1.5 400 0 500 1.5 600\n",
         {{1,
           "glass: index2 0 is not positive; every index and wavelength must be greater than "
           "0"}}},
        {"I 1.5 400 1.5 five 1.5 600\n",
         {{1,
           "glass: wavelength2 \"five\" is not a number; expected I index1 wavelength1 index2 "
           "wavelength2 index3 wavelength3"}}},
        {"I 1.5 400 1.5 500 inf 600\n",
         {{1,
           "glass: index3 \"inf\" is not a finite number; expected I index1 wavelength1 index2 "
           "wavelength2 index3 wavelength3"}}},
        {"I 1.5 500 1.5 500 1.5 600\nI 1.5 400 1.5 500 1.5 500nm\n",
         {{1,
           "glass: wavelengths 500 and 500 are equal (wavelength1 and wavelength2); three "
           "different wavelengths are needed"},
          {2,
           "glass: wavelengths 500 and \"500nm\" (reads 500) are equal (wavelength2 and "
           "wavelength3); three different wavelengths are needed"}}},
        // Lenses.
        {"L 0 0 1 inf inf 4 0 1\n",
         {{1,
           "lens: no usable glass line comes before this lens line, so the run ends here; put "
           "a glass line (I index1 wavelength1 index2 wavelength2 index3 wavelength3) above "
           "the lenses"}}},
        {kVerre + "L 0 0 1 5 -5\n", {{2, "lens: 5 values, 8 expected " + kFormeL}}},
        {kVerre + "L 0 0 1 5 inf 10 0 1\n",
         {{2,
           "lens: diameter 10 is too large for radius1 5: it must be less than 2 x |radius1| = "
           "10"},
          {2,
           "lens: diameter 10 is too large for radius1 5: it must be less than 2 x |radius1| = "
           "10"}}},
        {kVerre + "L 0 0 1 inf -2.5mm 6 0 1\n",
         {{2,
           "lens: diameter 6 is too large for radius2 \"-2.5mm\" (reads -2.5): it must be less "
           "than 2 x |radius2| = 5"},
          {2,
           "lens: diameter 6 is too large for radius2 \"-2.5mm\" (reads -2.5): it must be less "
           "than 2 x |radius2| = 5"}}},
        {kVerre + "L\n",
         {{2,
           "lens: diameter (missing, reads 0) is too large for radius1 (missing, reads 0): it "
           "must be less than 2 x |radius1| = 0"},
          {2, "lens: no values, 8 expected " + kFormeL}}},
        {kVerre + "L 0 0 1 Inf -5 4 0 1\n",
         {{2,
           "lens: radius1 \"Inf\" is not a finite number; a flat face is written inf, exactly"}}},
        {kVerre + "L 0 0 nan 5 -5 4 0 1\n",
         {{2,
           "lens: thickness \"nan\" is not a finite number; expected L x y thickness radius1 "
           "radius2 diameter angle glass"}}},
        {kVerre + "L 0 0 1 5 -5 4 0 crown\n",
         {{2,
           "lens: glass \"crown\" (not a number, reads 0) names no glass; glasses are "
           "numbered 1, 2, ... in the order of the usable glass lines above"}}},
        {kVerre + "L 0 0 1 5 -5 4 0 0.9\n",
         {{2,
           "lens: glass \"0.9\" (reads 0) names no glass; glasses are numbered 1, 2, ... in "
           "the order of the usable glass lines above"}}},
        {kVerre + "L 0 0 1 5 -5 4 0 2\n",
         {{2, "lens: glass 2 names no glass: only 1 usable glass line comes before this line"}}},
        // "4O" reads 4, which makes a sound lens: nothing to say.
        {kVerre + "L 0 0 1 4O -5 4 0 1\n", {}},
        // Sources.
        {"S\n",
         {{1,
           "source: no values; expected S count wavelength1 ... wavelengthN x y "
           "opening direction width rays"}}},
        {"S 0 550 0 0 0 0 2 5\n",
         {{1, "source: count 0 gives no wavelengths; a source has 1 to 10 wavelengths"}}},
        {"S 11 550\n", {{1, "source: count 11 is above 10; a source has 1 to 10 wavelengths"}}},
        {"S -2\n", {{1, "source: count -2 is negative; a source has 1 to 10 wavelengths"}}},
        {"S 1 550 0 0 0 0 2\n", {{1, "source: 7 values, 8 expected (" + kFormeS1 + ")"}}},
        {"S 2 450 nan 0 0 0 0 2 5\n",
         {{1,
           "source: wavelength2 \"nan\" is not a finite number; expected S count wavelength1 "
           "wavelength2 x y opening direction width rays"}}},
        {"S 1 550 0 0 0 0 2 0.5\n",
         {{1,
           "source: rays \"0.5\" (reads 0) gives no rays; ask for 1 to 1000000 rays per "
           "wavelength"}}},
        {"S 1 550 0 0 0 0 2 1000001\n",
         {{1, "source: rays 1000001 is above 1000000, the most rays per wavelength"}}},
        // Zoomboxes.
        {"Z 0 0 10\n", {{1, "zoombox: 3 values, 6 expected (Z x1 y1 x2 y2 pixels grid)"}}},
        {"Z 0 0 10 10 nan 1\n",
         {{1,
           "zoombox: pixels \"nan\" is not a finite number; expected Z x1 y1 x2 y2 pixels "
           "grid"}}},
        {"Z 0 0 10 10 -20 1\n",
         {{1, "zoombox: pixels -20 is negative; a picture's side is 0 pixels or more"}}},
        {"Z 5 5 5 5 0 1\n",
         {{1,
           "zoombox: the window has no extent (x2 = x1 and y2 = y1) and pixels is 0, which "
           "gives no scale; give the window an extent"}}},
        {"Z 10 10 0 0 20 1\n",
         {{1,
           "zoombox: x2 < x1 and y2 < y1, so the window has no side; give the corners with "
           "x1 < x2 or y1 < y2"}}},
        {"Z 0 0 1 1 37838 0\n",
         {{1,
           "zoombox: the picture would be 37838 pixels wide, above 37837, the most a BMP file "
           "holds; ask for fewer pixels"}}},
        {"Z 0 0 1e-3 1e-3 1000 0\n",
         {{1,
           "zoombox: pixels 1000 over a window 0.001 wide is 1e+06 pixels per unit; capped at "
           "100000, the picture is 100 pixels wide"}}},
        // A long line's rest is a line of its own, with the same number.
        {"#\n" + std::string(499, '#') + "D 1 2\n",
         {{2,
           "diaphragm: 2 values, 6 expected (D x y thickness inner outer angle); this is the "
           "part of a line past its first 499 characters, read as a line of its own"}}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.texte.substr(0, 80));
        EXPECT_EQ(Explications(c.texte), c.attendues);
    }
}

// Whatever the line, each explanation is one line of plain printable text.
TEST(Explication, UneLigneDeTexteSimple) {
    std::string bruit = "I 1.5 400 1.5 500 1.5 600\n";
    for (int c = 1; c < 256; ++c) {
        if (c == '\n' || c == ' ') continue;
        const std::string v(1, static_cast<char>(c));
        bruit += "D 1 " + v + "x\nL 0 0 1 5 -5 4 0 " + v + "\nZ 0 0 1 1 " + v + "\n";
    }
    bruit += "E \xc3\xa9t\xc3\xa9 \xff\n";
    const std::vector<Explique> e = Explications(bruit);
    ASSERT_GT(e.size(), 500u);
    for (const Explique& x : e) {
        SCOPED_TRACE(x.explication);
        EXPECT_GT(x.ligne, 0);
        for (const char c : x.explication) {
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
        }
    }
    EXPECT_EQ(explication::Citer("\xc3\xa9t\xc3\xa9\t\"\xff"),
              "\"\xc3\xa9t\xc3\xa9\\x09\\\"\\xff\"");
}

}  // namespace
}  // namespace optic
