#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/lecture_ligne.h"
#include "model/system.h"

namespace optic {
namespace {

using namespace std::string_literals;

// The messages byte for byte, for a description named "b".
const std::string kD = "Warning: Probleme avec un diaphragme dans le fichier b \n";
const std::string kE = "Warning: Probleme avec l'indice de l'espace dans le fichier b \n";
const std::string kI = "Warning: Probleme avec un indice dans le fichier b \n";
const std::string kDia = "Error: Diametre de la lentille trop grand...\n";
const std::string kManque = "Error: Un Indice n'a pas ete trouve dans le fichier b \n";
const std::string kL = "Warning: Probleme avec une lentille dans le fichier b \n";
const std::string kS = "Warning: Probleme avec une source dans le fichier b \n";
const std::string kZ = "Warning: Probleme avec une zoombox dans le fichier b \n";
const std::string kCap = " Warning: Zoombox trop petit small: Calcul automatique du zoom...\n";
const std::string I1 = "I 1.5 400 1.5 500 1.5 600\n", Z = "Z 0 0 4 4 4 0", S = "S 1 550 0 0 0 0 2 ";

struct Lu {
    System_Physique s;
    std::string rapport;
    System_Physique::Lecture fin{};
};

std::unique_ptr<Lu> Lire(std::string texte) {
    auto lu = std::make_unique<Lu>();
    std::FILE* a = fmemopen(texte.data(), texte.size(), "r");
    std::FILE* b = fmemopen(texte.data(), texte.size(), "r");
    std::ostringstream rapport;
    lu->fin = lu->s.ReadSystem_Physique(a, b, "b", rapport);
    std::fclose(a);
    std::fclose(b);
    lu->rapport = rapport.str();
    return lu;
}

// A zoombox line whose fifth value "5" is character n + 1 (a 499-character chunk ends at n + 2).
std::string Longue(std::size_t n) {
    return "Z 0 0 10 10 " + std::string(n - 12, ' ') + "5 0\n";
}

TEST(Lecture, MessagesEtContenuDuModele) {
    struct Cas {
        std::string texte, rapport;
        std::size_t elements, indices, zoomboxes, sources;
    };
    const std::vector<Cas> cas = {
        // D and Z end at the line feed (a space before it gives one empty value); tabs glue.
        {"D 1 2 3 4 5\nD 1 2 3 4 5 \nD\t0 0 1 2 3 0\nD 0\t0\t1\t2\t3\t0\nD nan 0 1 2 3 0\n"
         "Z 0 0 4 4 4\nZ 0 0 4 4 4 \nZ 0 0 1e999 4 4 0\nD 1 2 3 4 5",
         kD + kD + kD + kD + kZ + kZ + kD, 1, 0, 1, 0},
        {"E\nE \nE 0\nE 1e-11\nE inf\nE nan\nE 1e-400\nE\t2\nE 1.33\n",
         kE + kE + kE + kE + kE + kE + kE + kE, 0, 0, 0, 0},
        // I reads empty values at the line feed; rejected lines take no number.
        {"I 1.5 400 1.5 500 1.5\nI 1.5 400 0 500 1.5 600\nI 1.5 400 1.5 400 1.5 600\n"
         "I 1.5 nan 1.5 500 1.5 600\n" +
             I1 + "L 0 0 1 inf inf 2 0 1\nL 0 0 1 inf inf 2 0 2\n",
         kI + kI + kI + kI + kL, 1, 1, 0, 0},
        {I1 + "L 0 0 1 5 inf 10 0 1\nL 0 0 1 5 inf 9.99 0 1\nLentille 0 0 1 inf inf 10 0 1\n"
              "L 0 0 1 5 5 10 0 1\nL nan 0 1 5 inf 10 0 1\nL 0 0 1 inf inf 2 0 0\n",
         kDia + kL + kDia + kL + kDia + kL + kL, 2, 1, 0, 0},
        {I1 + "L 0 0 1 inf inf 2 0\nL 0 0 1 Inf inf 2 0 1\nL 0 0 1 -inf inf 2 0 1\n"
              "L 0 0 1 inf infinity 2 0 1\nL 0 0 1 INF inf 2 0 1\n",
         kL + kL + kL + kL + kL, 0, 1, 0, 0},
        {S + "5\n" + S + "\nS 0 550 0 0 0 0 2 5\nS 11 550 0 0 0 0 2 5\n" + S + "0\n" + S +
             "1000001\n" + S + "inf\n" + S + "1e999\nS 1 nan 0 0 0 0 2 5\nS\nS -2\nS -6\n",
         kS + kS + kS + kS + kS + kS + kS + kS + kS + kS, 0, 0, 0, 2},
        {"Z 0 0 4 4 -4 0\nZ 0 0 1 1 4e9 0\nZ 0 0 1e-3 1e-3 1000 0\n", kZ + kCap + kZ + kCap, 0, 0,
         1, 0},
        // A repeated line is skipped, and a third one handled again; CR LF ends like LF.
        {Z + "\n" + Z + "\n" + Z + "\nD 1\nD 1\nD 1\n" + Z + "\n" + Z, kD + kD, 0, 0, 4, 0},
        {Z + "\r\n" + Z + "\n" + S + "5\n" + S + "5\n# c\n" + S + "5\n", "", 0, 0, 1, 2},
        // Lines come in chunks of 499 characters; a token is cut at 79 and the line with it.
        {Longue(497) + Longue(498) + "E 2" + std::string(496, ' ') + Z + "\n", kZ, 0, 0, 2, 0},
        {"D 0 0 1 2 3 " + std::string(100, '0') + "\nD 0 0 1 " + std::string(100, '2') +
             " 3 0 0\n" + Z.substr(0, 12) + std::string(100, '0'),
         kD, 1, 0, 1, 0},
        // A NUL byte ends the line's content.
        {Z + "\0"s + Z + "\nD 1 2 3 4\0 5 6\n"s + S + "5\0a\n"s + S + "5\0b\n"s, kD, 0, 0, 1, 1},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.texte);
        const auto lu = Lire(c.texte);
        EXPECT_EQ(lu->fin, System_Physique::Lecture::Complete);
        EXPECT_EQ(lu->rapport, c.rapport);
        EXPECT_EQ(lu->s.elements.size(), c.elements);
        EXPECT_EQ(lu->s.indices.size(), c.indices);
        EXPECT_EQ(lu->s.zoomboxes.size(), c.zoomboxes);
        EXPECT_EQ(lu->s.sources.size(), c.sources);
        // The same text with CR LF line ends reads the same.
        std::string crlf;
        for (char ch : c.texte) crlf += ch == '\n' ? "\r\n" : std::string(1, ch);
        if (c.texte.find('\r') == std::string::npos) {
            EXPECT_EQ(Lire(crlf)->rapport, c.rapport);
        }
    }
}

TEST(Lecture, UneLentilleAvantToutIndiceArreteLaLecture) {
    for (const auto& [texte, rapport] : std::vector<std::pair<std::string, std::string>>{
             {"L\n", kDia + kManque},  // eight empty values: diameter 0 >= 2 x 0
             {"L", kManque},
             {"I 1 400 1 500 1\nL 0 0 1 inf inf 2 0 1\nZ 0 0 4 4 4 0\n", kI + kManque}}) {
        SCOPED_TRACE(texte);
        const auto lu = Lire(texte);
        EXPECT_EQ(lu->fin, System_Physique::Lecture::IndiceManquant);
        EXPECT_EQ(lu->rapport, rapport);
    }
}

TEST(Lecture, ValeursLuesCommeAtofEtAtoi) {
    EXPECT_EQ(Lire("E " + std::string(76, '0') + "1.5\n")->s.espace.indice_espace, 1.5);
    EXPECT_EQ(Lire("E " + std::string(77, '0') + "1.5\n")->s.espace.indice_espace, 1.0);
    EXPECT_EQ(Lire("E 0x1p1\r\n")->s.espace.indice_espace, 2.0);
    const auto d = Lire("D 0 0 1 -8 3 0\n");  // absolute values, smaller radius first
    EXPECT_EQ(d->s.elements.at(0).dioptres.at(4).sommet.y, 3.0);
    EXPECT_EQ(d->s.elements.at(0).dioptres.at(6).sommet.y, 8.0);
    // "2.9" names index 2; both lenses share its record.
    const auto l = Lire(
        "I 1.6 400 1.6 500 1.6 600\nI 1.7 400 1.7 500 1.7 610\n"
        "L 0 0 1 inf inf 2 0 2.9\nL 0 0 1 inf inf 2 0 2\n");
    ASSERT_EQ(l->s.elements.size(), 2u);
    EXPECT_EQ(l->s.elements[0].indice, l->s.indices[1].get());
    EXPECT_EQ(l->s.elements[1].indice, l->s.indices[1].get());
    EXPECT_EQ(l->s.indices[1]->indice_lambda[2], 610.0);
    const auto s = Lire("S 2 -450 650 0 50 10 0 4 9.9\nS -6\n");
    ASSERT_EQ(s->s.sources.size(), 2u);
    ASSERT_EQ(s->s.sources[0].sources.size(), 2u);
    EXPECT_EQ(s->s.sources[0].sources[0].rayons.size(), 9u);
    EXPECT_EQ(s->s.sources[0].sources[0].rayons[0].lambda, 450.0);  // its absolute value
    EXPECT_TRUE(s->s.sources[1].sources.empty());                   // -6: a group without sources
    // Found by fuzzing: a token view with no data at all reads as an empty token.
    EXPECT_EQ(LireReel(std::string_view{}), 0.0);
    EXPECT_EQ(LireEntier(std::string_view{}), 0);
}

}  // namespace
}  // namespace optic
