#include <gtest/gtest.h>

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

}  // namespace
}  // namespace optic::test
