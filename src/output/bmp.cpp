#include "output/bmp.h"

#include <vector>

#include "write/fichier.h"

namespace optic {

std::array<std::uint8_t, kTailleEntete> EnteteBMP(int taille) {
    const std::uint32_t d = static_cast<std::uint32_t>(taille);
    const auto donnees = static_cast<std::uint32_t>(OctetsPixelsBMP(taille));
    std::array<std::uint8_t, kTailleEntete> e{};
    auto mot = [&](std::size_t position, std::uint32_t valeur, int octets) {
        for (int i = 0; i < octets; ++i)
            e[position + i] = static_cast<std::uint8_t>(valeur >> (8 * i));
    };
    e[0] = 'B';
    e[1] = 'M';
    mot(2, donnees + kTailleEntete, 4);  // file size
    mot(6, 0, 4);                        // reserved
    mot(10, kTailleEntete, 4);           // offset of the pixels
    mot(14, 40, 4);                      // size of the information header
    mot(18, d, 4);                       // width
    mot(22, d, 4);                       // height: positive, rows bottom-up
    mot(26, 1, 2);                       // planes
    mot(28, 24, 2);                      // bits per pixel
    mot(30, 0, 4);                       // no compression
    mot(34, donnees, 4);                 // pixel data size
    mot(38, kPixelsParMetre, 4);         // pixels per metre, horizontally
    mot(42, kPixelsParMetre, 4);         // and vertically
    mot(46, 0, 4);                       // colours used
    mot(50, 0, 4);                       // important colours
    return e;
}

bool EcritureBMP(const Raster& raster, const std::string& chemin) {
    return EcrireFichier(chemin, [&](Flux& flux) {
        return CommencerBMP(flux, raster.taille()) && EcrireBande(flux, raster);
    });
}

bool CommencerBMP(Flux& flux, int taille) {
    auto entete = EnteteBMP(taille);
    // Sized first, so that a file system in memory (the web engine's) takes the whole
    // picture at once instead of growing it band by band.
    return flux.Reserver(kTailleEntete + static_cast<std::size_t>(OctetsPixelsBMP(taille))) &&
           flux.EcrireA(0, {{entete.data(), entete.size()}});
}

bool EcrireBande(Flux& flux, const Raster& raster) {
    if (raster.debut() >= raster.fin()) return flux.Bon();
    // The band's rows in file order (the bottom one first): one sequential write, of one
    // piece where rows lie in memory as in the file.
    std::vector<iovec> morceaux;
    const int premiere = raster.taille() - raster.fin();
    for (int k = premiere; k < raster.taille() - raster.debut(); ++k) {
        auto* ligne = const_cast<std::uint8_t*>(raster.LigneFichier(k));
        if (!morceaux.empty() &&
            static_cast<std::uint8_t*>(morceaux.back().iov_base) + morceaux.back().iov_len ==
                ligne) {
            morceaux.back().iov_len += raster.octets_ligne();
        } else {
            morceaux.push_back({ligne, raster.octets_ligne()});
        }
    }
    return flux.EcrireA(
        kTailleEntete + static_cast<std::uint64_t>(premiere) * raster.octets_ligne(),
        std::move(morceaux));
}

}  // namespace optic
