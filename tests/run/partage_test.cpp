// Runs that share out one description's pictures (the page's workers) give, together, the
// pictures of a whole run, byte for byte, and each the whole run's messages and status.
// (Which share draws which picture only balances their work: the benchmark's to measure.)
#include "run/partage.h"

#include <gtest/gtest.h>

#include "base/rapport.h"
#include "run/demande.h"
#include "run/execution.h"
#include "support/e2e.h"

namespace optic::test {
namespace {

TEST(Partage, LesPartsDonnentLesImagesDuTout) {
    const std::string banc =
        "I 1.52 400 1.51 500 1.50 600\nL 10 0 3 12 -12 16 0 1\nD 22 0 1 2 7 15\n"
        "S 3 440 520 600 0 0 12 0 10 300\nZ -2 -10 38 30 300 2\nZ 5 -5 15 5 120 0.5\n"
        "Z 0 -3 20 3 200 1\nZ 1 1 2 2 40 1\nZ 0 0 1 1 5 9\nD 1 2\n";
    const Execution tout = LancerDescription(banc);
    ASSERT_EQ(tout.fichiers.size(), 5u);
    for (const int parts : {1, 2, 3, 7}) {
        SCOPED_TRACE(testing::Message() << parts << " parts");
        std::map<std::string, std::vector<std::uint8_t>> images;
        for (int part = 0; part < parts; ++part) {
            Dossier d;
            d.Ecrire("bench.txt", banc);
            Demande demande;
            demande.description = (d.chemin() / "bench.txt").string();
            demande.dossier = d.chemin().string();
            demande.part = part;
            demande.parts = parts;
            RapportMemoire rapport;
            EXPECT_EQ(Executer(demande, rapport, 2, nullptr, nullptr) & 0xff, tout.statut);
            std::string sortie = rapport.Texte();
            // The whole run names its description as given on its command line.
            for (std::size_t i; (i = sortie.find(demande.description)) != std::string::npos;) {
                sortie.replace(i, demande.description.size(), "bench.txt");
            }
            EXPECT_EQ(sortie, tout.sortie);
            for (const auto& [nom, octets] : Fichiers(d.chemin()))
                EXPECT_TRUE(images.emplace(nom, octets).second) << nom << " drawn by two parts";
        }
        EXPECT_EQ(images, tout.fichiers);
    }
}

}  // namespace
}  // namespace optic::test
