// Descriptions that are broken, hostile or extreme: each gets its exact messages and exit
// status, finishes promptly, and writes the pictures it asks for; no picture is ever damaged.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <random>
#include <string>
#include <tuple>

#include "support/banc_texte.h"
#include "support/bmp_lecture.h"
#include "support/e2e.h"
#include "support/json.h"

namespace optic::test {
namespace {

std::string Fois(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

std::string Probleme(const std::string& quoi, int n = 1) {
    return Fois("Warning: Probleme avec " + quoi + " dans le fichier bench.txt \n", n);
}

TEST(Hostile, MessagesStatutEtImagesAttendus) {
    // Bytes of every value but the kind letters (long lines start new ones mid-line).
    std::string bruit;
    std::mt19937 hasard(7);
    for (int i = 0; i < 20000; ++i) {
        const char c = static_cast<char>(hasard() & 0xff);
        bruit += std::string("DEILSZ").find(c) == std::string::npos ? c : '#';
    }
    const std::tuple<const char*, std::string, std::string, std::size_t> cas[] = {
        {"binary garbage", bruit, "", 0},
        {"NUL ends a line's content",
         std::string("D 1 2 3\0 4 5 6\nZ 0 0 10 10 20 1\0 garbage\n\0Z 0 0 1 1 5 1\n", 52),
         Probleme("un diaphragme"), 1},
        {"100000-character lines",
         "S 1 550 0 0 0 0 2 5" + std::string(100000, ' ') + "\n" + std::string(100000, 'x') +
             "\nZ -5 -5 5 5 40 1\n",
         "", 1},
        {"a million lines", Fois("D 1 2 3 4 5\n", 1000000), Probleme("un diaphragme", 500000), 0},
        {"diaphragm values",
         "D 1 2 3 4 5 6 7 8\nD -1 -2 -3 -4 -5 -6\nD 0 0 0 0 0 0\nD 1 2 3 nan 5 6\n"
         "D 1 2 3 inf 5 6\nD 1 2 3 4 5\nD 1 2 3 4 5 \nD 1e308 1e308 1e308 1e308 1e308 1e308\n",
         Probleme("un diaphragme", 3), 0},
        {"space index values",
         "E\nE 0\nE -1\nE 1e-11\nE 1e-400\nE\t2\nE nan\nE inf\nE 1.33 extra\nE 1e308\n",
         Probleme("l'indice de l'espace", 8), 0},
        {"index values",
         "I 1.5 400 1.5 500 1.5\nI 1.5 400 1.5 500 1.5 600 7\nI -1.5 400 1.5 500 1.5 600\n"
         "I 0 400 1.5 500 1.5 600\nI 1.5 nan 1.5 500 1.5 600\nI 1.5 400 1.5 400 1.5 600\n"
         "I 1.5 400 1.5 500 1.5 500\nI 1.5 400 1.5 1e999 1.5 600\nI 1e308 400 1e308 500 1e308 "
         "600\n",
         Probleme("un indice", 7), 0},
        {"lens values",
         kVerre + "L 0 0 1 5 5\nL 0 0 1 5 -5 4 0 1 extra\nL 0 0 -1 -5 5 -4 -30 1\n"
                  "L 0 0 0 5 -5 0 0 1\nL nan 0 1 5 -5 4 0 1\nL 0 0 1 inf inf 10 0 2\n"
                  "L 0 0 1 Inf -5 4 0 1\nL 0 0 1 -inf inf 4 0 1\nL 0 0 1 inf infinity 4 0 1\n"
                  "L 0 0 1 INF inf 4 0 1\nL 0 0 1 5 -5 1e308 0 1\nL 0 0 1e308 inf inf 1e308 0 1\n",
         Probleme("une lentille", 7) + "Error: Diametre de la lentille trop grand...\n" +
             Probleme("une lentille"),
         0},
        {"source values",
         "S 1 550 0 0 0 0 2\nS 0 550 0 0 0 0 2 5\nS 11 550 0 0 0 0 2 5\nS -6\nS -2\n"
         "S 1 -550 0 0 -10 -30 -2 -5\nS 1 550 0 0 0 0 2 1000001\nS 1 550 0 0 0 0 2 inf\n"
         "S 1 nan 0 0 0 0 2 5\nS 1 550 1e308 1e308 1e308 1e308 1e308 5 extra\nS 1 550 0 0 0 0 2 \n"
         "S 1 550 0 0 0 0 2 0\nS 1 550 0 0 0 0 2 1e999\nS\n",
         Probleme("une source", 11), 0},
        {"zoombox values",
         "Z 0 0 10 10 20\nZ 0 0 1 1 37838 0\nZ 0 0 1 1 37 0 extra\nZ 0 0 10 10 nan 1\n"
         "Z 0 0 inf 10 20 1\nZ 0 0 10 10 -20 1\nZ 0 0 1e-9 1e-9 1e308 1\nZ 0 0 1 1 1 \n",
         Probleme("une zoombox", 5) +
             " Warning: Zoombox trop petit small: Calcul automatique du zoom...\n",
         3},
        {"coordinates of 1e300",
         kVerre + "L 1e300 0 1 10 -10 4 0 1\nD -1e300 1e300 1 2 3 45\nS 1 550 1e300 1e300 0 0 0 1\n"
                  "S 1 550 -1e300 0 0 0 0 3\nZ -1e300 -1e300 1e300 1e300 100 1e299\n"
                  "Z -5 -5 5 5 50 1\n",
         "", 2},
        {"radii enormous and microscopic",
         kVerre + "L 0 0 1 1e300 -1e300 10 0 1\nL 5 0 1 1e-300 inf 1e-301 0 1\n"
                  "S 1 550 -5 0 20 0 2 9\nZ -10 -10 10 10 100 1\n",
         "", 1},
        {"a ray trapped by total reflection",
         kVerre + "L 0 0 10 inf inf 60 0 1\nS 1 550 5 0 0 45 0 1\nZ -10 -35 30 35 100 5\n", "", 1},
        {"a ray starting inside a diaphragm blade",
         "D 0 0 2 1 5 0\nS 1 550 0 3 0 0 0 1\nZ -10 -10 10 10 100 1\n", "", 1},
        {"an empty description", "", "", 0},
    };
    for (const auto& [nom, description, sortie, images] : cas) {  // and the messages printed
        SCOPED_TRACE(nom);
        const Execution e = LancerDescription(description);
        EXPECT_EQ(e.statut, 0);
        EXPECT_TRUE(e.sortie == sortie) << e.sortie.substr(0, 400);
        EXPECT_EQ(e.erreurs, "");
        EXPECT_EQ(e.fichiers.size(), images);
        for (const auto& [nom, octets] : e.fichiers) EXPECT_TRUE(Valide(octets)) << nom;
        // The same run with a JSON report: one valid document holding those messages.
        const Execution j = LancerDescription(description, {"--report=json"});
        EXPECT_EQ(j.statut, 0);
        const auto document = LireJson(j.sortie);
        ASSERT_TRUE(document) << j.sortie.substr(0, 400);
        std::string messages;
        for (const Json& m : document->at("messages")) messages += m.get<std::string>();
        EXPECT_TRUE(messages == sortie) << "--report=json";
        EXPECT_EQ(document->at("pictures").size(), images);
        PourChaqueNombre(*document, [](double x) { EXPECT_TRUE(std::isfinite(x)); });
        for (const Json& f : document->at("fans")) {
            EXPECT_EQ(f.at("left").get<double>() + f.at("stopped").get<double>() +
                          f.at("trapped").get<double>(),
                      f.at("rays").get<double>());
        }
    }
}

// A directory, a pipe (which must not make it wait) and a dangling link read as missing files.
TEST(Hostile, CheminsQuiNeSontPasDesFichiersLisibles) {
    Dossier d;
    Lancer(d, {"--version"}, "mkdir repertoire && mkfifo tube && ln -s absent lien");
    for (const char* chemin : {"repertoire", "tube", "lien"}) {
        const Execution e = Lancer(d, {chemin});
        EXPECT_EQ(e.Fin(),
                  (Issue{255, std::string(" Error File ") + chemin + " doesn't exist\n", ""}));
    }
}

// The header's fields and the rows' order are pinned by the golden digests, the padding by
// the fills' test; here the mode, 0600, and an older, larger picture replaced whole.  A
// picture cut short by the file size limit is reported, gives status -1, spares the older
// picture and leaves no temporary file; the next zoombox is still written.  (A directory in
// the picture's way: the report's test of runs that fail.)
TEST(Bmp, DroitsRemplacementEtEcritureImpossible) {
    Dossier d("Z 0 0 11 11 11 3\n");
    d.Ecrire("OpticZoomBox_0.bmp", std::string(5000, 'x'));
    EXPECT_EQ(Lancer(d, {"bench.txt"}).fichiers.at("OpticZoomBox_0.bmp").size(), 54u + 11 * 36);
    struct stat etat;
    ASSERT_EQ(::stat((d.chemin() / "OpticZoomBox_0.bmp").c_str(), &etat), 0);
    EXPECT_EQ(etat.st_mode & 0777, 0600u);
    d.Ecrire("bench.txt", "Z 0 0 60 60 60 0\nZ 0 0 1 1 1 0\n");  // 10854 then 58 bytes
    const Execution e =
        Lancer(d, {"bench.txt"}, "printf older >OpticZoomBox_0.bmp; trap '' XFSZ; ulimit -f 4");
    EXPECT_EQ(e.Fin(),
              (Issue{255, "Error: Impossible d'ecrire le fichier OpticZoomBox_0.bmp \n", ""}));
    EXPECT_EQ(e.fichiers.at("OpticZoomBox_1.bmp").size(), 58u);
    EXPECT_EQ(e.fichiers.size(), 2u);  // no temporary file
    EXPECT_EQ(Texte(e.fichiers.at("OpticZoomBox_0.bmp")), "older");
}

// Killed while writing, a run leaves the older picture or the new one, whole, and nothing else.
TEST(Hostile, InterrompuPendantLEcriture) {
    Dossier d("S 1 550 0 5 0 0 8 200\nZ 0 0 10 10 12000 1\n");
    d.Ecrire("OpticZoomBox_0.bmp", "older picture");
    const Execution e =
        Lancer(d, {},
               std::string(OPTIC_EXE) +
                   " bench.txt & p=$!; until ls -a | grep -q '^[.]Optic' || ! kill -0 $p; do :; "
                   "done; kill -TERM $p; wait $p; exit 0 #");
    ASSERT_EQ(e.fichiers.size(), 1u);  // nothing beside the picture
    const std::size_t taille = e.fichiers.at("OpticZoomBox_0.bmp").size();
    EXPECT_TRUE(taille == 13 || taille == 54u + 12000u * 36000u) << taille;
}

}  // namespace
}  // namespace optic::test
