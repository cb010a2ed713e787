// Runs that share out one description's pictures (the page's workers) give, together, the
// pictures of a whole run, byte for byte, and each the whole run's messages and status.
#include "run/partage.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "base/rapport.h"
#include "output/bmp.h"
#include "run/demande.h"
#include "run/execution.h"
#include "support/banc_texte.h"
#include "support/e2e.h"

namespace optic::test {
namespace {

// The rows each run says it draws.
struct Rangees : Suivi {
    std::map<std::size_t, Rangs> rangs;
    void Partage(std::size_t c, int debut, int fin) override { rangs[c] = {debut, fin}; }
};

TEST(Partage, LesPartsDonnentLesImagesDuTout) {
    const std::vector<int> tailles{300, 120, 200, 40, 5, 0};
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
            Dossier d(banc);
            const Demande demande{.description = (d.chemin() / "bench.txt").string(),
                                  .dossier = d.chemin().string(),
                                  .part = part,
                                  .parts = parts};
            RapportMemoire rapport;
            Rangees rangees;
            EXPECT_EQ(Executer(demande, rapport, 2, &rangees, nullptr) & 0xff, tout.statut);
            std::string sortie = rapport.Texte();
            // The whole run names its description as given on its command line.
            for (std::size_t i; (i = sortie.find(demande.description)) != std::string::npos;) {
                sortie.replace(i, demande.description.size(), "bench.txt");
            }
            EXPECT_EQ(sortie, tout.sortie);
            for (const auto& [nom, octets] : Fichiers(d.chemin())) {
                const auto c = static_cast<std::size_t>(std::stoi(nom.substr(13)));
                const Rangs r = parts > 1 ? rangees.rangs.at(c) : Rangs{0, tailles[c]};
                const int taille = tailles[c];
                const std::size_t ligne = Raster::OctetsLigne(taille);
                std::vector<std::uint8_t>& image = images[nom];
                if (image.empty()) image.assign(octets.begin(), octets.begin() + kTailleEntete);
                image.resize(octets.size());
                std::vector<int>& fois = donnes[nom];
                fois.resize(static_cast<std::size_t>(taille));
                for (int rang = r.debut; rang < r.fin; ++rang) {
                    const std::size_t a = kTailleEntete + (taille - 1 - rang) * ligne;
                    std::copy_n(octets.begin() + a, ligne, image.begin() + a);
                    ++fois[static_cast<std::size_t>(rang)];
                }
            }
        }
        EXPECT_EQ(images, tout.fichiers);
        for (const auto& [nom, fois] : donnes) {
            EXPECT_EQ(fois, std::vector<int>(fois.size(), 1)) << nom;
        }
    }
}

// A share as words: each zoombox's rows "debut-fin", "*" for one of no rows, "-" when not
// the run's.
std::string EnMots(const std::vector<PartImage>& parts) {
    std::string mots;
    for (const PartImage& p : parts) {
        if (!mots.empty()) mots += ' ';
        if (!p.mienne) {
            mots += '-';
        } else if (p.rangs.debut == p.rangs.fin) {
            mots += '*';
        } else {
            mots += std::to_string(p.rangs.debut) + '-' + std::to_string(p.rangs.fin);
        }
    }
    return mots;
}

// The pictures' rows one after the other, cut into stretches of about as much work, but
// not a picture where that evens out little; a picture of no rows goes to the stretch its
// place falls in.
// A bench of zoomboxes of these sides, and its work counted in pixels.
System_Physique Zoomboxes(std::initializer_list<int> tailles) {
    System_Physique systeme;
    for (const int taille : tailles) systeme.zoomboxes.emplace_back().taille = taille;
    return systeme;
}
TravailDesRangs Pixels(const System_Physique& systeme) {
    return [&systeme](std::size_t c, int debut, int fin) {
        return static_cast<double>(systeme.zoomboxes[c].taille) * (fin - debut);
    };
}

TEST(Partage, DesTranchesDeTravail) {
    const System_Physique systeme = Zoomboxes({100, 300, 0, 200, 100, 50});
    const TravailDesRangs pixels = Pixels(systeme);
    // Rays crowding in zoombox 1's first 30 rows.
    const TravailDesRangs rayons = [&](std::size_t c, int debut, int fin) {
        const int haut = c == 1 ? std::clamp(fin, 0, 30) - std::clamp(debut, 0, 30) : 0;
        return pixels(c, debut, fin) + 10000.0 * haut;
    };
    // The run, of how many, the work by rows, and its share as words.
    const std::tuple<int, int, const TravailDesRangs&, std::string> cas[] = {
        {0, 1, pixels, "0-100 0-300 * 0-200 0-100 0-50"},
        {0, 2, pixels, "0-100 0-221 - - - -"},
        {1, 2, pixels, "- 221-300 * 0-200 0-100 0-50"},
        {0, 3, pixels, "0-100 0-137 - - - -"},
        // Cut 9 rows into zoombox 3, within a tenth of a share of its start: it stays whole.
        {1, 3, pixels, "- 137-300 - - - -"},
        {2, 3, pixels, "- - * 0-200 0-100 0-50"},
        {0, 2, rayons, "0-100 0-21 - - - -"},
        {1, 2, rayons, "- 21-300 * 0-200 0-100 0-50"},
    };
    // Putting zoombox 1 together would cost more than evening the work out gains.
    EXPECT_EQ(EnMots(PartsDesImages(systeme, 0, 2, {pixels, 0, 0.5})), "0-100 0-300 - - - -");
    // A picture larger than 4096 pixels a side is never cut.
    const System_Physique grande = Zoomboxes({10, 4097, 10});
    EXPECT_EQ(EnMots(PartsDesImages(grande, 0, 2, {Pixels(grande)})), "0-10 - -");
    EXPECT_EQ(EnMots(PartsDesImages(grande, 1, 2, {Pixels(grande)})), "- 0-4097 0-10");
    // The first run measures: its stretch of rows is shorter by as much.
    EXPECT_EQ(EnMots(PartsDesImages(systeme, 0, 2, {pixels, 50000})), "0-100 0-138 - - - -");
    for (const auto& [part, parts, travail, attendue] : cas) {
        EXPECT_EQ(EnMots(PartsDesImages(systeme, part, parts, {travail})), attendue)
            << part << " of " << parts;
    }
}

// Kept rays count where they are drawn: a narrow beam makes its rows the heaviest.
TEST(Partage, LeTravailSuitLesRayons) {
    System_Physique systeme;
    LireBanc(systeme, "S 1 500 0 7 0 0 1 400\nZ 0 0 10 10 100 1\n");
    RayonsDuBanc rayons(systeme, 1, 1);
    const TravailDesRangs travail = EstimerTravail(systeme, rayons).rangs;
    double plus = 0, moins = INFINITY;
    for (int r = 0; r < 100; r += 10) {
        plus = std::max(plus, travail(0, r, r + 10));
        moins = std::min(moins, travail(0, r, r + 10));
    }
    EXPECT_GT(plus, 10 * moins);
    EXPECT_DOUBLE_EQ(travail(0, 0, 100), travail(0, 0, 37) + travail(0, 37, 100));
}

}  // namespace
}  // namespace optic::test
