// Every reason the reader refuses or adjusts a line comes with its line number and an
// explanation naming the kind of line, the value by its name in the README, the value as
// written, and the rule it breaks.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "model/explication.h"
#include "model/system.h"
#include "support/banc_texte.h"

namespace optic {
namespace {

using test::kVerre;

// Each message's line and explanation.
using Explique = std::pair<int, std::string>;
std::vector<Explique> Explications(std::string texte) {
    RapportMemoire rapport;
    System_Physique s;
    test::LireTexte(s, std::move(texte), "b", rapport);
    std::vector<Explique> e;
    for (const RapportMemoire::Entree& m : rapport.Entrees())
        e.emplace_back(m.lieu.ligne, m.lieu.explication);
    return e;
}

// The sentences the README shows, whole: users read them there.
TEST(Explication, LesPhrasesDocumentees) {
    const std::tuple<std::string, int, std::string> cas[] = {
        {"D\t1 2 3 4 5 6\n", 1,
         "diaphragm: 5 values, 6 expected (D x y thickness inner outer angle); values are "
         "separated by spaces, not tabs"},
        {"E n=1.33\n", 1,
         "space index: index \"n=1.33\" (not a number, reads 0) is below 1e-10; the index "
         "must be positive, such as E 1.33"},
        {"I 1.5 500 1.5 500 1.5 600\n", 1,
         "glass: wavelengths 500 and 500 are equal (wavelength1 and wavelength2); three "
         "different wavelengths are needed"},
        {kVerre + "L 0 0 1 Inf -5 4 0 1\n", 2,
         "lens: radius1 \"Inf\" is not a finite number; a flat face is written inf, exactly"},
        {kVerre + "L 0 0 1 5 -5 4 0 2\n", 2,
         "lens: glass 2 names no glass: only 1 usable glass line comes before this line"},
        {"S 1 550 0 0 0 0 2 0.5\n", 1,
         "source: rays \"0.5\" (reads 0) gives no rays; ask for 1 to 1000000 rays per "
         "wavelength"},
        {"Z 0 0 10\n", 1, "zoombox: 3 values, 6 expected (Z x1 y1 x2 y2 pixels grid)"},
        {"Z 10 10 0 0 20 1\n", 1,
         "zoombox: x2 < x1 and y2 < y1, so the window has no side; give the corners with "
         "x1 < x2 or y1 < y2"},
    };
    for (const auto& [texte, ligne, explication] : cas) {
        SCOPED_TRACE(texte);
        EXPECT_EQ(Explications(texte), (std::vector<Explique>{{ligne, explication}}));
    }
}

// Every other reason: the line it is on, the kind of line, the value by its name and as
// written, and the rule it breaks, each found in the explanation.
TEST(Explication, ChaqueRaisonDeRefus) {
    const struct {
        std::string texte;
        int ligne;
        std::string morceau, autre = {};  // pieces of the explanation
    } cas[] = {
        {"D 1 2 " + std::string(80, '3') + " 4 5 6\n", 1, "a value of 79 characters or more"},
        {"E\n", 1, "space index: no values, 1 expected (E index)"},
        {"E -1\n", 1, "index -1 is below 1e-10"},
        {"E 1e999\n", 1, "index \"1e999\" is not a finite number"},
        {"I 1.5 400 1.5 500 1.5\n", 1, "glass: 5 values, 6 expected (I index1 wavelength1"},
        {"I 1.5 400 0 500 1.5 600\n", 1, "glass: index2 0 is not positive"},
        {"I 1.5 400 1.5 five 1.5 600\n", 1, "wavelength2 \"five\" is not a number"},
        {"I 1.5 400 1.5 500 1.5 500nm\n", 1, "\"500nm\" (reads 500) are equal",
         "wavelength2 and wavelength3"},
        {"L 0 0 1 inf inf 4 0 1\n", 1, "lens: no usable glass line comes before",
         "put a glass line"},
        {kVerre + "L 0 0 1 5 -5\n", 2, "lens: 5 values, 8 expected (L x y thickness radius1"},
        {kVerre + "L 0 0 1 inf -2.5mm 6 0 1\n", 2, "radius2 \"-2.5mm\" (reads -2.5)",
         "2 x |radius2| = 5"},
        {kVerre + "L 0 0 1 5 -5 4 0 crown\n", 2,
         "glass \"crown\" (not a number, reads 0) names no glass"},
        {"S\n", 1, "source: no values; expected S count wavelength1 ... wavelengthN"},
        {"S 0 550 0 0 0 0 2 5\n", 1, "count 0 gives no wavelengths"},
        {"S 11 550\n", 1, "count 11 is above 10"},
        {"S 1 550 0 0 0 0 2\n", 1, "source: 7 values, 8 expected (S count wavelength1 x y"},
        {"S 2 450 nan 0 0 0 0 2 5\n", 1, "wavelength2 \"nan\" is not a finite number",
         "wavelength1 wavelength2 x y"},
        {"S 1 550 0 0 0 0 2 1000001\n", 1, "rays 1000001 is above 1000000"},
        {"Z 0 0 10 10 nan 1\n", 1, "zoombox: pixels \"nan\" is not a finite number"},
        {"Z 0 0 10 10 -20 1\n", 1, "pixels -20 is negative"},
        {"Z 5 5 5 5 0 1\n", 1, "x2 = x1 and y2 = y1", "pixels is 0"},
        {"Z 0 0 1 1 37838 0\n", 1, "37838 pixels wide, above 37837"},
        {"Z 0 0 1e-3 1e-3 1000 0\n", 1, "1e+06 pixels per unit; capped at 100000",
         "100 pixels wide"},
        // A long line's rest is a line of its own, with the same number.
        {"#\n" + std::string(499, '#') + "D 1 2\n", 2, "2 values", "past its first 499 characters"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.texte.substr(0, 80));
        const std::vector<Explique> e = Explications(c.texte);
        ASSERT_FALSE(e.empty());
        EXPECT_EQ(e[0].first, c.ligne);
        for (const std::string& m : {c.morceau, c.autre})
            EXPECT_NE(e[0].second.find(m), std::string::npos) << m;
    }
    // A lens too wide for its face is said twice (error and warning); one missing every value
    // gets the diameter error first; "4O" reads 4, which makes a sound lens.
    EXPECT_EQ(Explications(kVerre + "L 0 0 1 5 inf 10 0 1\n").size(), 2u);
    const std::vector<Explique> vide = Explications(kVerre + "L\n");
    ASSERT_EQ(vide.size(), 2u);
    EXPECT_NE(vide[0].second.find("diameter (missing, reads 0)"), std::string::npos);
    EXPECT_EQ(vide[1].second,
              "lens: no values, 8 expected (L x y thickness radius1 radius2 diameter angle glass)");
    EXPECT_TRUE(Explications(kVerre + "L 0 0 1 4O -5 4 0 1\n").empty());
}

// Whatever the line, each explanation is one line of plain printable text.
TEST(Explication, UneLigneDeTexteSimple) {
    std::string bruit = kVerre;
    for (int c = 1; c < 256; ++c) {
        if (c == '\n' || c == ' ') continue;
        const std::string v(1, static_cast<char>(c));
        bruit += "D 1 " + v + "x\nL 0 0 1 5 -5 4 0 " + v + "\nZ 0 0 1 1 " + v + "\n";
    }
    bruit += "E \xc3\xa9t\xc3\xa9 \xff\n";
    const std::vector<Explique> e = Explications(bruit);
    ASSERT_GT(e.size(), 500u);
    for (const Explique& x : e) {
        SCOPED_TRACE(x.second);
        EXPECT_GT(x.first, 0);
        for (const char c : x.second) {
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
        }
    }
    EXPECT_EQ(explication::Citer("\xc3\xa9t\xc3\xa9\t\"\xff"),
              "\"\xc3\xa9t\xc3\xa9\\x09\\\"\\xff\"");
}

}  // namespace
}  // namespace optic
