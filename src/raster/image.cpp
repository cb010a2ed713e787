#include "raster/image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace optic {

void Image::Attacher(Raster& raster, int debut, int fin) {
    pixels = debut < fin ? raster.Ligne(debut) : nullptr;
    pas_ligne = -static_cast<std::ptrdiff_t>(raster.pas_ligne());
    rang_debut = debut;
    rang_fin = fin;
}

Zoombox ConstruireZoombox(double x1, double y1, double x2, double y2, double cote, double grille) {
    Zoombox z;
    Fenetre& im = z.fenetre;
    im.largeur = x2 - x1 > y2 - y1 ? x2 - x1 : y2 - y1;
    im.grille = grille;
    im.zoom = cote / im.largeur;
    if (im.zoom > kZoomMax) {
        im.zoom = kZoomMax;
        z.zoom_plafonne = true;
    }
    // Decided in double precision, so that no value overflows an int.
    const double taille = std::trunc(im.zoom * im.largeur + 0.5);
    im.decalage_x = -x1;
    im.decalage_y = -y1;
    z.utilisable =
        !(im.zoom < 0.0) && !std::isnan(im.zoom) && taille >= 0.0 && taille <= kTailleMax;
    if (z.utilisable) im.taille = static_cast<int>(taille);
    return z;
}

void PeindreFond(const Image& image, Raster& raster, int debut, int fin) {
    const int n = raster.taille();
    if (n <= 0) return;
    debut = std::max(debut, raster.debut());
    fin = std::min(fin, raster.fin());
    const std::size_t octets_ligne = raster.octets_ligne();
    const double s = std::trunc(image.zoom * image.grille + 0.5);  // grid spacing, pixels
    const bool grille = s >= 2.0;
    // A spacing beyond the picture marks only column 0 and row 0.
    const int espacement = !grille ? 0 : s >= n ? n : static_cast<int>(s);

    std::vector<std::uint8_t> ligne_pleine(octets_ligne, 0);
    std::vector<std::uint8_t> ligne_ordinaire(octets_ligne, 0);
    auto poser = [](std::uint8_t* p, Pixel c) {
        p[0] = c.bleu;
        p[1] = c.vert;
        p[2] = c.rouge;
    };
    for (int x = 0; x < n; ++x) {
        poser(&ligne_pleine[3 * static_cast<std::size_t>(x)],
              grille ? kCouleurGrille : kCouleurFond);
        const bool colonne = grille && x % espacement == 0;
        poser(&ligne_ordinaire[3 * static_cast<std::size_t>(x)],
              colonne ? kCouleurGrille : kCouleurFond);
    }
    for (int y = debut; y < fin; ++y) {
        const bool rangee = grille && y % espacement == 0;
        std::memcpy(raster.Ligne(y), rangee ? ligne_pleine.data() : ligne_ordinaire.data(),
                    octets_ligne);
    }
}

}  // namespace optic
