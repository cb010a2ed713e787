// Drawing a zoombox's picture over threads: bands of rows, lots of rays.
#include "output/dessiner.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <span>

#include "base/parallele.h"
#include "draw/dessin.h"
#include "draw/jumeaux.h"
#include "output/bmp.h"
#include "raster/charge.h"
#include "write/fichier.h"

namespace optic {

namespace {

// Below this many rows a band is not worth a thread.
constexpr int kRangsParBandeMin = 64;
// Bands of a picture larger than the caches hold about this many bytes.
constexpr std::size_t kOctetsParBande = std::size_t{8} << 20;
// When every ray is kept, each band is drawn whole, one after the other: bands of at most
// this many bytes (one huge page, see AllouerBloc), which stay in the processor's caches
// while they are painted, drawn and written; at least this many a thread, so that the
// threads share the work evenly where rays crowd in a few rows; and at least this many rows
// each.
constexpr std::size_t kOctetsParBandeSeule = std::size_t{2} << 20;
constexpr int kBandesParFil = 4;
constexpr int kRangsParBandeSeuleMin = 16;
// Fewer when the bands' work is estimated and the heaviest are drawn first: every band a
// segment crosses walks it again.
constexpr int kBandesEstimeesParFil = 2;
// Drawing lot after lot on several threads: bands of a lot a thread (more even out where its
// rays crowd; each band a segment crosses sets it up again, so one thread draws one band).
constexpr int kBandesParLotParFil = 8;
// Bands being drawn or waiting to be written, beyond one a thread.
constexpr int kTamponsEnPlus = 2;

// Where rays crowd (more of them than twice the picture's side, each crossing much of it),
// from the last to the first, each pixel written by the first that reaches it: the picture of
// the drawing order, without writing again and again the same pixels.
Sens SensDuDessin(const RayonsDuBanc& rayons, const Image& image) {
    return rayons.Nombre() > 2 * static_cast<std::size_t>(image.taille) ? Sens::Arriere
                                                                        : Sens::Avant;
}

// How many bands `rangs` rows of a picture are cut into when each is drawn whole, at least
// `par_fil` a thread.
int BandesSeules(const Image& image, int rangs, int nb_fils, int par_fil = kBandesParFil) {
    const std::size_t pas = Raster::PasLigne(image.taille);
    const std::size_t octets = static_cast<std::size_t>(rangs) * pas;
    // A band's rows are rounded up to a whole row: a row less than the bytes allowed.
    const std::size_t par_bande = kOctetsParBandeSeule > pas ? kOctetsParBandeSeule - pas : 1;
    const std::size_t voulues =
        std::max<std::size_t>((octets + par_bande - 1) / par_bande,
                              static_cast<std::size_t>(par_fil) * std::max(nb_fils, 1));
    const std::size_t possibles = static_cast<std::size_t>(rangs / kRangsParBandeSeuleMin);
    return static_cast<int>(
        std::clamp<std::size_t>(voulues, 1, std::max<std::size_t>(possibles, 1)));
}

// The first row of band b of the n that rows [debut, fin) are cut into.
int DebutBande(int debut, int fin, int n, std::size_t b) {
    return debut + static_cast<int>((fin - debut) * static_cast<std::int64_t>(b) / n);
}

// The lots of rays, each with what drawing its rays into one zoombox needs.
struct LotPrepare {
    std::span<const Rayon> rayons;
    RayonsPrepares prepares;
};

// Prepares every kept lot for a zoombox; when the rays are drawn from the last (`arriere`),
// marks those whose first segment a later one drew (see Jumeaux).  With a `charge`, adds to
// it the work of drawing them, from one ray in kRayonsParEchantillon.
std::vector<LotPrepare> Preparer(const System_Physique& systeme,
                                 std::span<const std::span<const Rayon>> lots, const Image& image,
                                 bool arriere, Charge* charge = nullptr) {
    std::vector<LotPrepare> prepares;
    for (const std::span<const Rayon>& lot : lots) {
        prepares.push_back({lot, PreparerRayons(lot, image)});
    }
    std::size_t debut = 0;
    for (const std::span<const Rayon>& lot : lots) debut += lot.size();
    std::optional<Jumeaux> jumeaux;
    if (arriere) jumeaux.emplace(systeme);
    for (auto lot = prepares.rbegin(); lot != prepares.rend(); ++lot) {
        debut -= lot->rayons.size();
        if (jumeaux) jumeaux->Marquer(debut, lot->rayons, lot->prepares);
        if (charge) {
            ChargeDesRayons(
                lot->rayons, lot->prepares, image, arriere,
                (kRayonsParEchantillon - debut % kRayonsParEchantillon) % kRayonsParEchantillon,
                kRayonsParEchantillon, *charge);
        }
    }
    return prepares;
}

// Cuts a picture's rows into bands of about `travail` work each (see Charge), of at most
// `rangs_max` rows and, but for the last, at least kRangsParBandeSeuleMin: the first row of
// each band, then the picture's side.
std::vector<int> Couper(const Charge& charge, int taille, double travail, int rangs_max) {
    std::vector<int> bornes{0};
    for (int a = 0; a < taille;) {
        int b = std::min(taille, a + kRangsParBandeSeuleMin);
        while (b < taille && b - a < rangs_max && charge.Travail(a, b) < travail) ++b;
        bornes.push_back(b);
        a = b;
    }
    if (bornes.size() == 1) bornes.push_back(0);  // an empty picture: one empty band
    return bornes;
}

// Paints rows [debut, fin) of a zoombox into a raster that holds them and draws the bench
// there: the elements, then every lot of rays, in the drawing order or, with a coverage,
// from its end.
void DessinerBande(const System_Physique& systeme, const Image& image, Raster& raster, int debut,
                   int fin, std::span<const LotPrepare> lots, Couverture* couverture) {
    Image v = image;
    v.Attacher(raster, debut, fin);
    PeindreFond(image, raster, debut, fin);
    DessinElements(systeme, v);
    if (couverture) {
        v.Couvrir(*couverture);
        for (auto lot = lots.rbegin(); lot != lots.rend(); ++lot) {
            DessinRayons(lot->rayons, lot->prepares, v);
        }
    } else {
        for (const LotPrepare& lot : lots) DessinRayons(lot.rayons, lot.prepares, v);
    }
}

// A band drawn, waiting to be written: in buffer `tampon`, for picture `image`.
struct BandePrete {
    Raster* tampon;
    std::size_t image;
};

// Bands drawn by several threads into a few buffers, written one band at a time: a thread
// that finds the writing busy goes on drawing, and whoever writes next writes its band too
// (threads writing at once would only wait on each other).  Once a picture's last band is
// written, `finie(image)` is called, by the thread that wrote it.
class Atelier {
  public:
    Atelier(std::vector<Raster>& tampons, std::vector<Flux*> flux, std::vector<std::size_t> bandes,
            std::function<void(std::size_t)> finie)
        : flux_(std::move(flux)), restantes_(std::move(bandes)), finie_(std::move(finie)) {
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
    // Band of picture `image` drawn in `tampon` (or not drawn, with a null one, when the
    // picture failed already): written now, unless another thread is writing, then by the
    // next writer.
    void Rendre(Raster* tampon, std::size_t image) {
        {
            const std::lock_guard<std::mutex> garde(etat_);
            prets_.push_back({tampon, image});
        }
        Ecrire(false);
    }
    // Writes whatever bands wait (once every thread is done).
    void Finir() { Ecrire(true); }

  private:
    void Ecrire(bool attendre) {
        std::unique_lock<std::mutex> ecriture(ecriture_, std::defer_lock);
        if (attendre) {
            ecriture.lock();
        } else if (!ecriture.try_lock()) {
            return;
        }
        for (;;) {
            std::vector<BandePrete> lot;
            {
                const std::lock_guard<std::mutex> garde(etat_);
                lot.swap(prets_);
            }
            if (lot.empty()) return;
            for (const BandePrete& b : lot) {
                if (b.tampon) EcrireBande(*flux_[b.image], *b.tampon);
                if (--restantes_[b.image] == 0) finie_(b.image);
            }
            const std::lock_guard<std::mutex> garde(etat_);
            for (const BandePrete& b : lot) {
                if (b.tampon) libres_.push_back(b.tampon);
            }
        }
    }

    std::vector<Flux*> flux_;             // each picture's file
    std::vector<std::size_t> restantes_;  // each picture's bands still to write
    std::function<void(std::size_t)> finie_;
    std::mutex etat_;      // guards the lists
    std::mutex ecriture_;  // held by the one thread writing
    std::vector<Raster*> libres_;
    std::vector<BandePrete> prets_;
};

}  // namespace

void Dessiner(const System_Physique& systeme, const Image& image, Raster& raster, int nb_fils,
              RayonsDuBanc& rayons, std::optional<Sens> sens) {
    if (!sens) sens = SensDuDessin(rayons, image);
    std::optional<Couverture> couverture;
    if (*sens == Sens::Arriere) couverture.emplace(image.taille);
    const int debut = raster.debut(), fin = raster.fin(), rangs = fin - debut;
    if (rayons.Garder()) {
        const std::vector<LotPrepare> lots =
            Preparer(systeme, rayons.Lots(), image, couverture.has_value());
        const int bandes = BandesSeules(image, rangs, nb_fils);
        EnParallele(static_cast<std::size_t>(bandes), nb_fils, [&](std::size_t b) {
            DessinerBande(systeme, image, raster, DebutBande(debut, fin, bandes, b),
                          DebutBande(debut, fin, bandes, b + 1), lots,
                          couverture ? &*couverture : nullptr);
        });
        return;
    }
    // Lot after lot.  Several bands a thread, taken in turn, so that the threads end each lot
    // about together wherever its rays crowd; in a picture too large for the processor's
    // caches, bands of a few megabytes at most, so that a band's rows stay in cache while the
    // rays are drawn into it.
    const std::size_t octets = static_cast<std::size_t>(rangs) * raster.pas_ligne();
    const int par_cache = static_cast<int>(std::min<std::size_t>(octets / kOctetsParBande, 64));
    const int bandes =
        std::clamp(rangs / kRangsParBandeMin, 1,
                   std::max({nb_fils > 1 ? nb_fils * kBandesParLotParFil : 1, par_cache, 1}));
    auto vue = [&](std::size_t b) {
        Image v = image;
        v.Attacher(raster, DebutBande(debut, fin, bandes, b),
                   DebutBande(debut, fin, bandes, b + 1));
        return v;
    };
    EnParallele(static_cast<std::size_t>(bandes), nb_fils, [&](std::size_t b) {
        const Image v = vue(b);
        PeindreFond(image, raster, v.rang_debut, v.rang_fin);
        DessinElements(systeme, v);
    });
    std::optional<Jumeaux> jumeaux;
    if (couverture) jumeaux.emplace(systeme);
    rayons.Parcourir(
        [&](std::size_t debut, std::span<const Rayon> lot) {
            RayonsPrepares prepares = PreparerRayons(lot, image, nb_fils);
            if (jumeaux) jumeaux->Marquer(debut, lot, prepares);
            EnParallele(static_cast<std::size_t>(bandes), nb_fils, [&](std::size_t b) {
                Image v = vue(b);
                if (couverture) v.Couvrir(*couverture);
                DessinRayons(lot, prepares, v);
            });
        },
        *sens);
}

std::vector<int> DessinerEtEcrireBMP(const System_Physique& systeme,
                                     std::span<const Fenetre> fenetres,
                                     std::span<const std::string> chemins,
                                     std::span<const Rangs> rangs, int nb_fils,
                                     RayonsDuBanc& rayons, std::vector<Raster>& tampons) {
    const std::vector<std::span<const Rayon>> lots = rayons.Lots();
    const std::vector<Image> images(fenetres.begin(), fenetres.end());
    const std::size_t n = images.size();
    // Each picture's rays prepared, and the work of its rows estimated, a picture a thread;
    // every coverage first, and a failure reported by the calling thread, so that it is
    // reported like any other.
    std::vector<std::optional<Couverture>> couvertures(n);
    std::vector<std::vector<LotPrepare>> prepares(n);
    std::vector<Charge> charges;
    for (std::size_t p = 0; p < n; ++p) {
        if (SensDuDessin(rayons, images[p]) == Sens::Arriere) {
            couvertures[p].emplace(images[p].taille);
        }
        charges.emplace_back(images[p].taille);
    }
    std::vector<std::exception_ptr> echecs(n);
    EnParallele(n, nb_fils, [&](std::size_t p) {
        try {
            prepares[p] =
                Preparer(systeme, lots, images[p], couvertures[p].has_value(), &charges[p]);
            charges[p].Cumuler();
        } catch (...) {
            echecs[p] = std::current_exception();
        }
    });
    for (const std::exception_ptr& echec : echecs) {
        if (echec) std::rethrow_exception(echec);
    }
    // Every picture's bands, the most work first: no longer than the even cut of
    // BandesSeules, and none with more work than a thread's share of the whole, so that the
    // threads end about together.
    struct Tache {
        std::size_t image;
        int debut, fin;
        double travail;
    };
    std::vector<Tache> taches;
    std::vector<std::size_t> bandes(n, 0);
    double total = 0;
    for (std::size_t p = 0; p < n; ++p) total += charges[p].Travail(0, images[p].taille);
    const double part = total > 0 ? total / std::max(nb_fils, 1) : INFINITY;
    for (std::size_t p = 0; p < n; ++p) {
        const int taille = images[p].taille;
        const int seules = BandesSeules(images[p], taille, nb_fils, kBandesEstimeesParFil);
        const std::vector<int> bornes =
            Couper(charges[p], taille, part, (taille + seules - 1) / seules);
        // Only the bands' rows asked for; a picture with none of them still has one, empty,
        // which completes its file.
        const Rangs r = rangs[p];
        const std::size_t avant = taches.size();
        for (std::size_t b = 0; b + 1 < bornes.size(); ++b) {
            const int debut = std::max(bornes[b], r.debut), fin = std::min(bornes[b + 1], r.fin);
            if (debut < fin) taches.push_back({p, debut, fin, charges[p].Travail(debut, fin)});
        }
        if (taches.size() == avant) taches.push_back({p, r.debut, r.debut, 0});
        bandes[p] = taches.size() - avant;
    }
    // The buffers hold the band of the most bytes.
    int cote = 0, hauteur = 0;
    for (const Tache& t : taches) {
        const int taille = images[t.image].taille;
        if (Raster::PasLigne(taille) * static_cast<std::size_t>(t.fin - t.debut) >
            Raster::PasLigne(cote) * static_cast<std::size_t>(hauteur)) {
            cote = taille;
            hauteur = t.fin - t.debut;
        }
    }
    std::stable_sort(taches.begin(), taches.end(),
                     [](const Tache& a, const Tache& b) { return a.travail > b.travail; });
    const int fils = static_cast<int>(
        std::clamp<std::size_t>(static_cast<std::size_t>(nb_fils), 1, taches.size()));
    // Every buffer before any thread starts, so that a failure is reported like any other.
    const std::size_t nombre = static_cast<std::size_t>(fils == 1 ? 1 : fils + kTamponsEnPlus);
    while (tampons.size() < nombre) tampons.emplace_back(0);
    while (tampons.size() > nombre) tampons.pop_back();
    for (Raster& t : tampons) t = Raster(cote, 0, hauteur, std::move(t));

    const SignauxRetenus signaux;
    std::vector<std::unique_ptr<FichierEntier>> fichiers;
    std::vector<Flux*> flux;
    for (std::size_t p = 0; p < n; ++p) {
        fichiers.push_back(std::make_unique<FichierEntier>(chemins[p], signaux));
        flux.push_back(&fichiers.back()->flux());
        if (fichiers.back()->Ouvert()) CommencerBMP(*flux.back(), images[p].taille);
    }
    std::vector<int> erreurs(n, 0);
    auto finie = [&](std::size_t p) {
        if (!fichiers[p]->Terminer(fichiers[p]->Ouvert() && flux[p]->Bon())) erreurs[p] = errno;
    };
    Atelier atelier(tampons, flux, bandes, finie);
    EnParallele(taches.size(), fils, [&](std::size_t t) {
        const Tache& tache = taches[t];
        const std::size_t p = tache.image;
        // A picture whose writing failed or was interrupted: its bands are not drawn.
        if (!fichiers[p]->Ouvert() || !flux[p]->Bon()) return atelier.Rendre(nullptr, p);
        const Image& image = images[p];
        Raster& tampon = atelier.Prendre();
        tampon = Raster(image.taille, tache.debut, tache.fin, std::move(tampon));  // large enough
        DessinerBande(systeme, image, tampon, tache.debut, tache.fin, prepares[p],
                      couvertures[p] ? &*couvertures[p] : nullptr);
        atelier.Rendre(&tampon, p);
    });
    atelier.Finir();
    return erreurs;
}

}  // namespace optic
