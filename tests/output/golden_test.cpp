// Golden benches: each bench of tests/data/golden gives its recorded exit status, messages
// and pictures, byte for byte (by digest), guarding every pixel against changes made for
// speed.  Then the pixels that matter in the picture of a small bench.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/bmp_lecture.h"
#include "support/e2e.h"

namespace optic::test {
namespace {

const std::string kDossier = "tests/data/golden/";

// digests.txt by bench: its "status" and the digest of each picture.
std::map<std::string, std::map<std::string, std::string>> LireTable() {
    std::map<std::string, std::map<std::string, std::string>> table;
    std::istringstream texte(LireSource(kDossier + "digests.txt"));
    for (std::string ligne, nom, cle, valeur; std::getline(texte, ligne);) {
        std::istringstream champs(ligne);
        if (ligne[0] != '#' && champs >> nom >> cle >> valeur) table[nom][cle] = valeur;
    }
    return table;
}

// The benches of the directory and of the table: a bench without digests (an empty table
// included), or digests without a bench, fails.
std::vector<std::string> Bancs() {
    std::set<std::string> noms;
    for (const auto& [nom, g] : LireTable()) noms.insert(nom);
    for (const auto& f : std::filesystem::directory_iterator(OPTIC_SOURCE_DIR "/" + kDossier)) {
        const std::string nom = f.path().stem().string();
        if (f.path().extension() == ".txt" && nom != "digests") noms.insert(nom);
    }
    return {noms.begin(), noms.end()};
}

class GoldenBanc : public testing::TestWithParam<std::string> {};

TEST_P(GoldenBanc, StatutMessagesEtImages) {
    const std::string nom = GetParam(), description = nom + ".txt";
    std::map<std::string, std::string> attendues = LireTable()[nom];
    ASSERT_EQ(attendues.count("status"), 1u) << "no status";
    const int statut = std::stoi(attendues["status"]);
    attendues.erase("status");
    ASSERT_TRUE(std::filesystem::exists(OPTIC_SOURCE_DIR "/" + kDossier + description));
    // The messages name the description file, so it keeps its own name.
    Dossier d;
    d.Ecrire(description, LireSource(kDossier + description));
    Execution e = Lancer(d, {description});
    e.fichiers.erase(description);
    EXPECT_EQ(e.statut, statut);
    EXPECT_EQ(e.sortie, LireSource(kDossier + nom + ".stdout"));
    EXPECT_EQ(e.erreurs, "");
    std::map<std::string, std::string> obtenues;
    for (const auto& [fichier, octets] : e.fichiers) obtenues[fichier] = Empreinte(octets);
    EXPECT_EQ(obtenues, attendues);
}

INSTANTIATE_TEST_SUITE_P(Bancs, GoldenBanc, testing::ValuesIn(Bancs()),
                         [](const testing::TestParamInfo<std::string>& i) { return i.param; });

// In the window 0..10 at 10 pixels a unit, (x, y) is the pixel (10 x, 10 y), rounded.  A lens
// of two plane faces fills the square x 3..7, y 3..7; the diaphragm's blades are x 8..9, y 1..4
// and 6..9.  The 550 nm ray runs along y = 5.02 through the glass at normal incidence and the
// opening to the edge; the 650 nm one stops on a blade at x = 8; the 450 nm one rises from
// (2.02, 0.52) to the edge, over the 550 nm ray.
TEST(Dessin, PixelsDUnBancSimple) {
    const Execution e = LancerDescription(
        "I 1.5 400 1.5 500 1.5 600\nL 3 5 4 inf inf 4 0 1\nD 8.5 5 1 1 4 0\n"
        "S 1 550 1 5.02 0 0 0 1\nS 1 650 1 7.52 0 0 0 1\nS 1 450 2.02 0.52 0 -90 0 1\n"
        "Z 0 0 10 10 100 0\n");
    ASSERT_EQ(e.statut, 0);
    EXPECT_EQ(e.sortie, "");
    ASSERT_EQ(e.fichiers.size(), 1u);
    const std::vector<std::uint8_t>& image = e.fichiers.at("OpticZoomBox_0.bmp");
    ASSERT_TRUE(Valide(image));
    const std::map<char, Rgb> couleurs = {
        {'.', {0, 0, 0}},    {'V', {200, 200, 200}}, {'L', {100, 100, 100}}, {'C', {75, 75, 75}},
        {'4', {84, 0, 203}}, {'5', {160, 255, 0}},   {'6', {207, 0, 0}}};
    // Column, row, colour.
    std::istringstream attendus(
        "40 40 V 31 31 V 69 69 V 50 51 V 30 40 C 70 40 C 50 30 C 50 70 C "  // the lens, filled
        "29 40 . 71 40 . 50 29 . 50 71 . "                                  // and outlined
        "85 25 L 85 80 L 80 25 C 85 10 C 85 60 C 85 45 . 85 5 . 95 25 . "   // the blades
        "9 50 . 10 50 5 50 50 5 85 50 5 99 50 5 50 49 V "   // the open ray, on to the edge
        "10 75 6 80 75 6 81 75 L 90 75 C 91 75 . 99 75 . "  // the stopped ray
        "20 4 . 20 5 4 20 50 4 21 50 5 20 99 4");           // the rising ray, over the other
    int colonne, rang;
    char c;
    while (attendus >> colonne >> rang >> c) {
        EXPECT_EQ(Pixel(image, colonne, rang), couleurs.at(c)) << colonne << ", " << rang;
    }
    EXPECT_TRUE(attendus.eof());
}

}  // namespace
}  // namespace optic::test
