// The options that change where pictures go and what they are, and the explanations on
// standard error: none of them changes the messages on standard output, and the BMP pictures
// stay byte for byte what they were.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "support/bmp_lecture.h"
#include "support/e2e.h"
#include "support/png_lecture.h"

namespace optic::test {
namespace {

// Rays of three colours that keep apart: a blue ray through a lens, stopped by a blade; a
// green fan through the lens and on out of the window; a red ray that comes in across the
// window's corner.  The window starts off the origin and has a grid.
const std::string kBanc =
    "I 1.5168 486.1 1.5168 587.6 1.5168 656.3\n"
    "L 20 0 4 30 -30 16 0 1\n"
    "D 45 0 1 3 12 0\n"
    "S 1 450 0 -6 0 0 0 1\n"
    "S 1 550 0 2 12 0 0 5\n"
    "S 1 650 -10 36 0 50 0 1\n"
    "Z -2 -20 58 40 240 10\n";

// Every option gives the messages of a run without options, and the same BMP pictures.  With
// --verbose, each message about a line is followed on standard error by where and why, in the
// form compilers use; without it (and without a terminal) standard error stays silent.
TEST(Options, MessagesEtImagesBmpInchangees) {
    const std::string description = LireSource("default_optic.txt") +
                                    "D 1 2 3\nI 1.5 500 1.5 500 1.5 600\nZ 0 0 10\nZ 0 0 1 1 0 0\n";
    const Execution sans = LancerDescription(description);
    ASSERT_EQ(sans.statut, 0);
    ASSERT_EQ(sans.fichiers.size(), 3u);
    EXPECT_EQ(sans.erreurs, "");
    const std::string pourquoi =
        "bench.txt:43: diaphragm: 3 values, 6 expected (D x y thickness inner outer angle)\n"
        "bench.txt:44: glass: wavelengths 500 and 500 are equal (wavelength1 and "
        "wavelength2); three different wavelengths are needed\n"
        "bench.txt:45: zoombox: 3 values, 6 expected (Z x1 y1 x2 y2 pixels grid)\n";
    // The arguments, where the pictures land, whether they are BMP pictures.
    const std::tuple<std::vector<std::string>, std::string, bool> cas[] = {
        {{"--verbose", "bench.txt", "--format=bmp"}, "", true},
        {{"--format", "bmp", "bench.txt", "--output-dir=sortie"}, "sortie", true},
        {{"--output-dir", "sortie/", "bench.txt"}, "sortie", true},
        {{"bench.txt", "--format=svg"}, "", false},
    };
    for (const auto& [arguments, dossier, bmp] : cas) {
        SCOPED_TRACE(arguments[0]);
        Dossier d(description);
        fs::create_directory(d.chemin() / "sortie");
        const Execution e = Lancer(d, arguments);
        EXPECT_EQ(e.Fin(), (Issue{0, sans.sortie, arguments[0] == "--verbose" ? pourquoi : ""}));
        for (const auto& [nom, octets] : sans.fichiers) {
            const fs::path p = d.chemin() / dossier / nom;
            EXPECT_TRUE(!bmp || Lire(p) == Texte(octets)) << p;
        }
    }
}

// A PNG picture holds exactly the BMP picture's pixels, as 8-bit RGB; a picture of side 0,
// which a PNG cannot hold, is a failed write.
TEST(Png, LesPixelsDuBmp) {
    Dossier d(kBanc + "Z 0 0 11 11 11 3\n" + "Z 0 0 10 10 0 1\n");
    const Execution bmp = Lancer(d, {"bench.txt"});
    const Execution png = Lancer(d, {"--format=png", "-v", "bench.txt"});
    EXPECT_EQ(png.Fin(),
              (Issue{255, "Error: Impossible d'ecrire le fichier OpticZoomBox_2.png \n",
                     "optic: OpticZoomBox_2.png: a PNG picture cannot be empty and "
                     "this zoombox is 0 pixels wide; write it with --format=bmp or svg\n"}));
    EXPECT_EQ(png.fichiers.count("OpticZoomBox_2.png"), 0u);
    for (const std::string n : {"OpticZoomBox_0", "OpticZoomBox_1"}) {
        bool rgb8 = false;
        const Toile lue = DepuisPNG(png.fichiers.at(n + ".png"), &rgb8);
        EXPECT_TRUE(rgb8 && lue.cote > 0) << n;
        EXPECT_TRUE(lue.pixels == DepuisBMP(bmp.fichiers.at(n + ".bmp")).pixels) << n;
    }
}

// The share of colour k in pixel c, once each has its grey taken away, if c is of k's hue
// (which a ray keeps wherever it is drawn partly over a grey background), otherwise 0.
double Part(Rgb c, Rgb k) {
    const auto chroma = [](Rgb x) {
        const int m = std::min({x.r, x.g, x.b});
        return std::array<double, 3>{double(x.r - m), double(x.g - m), double(x.b - m)};
    };
    const auto a = chroma(c), b = chroma(k);
    const double n = std::hypot(a[0], a[1], a[2]), nk = std::hypot(b[0], b[1], b[2]);
    if (n == 0 || nk == 0) return 0;
    return (a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) / (n * nk) > 0.98 ? n / nk : 0;
}

// Drawn at the picture's size, the SVG puts each ray's colour within a pixel of where the BMP
// has it, and nowhere else; it is well-formed XML with the window as its view box.
TEST(Svg, LesRayonsOuLeBmpLesA) {
    Dossier d(kBanc);
    const Execution bmp = Lancer(d, {"bench.txt"});
    const Execution svg = Lancer(d, {"bench.txt", "--format=svg"});
    ASSERT_EQ(svg.statut, 0);
    const std::string texte = Texte(svg.fichiers.at("OpticZoomBox_0.svg"));
    EXPECT_NE(texte.find("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"240\" "
                         "height=\"240\" viewBox=\"-2 -20 60 60\""),
              std::string::npos);
    const fs::path fichier = d.chemin() / "OpticZoomBox_0.svg", rendu = d.chemin() / "rendu.png";
    ASSERT_TRUE(Accepte("xmllint --noout", fichier)) << "xmllint (libxml2-utils) must accept it";
    ASSERT_TRUE(Accepte("rsvg-convert -w 240 -h 240 -o " + Guillemets(rendu.string()), fichier))
        << "rsvg-convert (Debian: librsvg2-bin) must be installed and draw the picture";
    const Toile s = DepuisPNG(Octets(Lire(rendu)));
    const Toile b = DepuisBMP(bmp.fichiers.at("OpticZoomBox_0.bmp"));
    ASSERT_TRUE(s.cote == 240 && b.cote == 240);

    const Rgb rayons[] = {{84, 0, 203}, {160, 255, 0}, {207, 0, 0}};
    auto voisins = [](const Toile& t, int x, int y, auto&& test) {
        for (int j = std::max(y - 1, 0); j <= std::min(y + 1, t.cote - 1); ++j) {
            for (int i = std::max(x - 1, 0); i <= std::min(x + 1, t.cote - 1); ++i) {
                if (test(t(i, j))) return true;
            }
        }
        return false;
    };
    int vus = 0;
    for (const Rgb k : rayons) {
        SCOPED_TRACE(testing::PrintToString(k));
        for (int y = 0; y < 240; ++y) {
            for (int x = 0; x < 240; ++x) {
                // Each BMP ray pixel away from other rays has this ray's colour close by...
                const bool seul = !voisins(b, x, y, [&](Rgb c) {
                    return c != k && (c == rayons[0] || c == rayons[1] || c == rayons[2]);
                });
                if (b(x, y) == k && seul) {
                    ++vus;
                    EXPECT_TRUE(voisins(s, x, y, [&](Rgb c) { return Part(c, k) > 0.3; }))
                        << "BMP ray at " << x << ", " << y;
                }
                // ... and each strong ray pixel of the SVG lies by a BMP pixel of that ray.
                if (Part(s(x, y), k) > 0.6) {
                    EXPECT_TRUE(voisins(b, x, y, [&](Rgb c) { return c == k; }))
                        << "SVG ray at " << x << ", " << y;
                }
            }
        }
    }
    EXPECT_GT(vus, 300);
}

// A ray within a fifth of a pixel of the ray written before it is drawn as that one, not
// again: 21 rays from one point, whose ends in a 240-pixel picture lie 0.3 or 0.1 pixel apart.
TEST(Svg, RayonsConfondusAUnCinquiemeDePixel) {
    for (const std::string ouverture : {"1.5", "0.5"}) {  // degrees: all drawn, or fewer than 15
        const Execution svg = LancerDescription(
            "S 1 550 0 2 " + ouverture + " 0 0 21\nZ -2 -20 58 40 240 0\n", {"--format=svg"});
        const std::string texte = Texte(svg.fichiers.at("OpticZoomBox_0.svg"));
        const auto traits = std::count(texte.begin(), texte.end(), 'M');
        EXPECT_TRUE(ouverture == "1.5" ? traits == 21 : traits < 15) << ouverture << ": " << traits;
    }
}

// A directory that is missing or cannot be written to gives the write-failure message for
// each picture and status 255, and the reason on standard error; nothing is written or made.
// (Pictures going into a directory that is there: the options' test above.)
TEST(DossierDeSortie, AbsentOuInterdit) {
    // Root may write in any directory whatever its mode; not in /proc.
    const bool root = ::geteuid() == 0;
    // The directory, how it is made, the reason given with -v.
    const std::tuple<std::string, std::string, std::string> cas[] = {
        {"absent", "", "No such file or directory (--output-dir must name an existing directory)"},
        {"bench.txt", "", "Not a directory (--output-dir must name an existing directory)"},
        {root ? "/proc" : "lecture", "mkdir -m 555 lecture", root ? "" : "Permission denied"},
    };
    for (const auto& [dossier, preparation, raison] : cas) {
        SCOPED_TRACE(dossier);
        Dossier d("Z 0 0 10 10 20 1\nZ 0 0 5 5 10 1\n");
        const Execution e = Lancer(d, {"-v", "--output-dir=" + dossier, "bench.txt"}, preparation);
        EXPECT_TRUE(e.fichiers.empty());  // nothing in the working directory
        EXPECT_EQ(e.statut, 255);
        const std::string p = dossier + "/OpticZoomBox_", e0 = p + "0.bmp", e1 = p + "1.bmp";
        EXPECT_EQ(e.sortie, "Error: Impossible d'ecrire le fichier " + e0 + " \n" +
                                "Error: Impossible d'ecrire le fichier " + e1 + " \n");
        if (!raison.empty()) {
            EXPECT_EQ(e.erreurs,
                      "optic: " + e0 + ": " + raison + "\noptic: " + e1 + ": " + raison + "\n");
        }
        std::error_code ignore;
        EXPECT_FALSE(fs::exists(d.chemin() / "absent", ignore));
        EXPECT_TRUE(root || dossier != "lecture" || fs::is_empty(d.chemin() / "lecture"));
    }
}

// The report lists the pictures as they were written: their format and their directory.
TEST(DossierDeSortie, LeCompteRenduNommeLesImagesEcrites) {
    Dossier d("Z 0 0 10 10 20 1\nZ 0 0 10 10 0 1\n");
    const Execution e = Lancer(
        d, {"--report=json", "--format=png", "--output-dir=images", "bench.txt"}, "mkdir images");
    EXPECT_EQ(e.statut, 255);  // the empty picture cannot be a PNG
    EXPECT_NE(e.sortie.find("\"pictures\": [\n    \"images/OpticZoomBox_0.png\"\n  ]"),
              std::string::npos)
        << e.sortie;
}

}  // namespace
}  // namespace optic::test
