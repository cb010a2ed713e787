#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/bmp_lecture.h"
#include "support/e2e.h"

namespace optic::test {
namespace {

namespace fs = std::filesystem;

TEST(Bmp, EnteteRemplissageEtDroitsSelonLeCote) {
    Dossier d;
    d.Ecrire("bench.txt", "Z 0 0 1 1 0 0\nZ 0 0 1 1 1 0\nZ 0 0 1 1 4 0\nZ 0 0 11 11 11 3\n");
    d.Ecrire("OpticZoomBox_2.bmp", std::string(5000, 'x'));  // an older, larger picture
    const Execution e = Lancer(d, {"bench.txt"});
    ASSERT_EQ(e.statut, 0);
    const std::uint32_t cotes[] = {0, 1, 4, 11}, tailles[] = {54, 58, 102, 54 + 11 * 36};
    for (int c = 0; c < 4; ++c) {
        const std::string nom = "OpticZoomBox_" + std::to_string(c) + ".bmp";
        SCOPED_TRACE(nom);
        const std::vector<std::uint8_t>& o = e.fichiers.at(nom);
        const std::uint32_t n = cotes[c], taille = tailles[c], pas = 3 * n + n % 4;
        ASSERT_EQ(o.size(), taille);
        EXPECT_EQ(std::string(o.begin(), o.begin() + 2), "BM");
        for (auto [position, valeur] :
             std::vector<std::pair<std::size_t, std::uint32_t>>{{2, taille},
                                                                {6, 0},
                                                                {10, 54},
                                                                {14, 40},
                                                                {18, n},
                                                                {22, n},
                                                                {30, 0},
                                                                {34, taille - 54},
                                                                {38, 4724},
                                                                {42, 4724},
                                                                {46, 0},
                                                                {50, 0}})
            EXPECT_EQ(Champ(o, position, 4), valeur) << "offset " << position;
        EXPECT_EQ(Champ(o, 26, 2), 1u);
        EXPECT_EQ(Champ(o, 28, 2), 24u);
        for (std::size_t r = 0; r < n; ++r)  // every row ends with zeros up to 4 bytes
            for (std::size_t p = 3 * n; p < pas; ++p) EXPECT_EQ(o[54 + r * pas + p], 0);
        struct stat etat;
        ASSERT_EQ(::stat((d.chemin() / nom).c_str(), &etat), 0);
        EXPECT_EQ(etat.st_mode & 0777, 0600u);
    }
    // Rows are stored bottom-up: grid rows 0, 3, 6, 9 of 11 leave the bottom row black.
    const Bmp b(e.fichiers.at("OpticZoomBox_3.bmp"));
    EXPECT_EQ(b.Pixel(1, 9), (Rgb{45, 45, 45}));
    EXPECT_EQ(b.Pixel(1, 10), (Rgb{0, 0, 0}));
    EXPECT_EQ(e.fichiers.at("OpticZoomBox_3.bmp")[54 + 3], 0);  // first row in the file
}

// A failed write is reported, gives status -1, spares the older picture and leaves no
// temporary file; the next zoombox is still written.
TEST(Bmp, UneImageImpossibleAEcrire) {
    for (const bool limite : {false, true}) {
        SCOPED_TRACE(limite ? "file size limit" : "a directory in the way");
        Dossier d;
        d.Ecrire("bench.txt", "Z 0 0 60 60 60 0\nZ 0 0 1 1 1 0\n");  // 10854 then 58 bytes
        if (limite) d.Ecrire("OpticZoomBox_0.bmp", "ancienne");
        if (!limite) fs::create_directory(d.chemin() / "OpticZoomBox_0.bmp");
        const Execution e = Lancer(d, {"bench.txt"}, limite ? "trap '' XFSZ; ulimit -f 4" : "");
        EXPECT_EQ(e.statut, 255);
        EXPECT_EQ(e.sortie, "Error: Impossible d'ecrire le fichier OpticZoomBox_0.bmp \n");
        EXPECT_EQ(e.fichiers.at("OpticZoomBox_1.bmp").size(), 58u);
        EXPECT_EQ(e.fichiers.size(), limite ? 2u : 1u);
        const std::vector<std::uint8_t> ancienne{'a', 'n', 'c', 'i', 'e', 'n', 'n', 'e'};
        if (limite) {
            EXPECT_EQ(e.fichiers.at("OpticZoomBox_0.bmp"), ancienne);
        }
        for (const auto& f : fs::directory_iterator(d.chemin()))
            EXPECT_FALSE(f.path().filename().string().starts_with(".OpticZoomBox_"));
    }
}

}  // namespace
}  // namespace optic::test
