// Descriptions that are broken, hostile or extreme: each gets its exact messages and exit
// status, finishes promptly, and writes the pictures it asks for and no others.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/bmp_lecture.h"
#include "support/e2e.h"

namespace optic::test {
namespace {

const std::string kD = "Warning: Probleme avec un diaphragme dans le fichier bench.txt \n";
const std::string kE = "Warning: Probleme avec l'indice de l'espace dans le fichier bench.txt \n";
const std::string kI = "Warning: Probleme avec un indice dans le fichier bench.txt \n";
const std::string kL = "Warning: Probleme avec une lentille dans le fichier bench.txt \n";
const std::string kDiametre = "Error: Diametre de la lentille trop grand...\n";
const std::string kS = "Warning: Probleme avec une source dans le fichier bench.txt \n";
const std::string kZ = "Warning: Probleme avec une zoombox dans le fichier bench.txt \n";
const std::string kPlafond = " Warning: Zoombox trop petit small: Calcul automatique du zoom...\n";
const std::string kVerre = "I 1.5 400 1.5 500 1.5 600\n";

std::string Fois(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

struct Cas {
    const char* nom;
    std::string description;
    std::string sortie;
    int statut;
    int images;
};

TEST(Hostile, MessagesStatutEtImagesAttendus) {
    // Bytes of every value but the kind letters (long lines start new ones mid-line).
    std::string bruit;
    std::mt19937 hasard(7);
    for (int i = 0; i < 20000; ++i) {
        const char c = static_cast<char>(hasard() & 0xff);
        bruit += std::string("DEILSZ").find(c) == std::string::npos ? c : '#';
    }
    const Cas cas[] = {
        {"binary garbage", bruit, "", 0, 0},
        {"NUL ends a line's content",
         std::string("D 1 2 3\0 4 5 6\nZ 0 0 10 10 20 1\0 garbage\n\0Z 0 0 1 1 5 1\n", 52), kD, 0,
         1},
        {"100000-character lines",
         "S 1 550 0 0 0 0 2 5" + std::string(100000, ' ') + "\n" + std::string(100000, 'x') +
             "\nZ -5 -5 5 5 40 1\n",
         "", 0, 1},
        {"a million lines", Fois("D 1 2 3 4 5\n", 1000000), Fois(kD, 500000), 0, 0},
        {"diaphragm values",
         "D 1 2 3 4 5 6 7 8\nD -1 -2 -3 -4 -5 -6\nD 0 0 0 0 0 0\nD 1 2 3 nan 5 6\n"
         "D 1 2 3 inf 5 6\nD 1 2 3 4 5\nD 1e308 1e308 1e308 1e308 1e308 1e308\n",
         kD + kD + kD, 0, 0},
        {"space index values", "E\nE 0\nE -1\nE 1e-11\nE nan\nE inf\nE 1.33 extra\nE 1e308\n",
         Fois(kE, 6), 0, 0},
        {"index values",
         "I 1.5 400 1.5 500 1.5\nI 1.5 400 1.5 500 1.5 600 7\nI -1.5 400 1.5 500 1.5 600\n"
         "I 0 400 1.5 500 1.5 600\nI 1.5 nan 1.5 500 1.5 600\nI 1.5 400 1.5 400 1.5 600\n"
         "I 1.5 400 1.5 1e999 1.5 600\nI 1e308 400 1e308 500 1e308 600\n",
         Fois(kI, 6), 0, 0},
        {"lens values",
         kVerre +
             "L 0 0 1 5 5\nL 0 0 1 5 -5 4 0 1 extra\nL 0 0 -1 -5 5 -4 -30 1\nL 0 0 0 5 -5 0 0 1\n"
             "L nan 0 1 5 -5 4 0 1\nL 0 0 1 inf inf 10 0 2\nL 0 0 1 Inf -5 4 0 1\n"
             "L 0 0 1 5 -5 1e308 0 1\nL 0 0 1 1e300 -1e300 10 0 1\nL 5 0 1 1e-300 inf 1e-301 0 1\n"
             "L 0 0 1e308 inf inf 1e308 0 1\n",
         Fois(kL, 4) + kDiametre + kL, 0, 0},
        {"source values",
         "S 1 550 0 0 0 0 2\nS 0 550 0 0 0 0 2 5\nS 11 550 0 0 0 0 2 5\nS -6\nS -2\n"
         "S 1 -550 0 0 -10 -30 -2 -5\nS 1 550 0 0 0 0 2 1000001\nS 1 550 0 0 0 0 2 inf\n"
         "S 1 nan 0 0 0 0 2 5\nS 1 550 1e308 1e308 1e308 1e308 1e308 5 extra\n",
         kS + kS + kS + kS + kS + kS + kS, 0, 0},
        {"zoombox values",
         "Z 0 0 10 10 20\nZ 0 0 1 1 37838 0\nZ 0 0 1 1 37 0 extra\nZ 0 0 10 10 nan 1\n"
         "Z 0 0 inf 10 20 1\nZ 0 0 10 10 -20 1\nZ 0 0 1e-9 1e-9 1e308 1\n",
         kZ + kZ + kZ + kZ + kZ + kPlafond, 0, 2},
        {"coordinates of 1e300",
         kVerre + "L 1e300 0 1 10 -10 4 0 1\nD -1e300 1e300 1 2 3 45\nS 1 550 1e300 1e300 0 0 0 1\n"
                  "S 1 550 -1e300 0 0 0 0 3\nZ -1e300 -1e300 1e300 1e300 100 1e299\n"
                  "Z -5 -5 5 5 50 1\n",
         "", 0, 2},
        {"radii enormous and microscopic",
         kVerre + "L 0 0 1 1e300 -1e300 10 0 1\nL 5 0 1 1e-300 inf 1e-301 0 1\n"
                  "S 1 550 -5 0 20 0 2 9\nZ -10 -10 10 10 100 1\n",
         "", 0, 1},
        {"a ray trapped by total reflection",
         kVerre + "L 0 0 10 inf inf 60 0 1\nS 1 550 5 0 0 45 0 1\nZ -10 -35 30 35 100 5\n", "", 0,
         1},
        {"a ray starting inside a diaphragm blade",
         "D 0 0 2 1 5 0\nS 1 550 0 3 0 0 0 1\nZ -10 -10 10 10 100 1\n", "", 0, 1},
        {"an empty description", "", "", 0, 0},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const Execution e = LancerDescription(c.description);
        EXPECT_EQ(e.statut, c.statut);
        EXPECT_TRUE(e.sortie == c.sortie) << e.sortie.substr(0, 400);
        EXPECT_EQ(e.erreurs, "");
        EXPECT_EQ(static_cast<int>(e.fichiers.size()), c.images);
        for (const auto& [nom, octets] : e.fichiers) EXPECT_NO_THROW(Bmp{octets}) << nom;
    }
}

TEST(Hostile, CheminsQuiNeSontPasDesFichiersLisibles) {
    Dossier d;
    const Execution e =
        Lancer(d, {"repertoire"}, "mkdir repertoire && mkfifo tube && ln -s absent lien");
    EXPECT_EQ(e.statut, 255);
    EXPECT_EQ(e.sortie, " Error File repertoire doesn't exist\n");
    for (const char* chemin : {"tube", "lien"}) {
        const Execution f = Lancer(d, {chemin});  // a pipe must not make it wait
        EXPECT_EQ(f.statut, 255);
        EXPECT_EQ(f.sortie, std::string(" Error File ") + chemin + " doesn't exist\n");
    }
}

// Stopped in the middle of writing, a run leaves the older picture or the new one, whole,
// and no temporary file.
TEST(Hostile, InterrompuPendantLEcriture) {
    Dossier d;
    d.Ecrire("bench.txt", "S 1 550 0 5 0 0 8 200\nZ 0 0 10 10 12000 1\n");
    d.Ecrire("OpticZoomBox_0.bmp", "older picture");
    const Execution e =
        Lancer(d, {},
               std::string(OPTIC_EXE) +
                   " bench.txt & p=$!; until ls -a | grep -q '^[.]Optic' || ! kill -0 $p; do :; "
                   "done; kill -TERM $p; wait $p; exit 0 #");
    ASSERT_EQ(e.fichiers.size(), 1u);  // nothing beside the picture
    const std::vector<std::uint8_t>& image = e.fichiers.at("OpticZoomBox_0.bmp");
    if (image.size() != 13) {
        EXPECT_EQ(image.size(), 54u + 12000u * 36000u);
    }
}

}  // namespace
}  // namespace optic::test
