// Runs that share out one description's pictures (the page's workers) give, together, the
// pictures of a whole run, byte for byte, and each the whole run's messages and status.
#include "run/partage.h"

#include <gtest/gtest.h>

#include "base/rapport.h"
#include "output/bmp.h"
#include "run/demande.h"
#include "run/execution.h"
#include "support/e2e.h"

namespace optic::test {
namespace {

TEST(Partage, LesPartsDonnentLesImagesDuTout) {
    const std::string banc =
        "I 1.52 400 1.51 500 1.50 600\nL 10 0 3 12 -12 16 0 1\nD 22 0 1 2 7 15\n"
        "S 3 440 520 600 0 0 12 0 10 300\nZ -2 -10 38 30 300 2\nZ 5 -5 15 5 120 0.5\n"
        "Z 0 -3 20 3 200 1\nZ 1 1 2 2 40 1\nZ 0 0 1 1 5 9\nZ 0 0 1 1 0 1\nD 1 2\n";
    const Execution tout = LancerDescription(banc);
    ASSERT_EQ(tout.fichiers.size(), 6u);
    for (const int parts : {1, 2, 3, 7}) {
        SCOPED_TRACE(testing::Message() << parts << " parts");
        // Each part's rows of each picture, put in their place; every row given once.
        std::map<std::string, std::vector<std::uint8_t>> images;
        std::map<std::string, std::vector<int>> donnes;
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
            System_Physique systeme;
            systeme.ReadSystem_Physique(demande.description, rapport);
            const std::vector<PartImage> miennes = PartsDesImages(systeme, part, parts);
            for (const auto& [nom, octets] : Fichiers(d.chemin())) {
                const auto c = static_cast<std::size_t>(std::stoi(nom.substr(13)));
                ASSERT_TRUE(miennes[c].mienne) << nom;
                const int taille = systeme.zoomboxes[c].taille;
                const std::size_t ligne = Raster::OctetsLigne(taille);
                std::vector<std::uint8_t>& image = images[nom];
                if (image.empty()) image.assign(octets.begin(), octets.begin() + kTailleEntete);
                image.resize(octets.size());
                std::vector<int>& fois = donnes[nom];
                fois.resize(static_cast<std::size_t>(taille));
                for (int r = miennes[c].rangs.debut; r < miennes[c].rangs.fin; ++r) {
                    const std::size_t a = kTailleEntete + (taille - 1 - r) * ligne;
                    std::copy_n(octets.begin() + a, ligne, image.begin() + a);
                    ++fois[static_cast<std::size_t>(r)];
                }
            }
        }
        EXPECT_EQ(images, tout.fichiers);
        for (const auto& [nom, fois] : donnes) {
            EXPECT_EQ(fois, std::vector<int>(fois.size(), 1)) << nom;
        }
    }
}

// The pictures' rows one after the other, cut into stretches of about as many pixels; a
// picture of no rows goes to the stretch its place falls in.
TEST(Partage, DesTranchesDePixels) {
    System_Physique systeme;
    for (const int taille : {100, 300, 0, 200, 100, 50}) {
        Fenetre z;
        z.taille = taille;
        systeme.zoomboxes.push_back(z);
    }
    using P = PartImage;
    const struct {
        int part, parts;
        std::vector<PartImage> attendues;
    } cas[] = {
        {0,
         1,
         {P{true, {0, 100}},
          {true, {0, 300}},
          {true, {}},
          {true, {0, 200}},
          {true, {0, 100}},
          {true, {0, 50}}}},
        {0, 2, {P{true, {0, 100}}, {true, {0, 221}}, {}, {}, {}, {}}},
        {1,
         2,
         {P{},
          {true, {221, 300}},
          {true, {}},
          {true, {0, 200}},
          {true, {0, 100}},
          {true, {0, 50}}}},
        {0, 3, {P{true, {0, 100}}, {true, {0, 137}}, {}, {}, {}, {}}},
        {1, 3, {P{}, {true, {137, 300}}, {true, {}}, {true, {0, 9}}, {}, {}}},
        {2, 3, {P{}, {}, {}, {true, {9, 200}}, {true, {0, 100}}, {true, {0, 50}}}},
    };
    for (const auto& c : cas) {
        const std::vector<PartImage> parts = PartsDesImages(systeme, c.part, c.parts);
        ASSERT_EQ(parts.size(), c.attendues.size());
        for (std::size_t z = 0; z < parts.size(); ++z) {
            SCOPED_TRACE(testing::Message() << c.part << " of " << c.parts << ", zoombox " << z);
            EXPECT_EQ(parts[z].mienne, c.attendues[z].mienne);
            if (!parts[z].mienne) continue;
            EXPECT_EQ(parts[z].rangs.debut, c.attendues[z].rangs.debut);
            EXPECT_EQ(parts[z].rangs.fin, c.attendues[z].rangs.fin);
        }
    }
}

}  // namespace
}  // namespace optic::test
