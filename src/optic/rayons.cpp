#include "optic/rayons.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "optic/parallele.h"
#include "optic/progression.h"
#include "optic/traceur.h"

namespace optic {

RayonsDuBanc::RayonsDuBanc(const System_Physique& systeme, int nb_fils, int visites,
                           Progression* suivi, Decoupage decoupage)
    : banc_(systeme),
      nb_fils_(nb_fils),
      visites_(visites),
      suivi_(suivi),
      decoupage_(decoupage),
      garder_(visites > 1) {
    decoupage_.rayons_par_tache = std::max<std::size_t>(decoupage_.rayons_par_tache, 1);
    decoupage_.taches_par_lot = std::max<std::size_t>(decoupage_.taches_par_lot, 1);
}

// Traces the lot that starts at ray `debut`: tasks of consecutive rays over the threads.
// Once the lot holds its share of bytes no further task starts; the lot ends before the
// first task that did not run, and whatever ran past it is traced again with the next lot.
void RayonsDuBanc::Tracer(std::size_t debut, Lot& lot) {
    const std::size_t par_tache = decoupage_.rayons_par_tache;
    const std::size_t reste = Nombre() - debut;
    const std::size_t taches =
        std::min(decoupage_.taches_par_lot, (reste + par_tache - 1) / par_tache);
    lot.debut = debut;
    lot.rayons.resize(std::min(reste, taches * par_tache));
    if (lot.noeuds.size() < taches) lot.noeuds.resize(taches);
    std::atomic<std::size_t> octets{0};
    std::unique_ptr<std::atomic<bool>[]> faites(new std::atomic<bool>[taches]);
    for (std::size_t j = 0; j < taches; ++j) faites[j] = false;
    EnParallele(taches, nb_fils_, [&](std::size_t j) {
        if (j > 0 && octets.load(std::memory_order_relaxed) >= decoupage_.octets_par_lot) return;
        const std::size_t a = j * par_tache;
        const std::size_t b = std::min(a + par_tache, lot.rayons.size());
        optic::Tracer(banc_, debut + a, debut + b, lot.rayons.data() + a, lot.noeuds[j]);
        octets.fetch_add((b - a) * sizeof(Rayon) + lot.noeuds[j].size() * sizeof(Point),
                         std::memory_order_relaxed);
        faites[j].store(true, std::memory_order_release);
    });
    std::size_t n = 0;
    while (n < taches && faites[n].load(std::memory_order_acquire)) ++n;
    lot.rayons.resize(std::min(lot.rayons.size(), n * par_tache));
    lot.fin = debut + lot.rayons.size();
    lot.octets = lot.rayons.capacity() * sizeof(Rayon);
    for (const std::vector<Point>& noeuds : lot.noeuds)
        lot.octets += noeuds.capacity() * sizeof(Point);
}

void RayonsDuBanc::Parcourir(const std::function<void(std::span<const Rayon>)>& visiter) {
    const bool premiere = visites_faites_ == 0;
    std::size_t k = 0;
    for (const Lot& lot : gardes_) {
        visiter(lot.rayons);
        k = lot.fin;
    }
    while (k < Nombre()) {
        Tracer(k, travail_);
        if (premiere && suivi_) suivi_->RayonsTraces(travail_.rayons.size());
        visiter(travail_.rayons);
        k = travail_.fin;
        if (premiere && garder_) {
            if (octets_gardes_ + travail_.octets <= decoupage_.octets_gardes) {
                octets_gardes_ += travail_.octets;
                gardes_.push_back(std::move(travail_));
                travail_ = Lot{};
            } else {
                garder_ = false;  // the rest is traced again at every visit
            }
        }
    }
    ++visites_faites_;
}

}  // namespace optic
