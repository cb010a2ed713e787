// Drawing a zoombox's picture over threads: bands of rows, lots of rays.
#include "optic/dessiner.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <span>

#include "optic/bmp.h"
#include "optic/parallele.h"
#include "render/dessin.h"

namespace optic {

namespace {

// Below this many rows a band is not worth a thread.
constexpr int kRangsParBandeMin = 64;
// Bands of a picture larger than the caches hold about this many bytes.
constexpr std::size_t kOctetsParBande = std::size_t{8} << 20;
// When every ray is kept, each band is drawn whole, one after the other: bands of about this
// many bytes, which stay in the processor's caches while they are painted, drawn and
// written; at least this many a thread, so that the threads share the work evenly where
// rays crowd in a few rows; and at least this many rows each.
constexpr std::size_t kOctetsParBandeSeule = std::size_t{2} << 20;
constexpr int kBandesParFil = 4;
constexpr int kRangsParBandeSeuleMin = 16;
// Bands being drawn or waiting to be written, beyond one a thread.
constexpr int kTamponsEnPlus = 2;

// Where rays crowd (more of them than twice the picture's side, each crossing much of it),
// from the last to the first, each pixel written by the first that reaches it: the picture of
// the drawing order, without writing again and again the same pixels.
Sens SensDuDessin(const RayonsDuBanc& rayons, const Image& image) {
    return rayons.Nombre() > 2 * static_cast<std::size_t>(image.taille) ? Sens::Arriere
                                                                        : Sens::Avant;
}

// How many bands a picture is cut into when each is drawn whole.
int BandesSeules(const Image& image, int nb_fils) {
    const std::size_t octets =
        static_cast<std::size_t>(image.taille) * Raster::PasLigne(image.taille);
    const std::size_t voulues =
        std::max<std::size_t>(octets / kOctetsParBandeSeule,
                              static_cast<std::size_t>(kBandesParFil) * std::max(nb_fils, 1));
    const std::size_t possibles = static_cast<std::size_t>(image.taille / kRangsParBandeSeuleMin);
    return static_cast<int>(
        std::clamp<std::size_t>(voulues, 1, std::max<std::size_t>(possibles, 1)));
}

// The first row of band b of n.
int DebutBande(int taille, int n, std::size_t b) {
    return static_cast<int>(taille * static_cast<std::int64_t>(b) / n);
}

// Paints rows [debut, fin) of a zoombox into a raster that holds them and draws the bench
// there: the elements, then every lot of rays, in the drawing order or, with a coverage,
// from its end.
void DessinerBande(const System_Physique& systeme, const Image& image, Raster& raster, int debut,
                   int fin, std::span<const std::span<const Rayon>> lots, Couverture* couverture) {
    Image v = image;
    v.Attacher(raster, debut, fin);
    PeindreFond(image, raster, debut, fin);
    systeme.DessinElements(v);
    if (couverture) {
        v.Couvrir(*couverture);
        for (auto lot = lots.rbegin(); lot != lots.rend(); ++lot) DessinRayons(*lot, v);
    } else {
        for (const std::span<const Rayon>& lot : lots) DessinRayons(lot, v);
    }
}

// Bands drawn by several threads into a few buffers, written to one file one band at a time:
// a thread that finds the file busy goes on drawing, and whoever writes next writes its band
// too (two threads writing one file at once only wait on each other).
class Atelier {
  public:
    Atelier(std::vector<Raster>& tampons, Flux& flux) : flux_(flux) {
        for (Raster& t : tampons) libres_.push_back(&t);
    }
    // A buffer to draw a band in; when none is free, the bands drawn are written first.
    Raster& Prendre() {
        for (;;) {
            {
                const std::lock_guard<std::mutex> garde(etat_);
                if (!libres_.empty()) {
                    Raster* t = libres_.back();
                    libres_.pop_back();
                    return *t;
                }
            }
            Ecrire(true);
        }
    }
    // A band drawn: written now, unless another thread is writing, then by the next writer.
    void Rendre(Raster& tampon) {
        {
            const std::lock_guard<std::mutex> garde(etat_);
            prets_.push_back(&tampon);
        }
        Ecrire(false);
    }
    // Writes whatever bands wait (once every thread is done).
    void Finir() { Ecrire(true); }

