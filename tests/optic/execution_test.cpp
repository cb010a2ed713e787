#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "support/e2e.h"

namespace optic::test {
namespace {

TEST(Execution, SansDescriptionLeFichierParDefautManqueEtRienNEstEcrit) {
    Dossier d;
    const Execution e = Lancer(d, {});
    EXPECT_EQ(e.statut, 255);
    EXPECT_EQ(e.sortie, " Error File default_optic.txt doesn't exist\n");
    EXPECT_TRUE(e.fichiers.empty());
}

// A path that is missing or not a file is reported; a bench without zoombox writes nothing;
// a lens before any index ends the run before any picture is drawn.
TEST(Execution, StatutSortieEtAucuneImage) {
    Dossier d;
    std::filesystem::create_directory(d.chemin() / "rep");
    d.Ecrire("vide.txt", "");
    d.Ecrire("sans_z.txt", "I 1.5 400 1.5 500 1.5 600\nS 1 550 0 5 0 0 2 3\n# Z 0 0 1 1 1 0\n");
    d.Ecrire("lentille.txt", "Z 0 0 4 4 4 0\nL 0 0 1 inf inf 2 0 1\n");
    for (const auto& [chemin, sortie, statut] :
         std::vector<std::tuple<std::string, std::string, int>>{
             {"absent.txt", " Error File absent.txt doesn't exist\n", 255},
             {"sous/rien.txt", " Error File sous/rien.txt doesn't exist\n", 255},
             {"rep", " Error File rep doesn't exist\n", 255},
             {"vide.txt", "", 0},
             {"sans_z.txt", "", 0},
             {"lentille.txt", "Error: Un Indice n'a pas ete trouve dans le fichier lentille.txt \n",
              255}}) {
        const Execution e = Lancer(d, {chemin});
        EXPECT_EQ(e.statut, statut) << chemin;
        EXPECT_EQ(e.sortie, sortie);
        EXPECT_EQ(e.fichiers.size(), 3u);  // the three descriptions alone
    }
}

TEST(Execution, LesZoomboxesSontNumeroteesDansLOrdreDuFichier) {
    Dossier d;
    // The refused zoombox takes no number; a second argument is ignored.
    d.Ecrire("bench.txt", "Z 0 0 1 1 4 0\nZ 0 0 1 1 -1 0\nZ 0 0 1 1 1 0\nZ 0 0 1 1 13 0\n");
    const Execution e = Lancer(d, {"bench.txt", "autre.txt"});
    EXPECT_EQ(e.statut, 0);
    EXPECT_EQ(e.sortie, "Warning: Probleme avec une zoombox dans le fichier bench.txt \n");
    ASSERT_EQ(e.fichiers.size(), 3u);
    EXPECT_EQ(e.fichiers.at("OpticZoomBox_0.bmp").size(), 102u);
    EXPECT_EQ(e.fichiers.at("OpticZoomBox_1.bmp").size(), 58u);
    EXPECT_EQ(e.fichiers.at("OpticZoomBox_2.bmp").size(), 54u + 13 * 40);

    Dossier defaut;
    defaut.Ecrire("default_optic.txt", "Z 0 0 1 1 1 0\n");
    EXPECT_EQ(Lancer(defaut, {}).fichiers.count("OpticZoomBox_0.bmp"), 1u);
}

TEST(Execution, DeuxExecutionsDonnentLesMemesImages) {
    const std::string banc =
        "I 1.52 400 1.51 500 1.50 600\nE 1\nL 50 50 5 40 -40 20 0 1\nD 80 50 1 5 20 0\n"
        "S 2 450 650 0 50 10 0 4 9\nZ 0 0 100 100 400 10\nZ 20 20 60 60 97 5\n";
    std::string crlf;
    for (char c : banc) crlf += c == '\n' ? "\r\n" : std::string(1, c);
    const Execution a = LancerDescription(banc);
    EXPECT_EQ(a.statut, 0);
    EXPECT_EQ(a.sortie, "");
    EXPECT_EQ(a.fichiers.size(), 2u);
    EXPECT_EQ(LancerDescription(banc).fichiers, a.fichiers);
    EXPECT_EQ(LancerDescription(crlf).fichiers, a.fichiers);  // CR LF line ends change nothing
}

}  // namespace
}  // namespace optic::test
