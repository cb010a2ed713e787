// What the tests of measures share: the glasses, a bench read, traced and measured, and the
// first-order optics of thick lenses (textbook formulas and ray-transfer matrices) written
// out here rather than taken from the program.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <sstream>
#include <string>

#include "measure/mesurer.h"
#include "measure/mesures.h"
#include "model/system.h"
#include "output/compte_rendu.h"
#include "support/banc_texte.h"
#include "trace/rayons.h"

namespace optic::test {

// Schott's Sellmeier coefficients of N-BK7 and N-SF5 evaluated at the F (486.1327 nm),
// d (587.5618 nm) and C (656.2725 nm) lines, rounded to 1e-5: N-BK7 n_d 1.51680, V_d 64.17
// and N-SF5 n_d 1.67271, V_d 32.25, as the catalogue lists them.
inline const std::string kBK7 = "I 1.52238 486.1 1.51680 587.6 1.51432 656.3\n";
inline const std::string kSF5 = "I 1.68750 486.1 1.67271 587.6 1.66664 656.3\n";
constexpr double kIndicesBK7[] = {1.52238, 1.51680, 1.51432};  // F, d, C
constexpr double kIndicesSF5[] = {1.68750, 1.67271, 1.66664};
constexpr double kPiDuBanc = 3.14159265359;  // the reader's, for degrees

// A description line: its kind letter, then its values written back exactly.
inline std::string Ligne(char type, std::initializer_list<double> valeurs) {
    std::string ligne(1, type);
    for (const double v : valeurs) {
        char texte[32];
        std::snprintf(texte, sizeof texte, " %.17g", v);
        ligne += texte;
    }
    return ligne + "\n";
}

// Every number of the measures, each written so that it reads back to the same bits.
inline std::string EnJson(const Mesures& m) {
    CompteRendu c;
    c.bilan.mesures = m;
    std::ostringstream s;
    EcrireJson(s, c, MiseEnPage::Compacte);
    return s.str();
}

// Reads a description, which gives the messages expected, traces it in lots of a few rays on
// two threads (the fans fed across lots) and measures.  The second pass from the ends kept by
// the first, and from the rays traced again, gives the same numbers to the bit.
inline Mesures Mesurer(const std::string& description, const std::string& messages = "") {
    System_Physique systeme;
    LireBanc(systeme, description, messages);
    RayonsDuBanc rayons(systeme, 2, 2, nullptr, Decoupage{7, 3});
    RayonsDuBanc sans_garder(systeme, 2, 2, nullptr, Decoupage{7, 3, std::size_t{1} << 20, 0});
    const Mesures m = MesurerRayons(systeme, rayons);
    EXPECT_EQ(EnJson(m), EnJson(MesurerRayons(systeme, sans_garder)));
    return m;
}

// What a system should give, along its axis from its first vertex.
struct Attendu {
    double efl, bfd, ffd, longueur;  // longueur: the last vertex's place
};

// The thick lens of index n in a space of index n0, from the textbook formulas.
inline Attendu Epaisse(double n, double r1, double r2, double e, double n0 = 1) {
    const double p1 = (n - n0) / r1, p2 = (n0 - n) / r2;
    const double f = n0 / (p1 + p2 - e / n * p1 * p2);
    return {f, f * (1 - e * p1 / n), f * (1 - e * p2 / n), e};
}

// A ray-transfer matrix on (height, n x angle).
struct M2 {
    double A = 1, B = 0, C = 0, D = 1;
    M2 operator*(const M2& m) const {
        return {A * m.A + B * m.C, A * m.B + B * m.D, C * m.A + D * m.C, C * m.B + D * m.D};
    }
    // The image of a point s before the first vertex: its distance after the last one.
    double Image(double s) const { return -(A * s + B) / (C * s + D); }
    double Grandissement(double s) const { return A + Image(s) * C; }
};
inline M2 Dioptre(double n1, double n2, double r) {
    return {1, 0, -(n2 - n1) / r, 1};
}
inline M2 Trajet(double d, double n) {
    return {1, d / n, 0, 1};
}
inline M2 Lentille(double n, double r1, double r2, double e) {
    return Dioptre(n, 1, r2) * Trajet(e, n) * Dioptre(1, n, r1);
}
inline Attendu DeLaMatrice(const M2& m, double longueur) {
    return {-1 / m.C, -m.A / m.C, -m.D / m.C, longueur};
}

}  // namespace optic::test