  private:
    void Ecrire(bool attendre) {
        std::unique_lock<std::mutex> fichier(fichier_, std::defer_lock);
        if (attendre) {
            fichier.lock();
        } else if (!fichier.try_lock()) {
            return;
        }
        for (;;) {
            std::vector<Raster*> lot;
            {
                const std::lock_guard<std::mutex> garde(etat_);
                lot.swap(prets_);
            }
            if (lot.empty()) return;
            for (Raster* t : lot) EcrireBande(flux_, *t);
            const std::lock_guard<std::mutex> garde(etat_);
            libres_.insert(libres_.end(), lot.begin(), lot.end());
        }
    }

    Flux& flux_;
    std::mutex etat_;     // guards the lists
    std::mutex fichier_;  // held by the one thread writing
    std::vector<Raster*> libres_, prets_;
};

}  // namespace

void Dessiner(const System_Physique& systeme, const Image& image, Raster& raster, int nb_fils,
              RayonsDuBanc& rayons, std::optional<Sens> sens) {
    if (!sens) sens = SensDuDessin(rayons, image);
    std::optional<Couverture> couverture;
    if (*sens == Sens::Arriere) couverture.emplace(image.taille);
    if (rayons.Garder()) {
        const std::vector<std::span<const Rayon>> lots = rayons.Lots();
        const int bandes = BandesSeules(image, nb_fils);
        EnParallele(static_cast<std::size_t>(bandes), nb_fils, [&](std::size_t b) {
            DessinerBande(systeme, image, raster, DebutBande(image.taille, bandes, b),
                          DebutBande(image.taille, bandes, b + 1), lots,
                          couverture ? &*couverture : nullptr);
        });
        return;
    }
    // Lot after lot.  A band per thread; in a picture too large for the processor's caches,
    // bands of a few megabytes, taken by the threads in turn, so that a band's rows stay in
    // cache while the rays are drawn into it.
    const std::size_t octets = static_cast<std::size_t>(image.taille) * raster.pas_ligne();
    const int par_cache = static_cast<int>(std::min<std::size_t>(octets / kOctetsParBande, 64));
    const int bandes =
        std::clamp(image.taille / kRangsParBandeMin, 1, std::max({nb_fils, par_cache, 1}));
    auto vue = [&](std::size_t b) {
        Image v = image;
        v.Attacher(raster, DebutBande(image.taille, bandes, b),
                   DebutBande(image.taille, bandes, b + 1));
        return v;
    };
    EnParallele(static_cast<std::size_t>(bandes), nb_fils, [&](std::size_t b) {
        const Image v = vue(b);
        PeindreFond(image, raster, v.rang_debut, v.rang_fin);
        systeme.DessinElements(v);
    });
    rayons.Parcourir(
        [&](std::span<const Rayon> lot) {
            EnParallele(static_cast<std::size_t>(bandes), nb_fils, [&](std::size_t b) {
                Image v = vue(b);
                if (couverture) v.Couvrir(*couverture);
                DessinRayons(lot, v);
            });
        },
        *sens);
}

bool DessinerEtEcrireBMP(const System_Physique& systeme, const Image& image, int nb_fils,
                         RayonsDuBanc& rayons, std::vector<Raster>& tampons,
                         const std::string& chemin) {
    const std::vector<std::span<const Rayon>> lots = rayons.Lots();
    const int bandes = BandesSeules(image, nb_fils);
    const int fils = std::clamp(nb_fils, 1, bandes);
    const int hauteur = (image.taille + bandes - 1) / bandes;
    // Every buffer before any thread starts, so that a failure is reported like any other.
    const std::size_t nombre = static_cast<std::size_t>(fils == 1 ? 1 : fils + kTamponsEnPlus);
    while (tampons.size() < nombre) tampons.emplace_back(0);
    while (tampons.size() > nombre) tampons.pop_back();
    for (Raster& t : tampons) t = Raster(image.taille, 0, hauteur, std::move(t));
    std::optional<Couverture> couverture;
    if (SensDuDessin(rayons, image) == Sens::Arriere) couverture.emplace(image.taille);
    return EcritureBMP(image.taille, chemin, [&](Flux& flux) {
        Atelier atelier(tampons, flux);
        EnParallele(static_cast<std::size_t>(bandes), fils, [&](std::size_t b) {
            if (!flux.Bon()) return;  // the writing failed or was interrupted: stop soon
            const int debut = DebutBande(image.taille, bandes, b);
            const int fin = DebutBande(image.taille, bandes, b + 1);
            Raster& tampon = atelier.Prendre();
            tampon = Raster(image.taille, debut, fin, std::move(tampon));  // large enough
            DessinerBande(systeme, image, tampon, debut, fin, lots,
                          couverture ? &*couverture : nullptr);
            atelier.Rendre(tampon);
        });
        atelier.Finir();
        return flux.Bon();
    });
}

}  // namespace optic
