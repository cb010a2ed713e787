#include "run/partage.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "draw/dessin.h"
#include "raster/charge.h"
#include "raster/image.h"

namespace optic {

namespace {

// A pixel painted and written costs about as much as this many points of a ray drawn.
constexpr double kPointsParPixel = 0.25;
// Measuring a ray (the report's pass) costs about as much as drawing this many points.
constexpr double kPointsParRayonMesure = 100.0;
// Putting a picture together from bands (the page's joiner, see web/crew.js) costs about as
// much as drawing this many points a pixel.
constexpr double kPointsParPixelJoint = 5.0;
// Runs' shares of work may differ by this much of a share, or by what putting a picture
// together would cost, for the picture to stay whole.
constexpr double kPresque = 0.1;
// Each run that draws rows of a picture holds a file of the whole picture: larger ones are
// never cut.
constexpr int kCoteMaxCoupe = 4096;
// The rays' work is estimated for at most this many rows in all (24 bytes a row), pixels
// counted beyond.
constexpr std::size_t kRangsEstimesMax = std::size_t{1} << 20;

}  // namespace

Travail EstimerTravail(const System_Physique& systeme, RayonsDuBanc& rayons) {
    const std::vector<Fenetre>& zoomboxes = systeme.zoomboxes;
    std::size_t rangs = 0;
    for (const Fenetre& z : zoomboxes) rangs += static_cast<std::size_t>(std::max(z.taille, 0));
    if (rangs > kRangsEstimesMax || !rayons.Garder()) {
        return {[&zoomboxes](std::size_t c, int debut, int fin) {
            return static_cast<double>(zoomboxes[c].taille) * (fin - debut);
        }};
    }
    // Only the rays sampled are prepared for each zoombox.
    std::vector<Rayon> echantillon;
    std::size_t numero = 0;
    for (const std::span<const Rayon> lot : rayons.Lots()) {
        for (const Rayon& r : lot) {
            if (numero++ % kRayonsParEchantillon == 0) echantillon.push_back(r);
        }
    }
    auto charges = std::make_shared<std::vector<Charge>>();
    for (const Image image : zoomboxes) {
        Charge& charge = charges->emplace_back(image.taille);
        ChargeDesRayons(echantillon, PreparerRayons(echantillon, image), image, false, 0, 1,
                        charge);
        charge.Cumuler();
    }
    return {[&zoomboxes, charges](std::size_t c, int debut, int fin) {
                return kPointsParPixel * zoomboxes[c].taille * (fin - debut) +
                       static_cast<double>(kRayonsParEchantillon) *
                           (*charges)[c].Travail(debut, fin);
            },
            kPointsParRayonMesure * static_cast<double>(rayons.Nombre()), kPointsParPixelJoint};
}

std::vector<PartImage> PartsDesImages(const System_Physique& systeme, int part, int parts,
                                      const Travail& estimation) {
    const TravailDesRangs& travail = estimation.rangs;
    const std::size_t n = systeme.zoomboxes.size();
    std::vector<PartImage> images(n);
    auto cote = [&](std::size_t c) { return std::max(systeme.zoomboxes[c].taille, 0); };
    if (parts <= 1) {
        for (std::size_t c = 0; c < n; ++c) images[c] = {true, {0, cote(c)}};
        return images;
    }
    // Where each picture's work starts, and where the last ends.
    std::vector<double> places{estimation.mesures};
    for (std::size_t c = 0; c < n; ++c) places.push_back(places.back() + travail(c, 0, cote(c)));
    const double total = places.back();
    // Where stretch p starts: a picture is cut only where that evens the work out by more
    // than a little, since its bands must then be put together.
    auto borne = [&](int p) {
        if (p == 0) return 0.0;
        const double b = total * p / parts;
        // The picture b falls in, from places[c] to places[c + 1], and its nearer edge.
        const auto apres = std::upper_bound(places.begin() + 1, places.end(), b);
        if (apres == places.end()) return b;
        const auto c = static_cast<std::size_t>(apres - places.begin() - 1);
        const double s = cote(c);
        const double marge = cote(c) > kCoteMaxCoupe
                                 ? INFINITY
                                 : std::max(kPresque * total / parts, estimation.jonction * s * s);
        if (*apres - b < std::min(marge, b - places[c])) return *apres;
        if (b - places[c] < marge) return places[c];
        return b;
    };
    const double debut = borne(part);
    const bool derniere = part == parts - 1;
    // The first row of zoombox c, placed at `place`, whose work starts at or past `b`: the
    // work of the rows before a row only grows down the picture.
    auto premier_rang = [&](std::size_t c, double place, double b) {
        int bas = 0, haut = cote(c);
        while (bas < haut) {
            const int milieu = bas + (haut - bas) / 2;
            if (place + travail(c, 0, milieu) >= b) {
                haut = milieu;
            } else {
                bas = milieu + 1;
            }
        }
        return bas;
    };
    const double fin = derniere ? 0 : borne(part + 1);
    for (std::size_t c = 0; c < n; ++c) {
        PartImage& image = images[c];
        const int s = cote(c);
        const double place = places[c];
        if (s == 0) {
            image.mienne = debut <= place && (derniere || place < fin);
        } else {
            image.rangs.debut = premier_rang(c, place, debut);
            image.rangs.fin = derniere ? s : premier_rang(c, place, fin);
            image.mienne = image.rangs.debut < image.rangs.fin;
        }
    }
    return images;
}

}  // namespace optic
