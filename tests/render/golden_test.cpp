// Golden benches: every bench of tests/data/golden must give its recorded exit status, its
// recorded messages byte for byte, and exactly the recorded pictures, byte for byte (by
// digest).  They guard every pixel against changes made for speed.
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

const std::string kDossierGolden = "tests/data/golden/";

struct Golden {
    std::string nom;
    int statut = -1;
    std::map<std::string, std::string> empreintes;  // picture name -> digest
};

// The table of digests.txt, by bench name.
std::map<std::string, Golden> LireTable() {
    std::map<std::string, Golden> table;
    std::istringstream texte(LireSource(kDossierGolden + "digests.txt"));
    std::string ligne;
    while (std::getline(texte, ligne)) {
        if (ligne.empty() || ligne[0] == '#') continue;
        std::istringstream champs(ligne);
        std::string nom, cle, valeur;
        champs >> nom >> cle >> valeur;
        Golden& g = table[nom];
        g.nom = nom;
        if (cle == "status") {
            g.statut = std::stoi(valeur);
        } else {
            g.empreintes[cle] = valeur;
        }
    }
    return table;
}

std::vector<std::string> NomsDesBancs() {
    std::vector<std::string> noms;
    for (const auto& [nom, g] : LireTable()) noms.push_back(nom);
    return noms;
}

// Every description file of the directory has its entry, and the table is not empty: a
// bench added without digests, or a table that failed to load, would otherwise pass.
TEST(Golden, ChaqueBancASaTable) {
    const std::map<std::string, Golden> table = LireTable();
    EXPECT_GE(table.size(), 20u);
    std::set<std::string> fichiers;
    for (const auto& entree : std::filesystem::directory_iterator(std::string(OPTIC_SOURCE_DIR) +
                                                                  "/" + kDossierGolden)) {
        if (entree.path().extension() == ".txt" && entree.path().filename() != "digests.txt") {
            fichiers.insert(entree.path().stem().string());
        }
    }
    for (const std::string& nom : fichiers) EXPECT_EQ(table.count(nom), 1u) << nom;
    for (const auto& [nom, g] : table) {
        EXPECT_EQ(fichiers.count(nom), 1u) << nom;
        EXPECT_NE(g.statut, -1) << nom << ": no status";
    }
}

class GoldenBanc : public testing::TestWithParam<std::string> {};

TEST_P(GoldenBanc, StatutMessagesEtImages) {
    const std::string nom = GetParam();
    const Golden g = LireTable().at(nom);
    // The messages name the description file, so it keeps its own name.
    const std::string description = nom + ".txt";
    Dossier d;
    d.Ecrire(description, LireSource(kDossierGolden + description));
    Execution e = Lancer(d, {description});
    e.fichiers.erase(description);

    EXPECT_EQ(e.statut, g.statut);
    EXPECT_EQ(e.sortie, LireSource(kDossierGolden + nom + ".stdout"));
    EXPECT_EQ(e.erreurs, "");
    std::map<std::string, std::string> obtenues;
    for (const auto& [fichier, octets] : e.fichiers) obtenues[fichier] = Empreinte(octets);
    EXPECT_EQ(obtenues, g.empreintes);
}

INSTANTIATE_TEST_SUITE_P(Bancs, GoldenBanc, testing::ValuesIn(NomsDesBancs()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

}  // namespace
}  // namespace optic::test
