#include <gtest/gtest.h>

#include "support/e2e.h"

namespace optic::test {
namespace {

// Tracing and drawing are spread over threads; the pictures must not show it.  The bench
// has elements overlapping band boundaries, rays crossing every band and a later ray
// covering an earlier one.
TEST(Parallele, MemesImagesAvecUnDeuxOuHuitFils) {
    const std::string banc =
        "I 1.52 400 1.51 500 1.50 600\nL 10 0 3 12 -12 16 0 1\nD 22 0 1 2 7 15\n"
        "L 30 0 6 inf inf 10 -30 1\nS 4 440 520 600 680 0 0 12 0 10 400\nS 1 550 40 -9 0 170 0 1\n"
        "Z -2 -10 38 30 600 2\nZ 5 -5 15 5 257 0.5\n";
    std::map<std::string, std::vector<std::uint8_t>> reference;
    for (const char* fils : {"1", "2", "8"}) {
        Dossier d;
        d.Ecrire("bench.txt", banc);
        const Execution e = Lancer(d, {"bench.txt"}, std::string("export OMP_NUM_THREADS=") + fils);
        EXPECT_EQ(e.statut, 0);
        ASSERT_EQ(e.fichiers.size(), 2u) << fils;
        if (reference.empty()) reference = e.fichiers;
        EXPECT_TRUE(e.fichiers == reference) << fils;
    }
}

}  // namespace
}  // namespace optic::test
