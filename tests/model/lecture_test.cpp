// Reader rules the golden benches do not pin; each text is read as written and again with
// CR LF line ends, which must read the same.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "model/lecture_ligne.h"
#include "model/system.h"
#include "support/banc_texte.h"

namespace optic {
namespace {

using namespace std::string_literals;

const std::string kD = "Warning: Probleme avec un diaphragme dans le fichier b \n";
const std::string kZ = "Warning: Probleme avec une zoombox dans le fichier b \n";
const std::string Z = "Z 0 0 4 4 4 0", S = "S 1 550 0 0 0 0 2 5";

struct Lu {
    System_Physique s;
    std::string rapport;
    System_Physique::Lecture fin{};
};

Lu Lire(std::string texte) {
    Lu lu;
    RapportMemoire rapport;
    lu.fin = test::LireTexte(lu.s, std::move(texte), "b", rapport);
    lu.rapport = rapport.Texte();
    return lu;
}

// A zoombox line whose fifth value "5" is character n + 1 (a 499-character chunk ends at n + 2).
std::string Longue(std::size_t n) {
    return "Z 0 0 10 10 " + std::string(n - 12, ' ') + "5 0\n";
}

TEST(Lecture, LignesMorceauxEtJetons) {
    // A text, its messages, and the elements, zoomboxes and sources it gives.
    const std::tuple<std::string, std::string, std::size_t, std::size_t, std::size_t> cas[] = {
        // A repeated line is skipped, a third one handled again; "X\r\n" then "X\n" repeat.
        {Z + "\r\n" + Z + "\nD 1\nD 1\nD 1\n" + S + "\n# c\n" + S + "\n", kD + kD, 0, 1, 2},
        // Lines come in chunks of 499 characters (the CR of a CR LF is dropped first).
        {Longue(497) + Longue(498) + "E 2" + std::string(496, ' ') + Z + "\n", kZ, 0, 2, 0},
        // A token longer than 79 characters is cut at 79, and the line's values end with it.
        {"D 0 0 1 2 3 " + std::string(100, '0') + "\nD 0 0 1 " + std::string(80, '2') + " 3 0 0\n" +
             Z.substr(0, 12) + std::string(100, '0'),
         kD, 1, 1, 0},
        // (A NUL byte ending a line's content, and a lens before any glass ending the reading:
        // the hostile tests and the golden reader_missing_index_exit.)
    };
    for (const auto& [texte, rapport, elements, zoomboxes, sources] : cas) {
        const bool lf = texte.find('\r') == std::string::npos;
        std::string crlf;
        for (char ch : texte) crlf += lf && ch == '\n' ? "\r\n"s : ch + ""s;
        for (const std::string& t : {texte, crlf}) {
            const Lu lu = Lire(t);
            EXPECT_EQ(lu.fin, System_Physique::Lecture::Complete) << t.substr(0, 100);
            EXPECT_EQ(lu.rapport, rapport) << t.substr(0, 100);
            EXPECT_EQ(
                (std::vector{lu.s.elements.size(), lu.s.zoomboxes.size(), lu.s.sources.size()}),
                (std::vector{elements, zoomboxes, sources}))
                << t.substr(0, 100);
        }
    }
}

TEST(Lecture, ValeursLuesCommeAtofEtAtoi) {
    EXPECT_EQ(Lire("E " + std::string(76, '0') + "1.5\n").s.espace.indice_espace, 1.5);
    EXPECT_EQ(Lire("E " + std::string(77, '0') + "1.5\n").s.espace.indice_espace, 1.0);
    EXPECT_EQ(Lire("E 0x1p1\r\n").s.espace.indice_espace, 2.0);
    // Found by fuzzing: a token view with no data at all reads as an empty token.
    EXPECT_EQ(LireReel(std::string_view{}), 0.0);
    EXPECT_EQ(LireEntier(std::string_view{}), 0);
}

}  // namespace
}  // namespace optic
