#include <gtest/gtest.h>

#include <tuple>

#include "model/system.h"
#include "output/bmp.h"
#include "run/execution.h"
#include "support/banc_texte.h"
#include "support/bmp_lecture.h"
#include "support/e2e.h"

namespace optic::test {
namespace {

// Lenses and a diaphragm overlapping one another, for the benches below.
const std::string kElements =
    "I 1.52 400 1.51 500 1.50 600\nL 10 0 3 12 -12 16 0 1\nD 22 0 1 2 7 15\n"
    "L 30 0 6 inf inf 10 -30 1\n";
const std::string kFaisceaux =
    "L 14 2 8 20 -20 12 10 1\nS 4 440 520 600 680 0 0 12 0 10 400\nS 2 550 470 40 -9 0 170 0 40\n";

// Rays are traced and drawn lot after lot, the lots kept between pictures or traced again,
// in the drawing order or from its end with each pixel written once: every way gives the
// pictures of one thread drawing every ray in one lot in the drawing order.  The bench's
// fans overlap each other and themselves, in lots of three rays and more, over pictures
// where the rays crowd and where they do not.
TEST(Parallele, MemesImagesQuelsQueSoientLesLots) {
    const std::string banc = kElements + kFaisceaux + "S 3 420 560 700 -3 4 40 -5 3 250\n" +
                             "Z -2 -10 38 30 300 2\nZ 5 -5 15 5 257 0.5\nZ 0 -20 40 20 64 5\n";
    System_Physique systeme;
    LireBanc(systeme, banc);
    const int images = 3;
    ASSERT_EQ(systeme.zoomboxes.size(), 3u);
    auto dessiner = [&](int fils, Decoupage decoupage, std::optional<Sens> sens) {
        RayonsDuBanc rayons(systeme, fils, images, nullptr, decoupage);
        std::vector<std::vector<std::uint8_t>> pictures;
        for (const Image image : systeme.zoomboxes) {
            Raster raster(image.taille);
            Dessiner(systeme, image, raster, fils, rayons, sens);
            pictures.push_back(test::OctetsDuRaster(raster));
        }
        return pictures;
    };
    const Decoupage un_lot{1 << 20, 1, std::size_t{1} << 30, std::size_t{1} << 30};
    std::size_t lots = 0, nombre = 0;  // 4 x 400 + 2 x 40 + 3 x 250, two tasks of 3 a lot
    RayonsDuBanc(systeme, 2, 1, nullptr, Decoupage{3, 2}).Parcourir([&](auto lot) {
        ++lots;
        nombre += lot.size();
    });
    EXPECT_EQ(std::pair(nombre, lots), std::pair(std::size_t{2430}, std::size_t{(2430 + 5) / 6}));
    const auto reference = dessiner(1, un_lot, Sens::Avant);
    const std::tuple<int, Decoupage, std::optional<Sens>> cas[] = {
        {1, un_lot, Sens::Arriere},
        {2, Decoupage{3, 2}, Sens::Avant},
        {2, Decoupage{3, 2}, Sens::Arriere},
        {8, Decoupage{5, 3}, std::nullopt},
        {2, Decoupage{4, 3, 64, 0}, Sens::Arriere},  // lots ended by their bytes, none kept
        {3, Decoupage{7, 2, std::size_t{1} << 20, 0}, Sens::Avant},
    };
    for (const auto& [fils, decoupage, sens] : cas) {
        SCOPED_TRACE(testing::Message() << fils << " threads, " << decoupage.rayons_par_tache
                                        << " rays a task, order " << (sens ? int(*sens) : -1));
        EXPECT_TRUE(dessiner(fils, decoupage, sens) == reference);
    }
}

// Pictures drawn band after band, each band written as soon as it is drawn, several pictures
// at once or one, in buffers reused from one call to the next, are the pictures drawn whole
// then written: with 1, 2 and 8 threads, with rays crowding (drawn from the last) or not, in
// bands of a few rows up to megabytes, an empty picture among them.  In the second bench two
// fans of 3000 rays squeeze through a narrow strip of the first picture, where the bands are
// cut thinner by the estimate of their work and drawn first; the second sees them edge-on.
TEST(Parallele, BandeApresBandeCommeToutEntiere) {
    const std::string bancs[] = {
        kElements + kFaisceaux + "Z -2 -10 38 30 1500 2\nZ 5 -5 15 5 257 0.5\n" +
            "Z 0 -20 40 20 64 5\nZ 0 0 1 1 0 1\n",
        "I 1.52 400 1.51 500 1.50 600\nL 20 0 3 30 -30 16 0 1\n"
        "S 2 450 650 0 0 4 0 0.6 3000\nZ 0 -15 40 25 800 5\nZ 0 -1 40 1 64 0\n"};
    for (const std::string& banc : bancs) {
        Dossier d;
        System_Physique systeme;
        LireBanc(systeme, banc);
        const std::size_t n = systeme.zoomboxes.size();
        const auto chemin = (d.chemin() / "image.bmp").string();
        // Nothing kept: lot after lot into the whole picture, one thread.
        RayonsDuBanc seuls(systeme, 1, static_cast<int>(n), nullptr,
                           Decoupage{256, 128, std::size_t{1} << 30, 0});
        ASSERT_FALSE(seuls.Garder());
        std::vector<std::vector<std::uint8_t>> entieres;
        std::vector<std::string> chemins;
        for (const Image image : systeme.zoomboxes) {
            Raster raster(image.taille);
            Dessiner(systeme, image, raster, 1, seuls);
            EXPECT_TRUE(EcritureBMP(raster, chemin));
            entieres.push_back(Octets(Lire(chemin)));
            chemins.push_back(
                (d.chemin() / ("ensemble" + std::to_string(chemins.size()) + ".bmp")).string());
        }
        std::vector<Rangs> entiers;
        for (const Fenetre& z : systeme.zoomboxes) entiers.push_back({0, z.taille});
        // All at once, then one by one, in buffers kept from one call to the next.
        for (const int fils : {1, 2, 8}) {
            RayonsDuBanc rayons(systeme, fils, static_cast<int>(2 * n));
            ASSERT_TRUE(rayons.Garder());
            std::vector<Raster> tampons;
            EXPECT_EQ(DessinerEtEcrireBMP(systeme, systeme.zoomboxes, chemins, entiers, fils,
                                          rayons, tampons),
                      std::vector<int>(n, 0));
            for (std::size_t c = 0; c < n; ++c) {
                SCOPED_TRACE(testing::Message() << fils << " threads, zoombox " << c);
                EXPECT_TRUE(Octets(Lire(chemins[c])) == entieres[c]);
                EXPECT_EQ(
                    DessinerEtEcrireBMP(systeme, std::span(systeme.zoomboxes).subspan(c, 1),
                                        std::span(&chemin, 1), std::span(entiers).subspan(c, 1),
                                        fils, rayons, tampons),
                    std::vector<int>{0});
                EXPECT_TRUE(Octets(Lire(chemin)) == entieres[c]);
            }
        }
    }
}

}  // namespace
}  // namespace optic::test
