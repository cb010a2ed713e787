// Golden benches: each bench of tests/data/golden gives its recorded exit status, messages
// and pictures, byte for byte (by digest), guarding every pixel against changes made for
// speed.  The benches draw what a picture holds (fills, outlines crossing the window, rays
// refracted, stopped on blades and trapped, colours), so every pixel of those is pinned.
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
    EXPECT_EQ(e.Fin(), (Issue{statut, LireSource(kDossier + nom + ".stdout"), ""}));
    std::map<std::string, std::string> obtenues;
    for (const auto& [fichier, octets] : e.fichiers) obtenues[fichier] = Empreinte(octets);
    EXPECT_EQ(obtenues, attendues);
}

INSTANTIATE_TEST_SUITE_P(Bancs, GoldenBanc, testing::ValuesIn(Bancs()),
                         [](const testing::TestParamInfo<std::string>& i) { return i.param; });

}  // namespace
}  // namespace optic::test
