// optic --plots: the aberration plots as SVG files, checked like the SVG pictures (well-formed,
// drawable), with their dots where the thick-lens formulas put them on the plots' own axes.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "output/graphique.h"
#include "support/e2e.h"
#include "support/optique.h"

namespace optic::test {
namespace {

// One thick lens of N-BK7 at its three sampled lines, a parallel beam along its axis.
const std::string kBanc = kBK7 +
                          "L 0 0 6 60 -40 30 0 1\nS 3 486.1 587.6 656.3 -20 0 0 0 10 5\n"
                          "Z -30 -80 130 80 100 10\n";

// An axis of a plot as its graduation labels say: from page coordinate to value.
struct Axe {
    double p0 = 0, v0 = 0, p1 = 1, v1 = 1;
    double Page(double v) const { return p0 + (v - v0) / (v1 - v0) * (p1 - p0); }
};
// The numbers each match of the pattern captures, in order.
std::vector<std::vector<double>> Captures(const std::string& svg, const std::string& motif) {
    const std::regex e(motif);
    std::vector<std::vector<double>> lus;
    for (auto i = std::sregex_iterator(svg.begin(), svg.end(), e); i != std::sregex_iterator();
         ++i) {
        lus.emplace_back();
        for (std::size_t k = 1; k < i->size(); ++k) lus.back().push_back(std::stod((*i)[k]));
    }
    return lus;
}
Axe LireAxe(const std::string& svg, const std::string& classe) {
    const auto marques = Captures(  // x, y, value
        svg, "<text class=\"" + classe + "\" x=\"([-0-9.]+)\" y=\"([-0-9.]+)\"[^>]*>([-0-9.]+)<");
    EXPECT_GE(marques.size(), 3u) << classe;
    if (marques.size() < 2) return {};
    const int k = classe == "tick-x" ? 0 : 1;
    return {marques.front()[k], marques.front()[2], marques.back()[k], marques.back()[2]};
}
// The dots of a plot: x, y.
std::vector<std::vector<double>> Points(const std::string& svg) {
    return Captures(svg, "<circle class=\"mark\" cx=\"([-0-9.]+)\" cy=\"([-0-9.]+)\"");
}

TEST(Courbes, LesPointsOuLesFormulesLesMettent) {
    Dossier d(kBanc);
    const Execution sans = Lancer(d, {"bench.txt"});
    const Execution avec = Lancer(d, {"bench.txt", "--plots"});
    EXPECT_EQ(avec.Fin(), (Issue{0, sans.sortie, ""}));
    EXPECT_EQ(avec.fichiers.at("OpticZoomBox_0.bmp"), sans.fichiers.at("OpticZoomBox_0.bmp"));
    for (const char* nom : {"OpticRayFan_1.svg", "OpticSpherical_1.svg", "OpticFocalShift_1.svg"}) {
        SCOPED_TRACE(nom);
        ASSERT_EQ(avec.fichiers.count(nom), 1u);
        EXPECT_TRUE(Accepte("xmllint --noout", d.chemin() / nom));
        EXPECT_TRUE(Accepte("rsvg-convert", d.chemin() / nom)) << "rsvg-convert must draw it";
    }
    EXPECT_EQ(avec.fichiers.size(), 4u);
    // The chromatic focal shift: a dot per wavelength at (wavelength, bfd); the spherical
    // aberration: a dot per wavelength at the paraxial crossing on the axis.
    const double lambdas[] = {486.1, 587.6, 656.3};
    const std::string decalage = Texte(avec.fichiers.at("OpticFocalShift_1.svg"));
    const std::string spherique = Texte(avec.fichiers.at("OpticSpherical_1.svg"));
    const Axe dx = LireAxe(decalage, "tick-x"), dy = LireAxe(decalage, "tick-y");
    const Axe sx = LireAxe(spherique, "tick-x"), sy = LireAxe(spherique, "tick-y");
    const auto d_points = Points(decalage), s_points = Points(spherique);
    ASSERT_TRUE(d_points.size() == 3 && s_points.size() == 3);
    for (int k = 0; k < 3; ++k) {
        const double bfd = Epaisse(kIndicesBK7[k], 60, -40, 6).bfd;
        const double obtenus[] = {d_points[k][0], d_points[k][1], s_points[k][0], s_points[k][1]};
        const double attendus[] = {dx.Page(lambdas[k]), dy.Page(bfd), sx.Page(bfd), sy.Page(0)};
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(obtenus[i], attendus[i], 0.02) << k << " " << i;
    }
}

// A plot that cannot be written is reported like a picture, and the others are written.
TEST(Courbes, EcritureImpossible) {
    Dossier d(kBanc);
    fs::create_directory(d.chemin() / "OpticRayFan_1.svg");
    const Execution e = Lancer(d, {"bench.txt", "--plots"});
    EXPECT_EQ(e.Fin(),
              (Issue{255, "Error: Impossible d'ecrire le fichier OpticRayFan_1.svg \n", ""}));
    EXPECT_EQ(e.fichiers.count("OpticSpherical_1.svg"), 1u);
    EXPECT_EQ(e.fichiers.count("OpticFocalShift_1.svg"), 1u);
}

// Graduations hold the values, 1, 2 or 5 times a power of ten apart, 4 to 10 of them.
TEST(Courbes, Graduations) {
    // The values' range, then the graduations' first, last and step.
    const std::tuple<double, double, double, double, double> cas[] = {
        {0, 9.7, 0, 10, 2},         {32.59, 33.27, 32.4, 33.4, 0.2}, {-0.23, 0.23, -0.3, 0.3, 0.1},
        {460, 656.3, 450, 700, 50}, {5, 5, 4.4, 5.6, 0.2},           {0, 0, -1, 1, 0.5},
        {NAN, 1, 0, 1, 0.2},        {-1e-9, 3e-9, -1e-9, 3e-9, 1e-9}};
    for (const auto& [bas, haut, debut, fin, pas] : cas) {
        SCOPED_TRACE(testing::Message() << bas << " .. " << haut);
        const Graduation g = Graduer(bas, haut);
        EXPECT_NEAR(g.debut, debut, 1e-9 * pas);
        EXPECT_NEAR(g.fin, fin, 1e-9 * pas);
        EXPECT_NEAR(g.pas, pas, 1e-9 * pas);
        EXPECT_GE(g.Nombre(), 4);
        EXPECT_LE(g.Nombre(), 11);
    }
}

}  // namespace
}  // namespace optic::test
