#include "trace/rayons.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "base/parallele.h"
#include "trace/traceur.h"

namespace optic {

RayonsDuBanc::RayonsDuBanc(const System_Physique& systeme, int nb_fils, int visites, Suivi* suivi,
                           Decoupage decoupage)
    : banc_(systeme), nb_fils_(nb_fils), visites_(visites), suivi_(suivi), decoupage_(decoupage) {
    decoupage_.rayons_par_tache = std::max<std::size_t>(decoupage_.rayons_par_tache, 1);
    decoupage_.taches_par_lot = std::max<std::size_t>(decoupage_.taches_par_lot, 1);
}

// Tasks of consecutive rays over the threads, from the lot's first ray on (or from its last
// ray back).  Once the lot holds its share of bytes no further task starts; the lot ends
// before the first task that did not run, and whatever ran past it is traced again with
// the next lot.
void RayonsDuBanc::Tracer(std::size_t limite, Sens sens, Lot& lot) {
    const std::size_t par_tache = decoupage_.rayons_par_tache;
    const std::size_t reste = sens == Sens::Avant ? Nombre() - limite : limite;
    const std::size_t taches =
        std::min(decoupage_.taches_par_lot, (reste + par_tache - 1) / par_tache);
    const std::size_t rayons = std::min(reste, taches * par_tache);
    const std::size_t debut = sens == Sens::Avant ? limite : limite - rayons;
    // Task j's rays, as offsets in the lot.
    auto bornes = [&](std::size_t j, std::size_t& a, std::size_t& b) {
        if (sens == Sens::Avant) {
            a = j * par_tache;
            b = std::min(a + par_tache, rayons);
        } else {
            b = rayons - j * par_tache;
            a = b > par_tache ? b - par_tache : 0;
        }
    };
    lot.rayons.resize(rayons);
    if (lot.noeuds.size() < taches) lot.noeuds.resize(taches);
    std::atomic<std::size_t> octets{0};
    std::unique_ptr<std::atomic<bool>[]> faites(new std::atomic<bool>[taches]);
    for (std::size_t j = 0; j < taches; ++j) faites[j] = false;
    EnParallele(taches, nb_fils_, [&](std::size_t j) {
        if (j > 0 && octets.load(std::memory_order_relaxed) >= decoupage_.octets_par_lot) return;
        std::size_t a, b;
        bornes(j, a, b);
        optic::Tracer(banc_, debut + a, debut + b, lot.rayons.data() + a, lot.noeuds[j]);
        octets.fetch_add((b - a) * sizeof(Rayon) + lot.noeuds[j].size() * sizeof(Point),
                         std::memory_order_relaxed);
        faites[j].store(true, std::memory_order_release);
    });
    std::size_t n = 0;
    while (n < taches && faites[n].load(std::memory_order_acquire)) ++n;
    std::size_t a, b;
    bornes(n - 1, a, b);
    if (sens == Sens::Avant) {
        lot.rayons.resize(b);
        lot.debut = debut;
        lot.fin = debut + b;
    } else {
        lot.rayons.erase(lot.rayons.begin(), lot.rayons.begin() + static_cast<std::ptrdiff_t>(a));
        lot.debut = debut + a;
        lot.fin = limite;
    }
    lot.octets = lot.rayons.capacity() * sizeof(Rayon);
    for (const std::vector<Point>& noeuds : lot.noeuds) {
        lot.octets += noeuds.capacity() * sizeof(Point);
    }
}

void RayonsDuBanc::Parcourir(const std::function<void(std::span<const Rayon>)>& visiter,
                             Sens sens) {
    Parcourir([&](std::size_t, std::span<const Rayon> lot) { visiter(lot); }, sens);
}

void RayonsDuBanc::Parcourir(
    const std::function<void(std::size_t debut, std::span<const Rayon>)>& visiter, Sens sens) {
    const bool premiere = visites_faites_++ == 0;
    if (!premiere && !gardes_.empty()) {
        if (sens == Sens::Avant) {
            for (const Lot& lot : gardes_) visiter(lot.debut, lot.rayons);
        } else {
            for (auto lot = gardes_.rbegin(); lot != gardes_.rend(); ++lot) {
                visiter(lot->debut, lot->rayons);
            }
        }
        return;
    }
    bool garder = premiere && (visites_ > 1 || toujours_garder_);
    std::size_t octets_gardes = 0;
    std::size_t k = sens == Sens::Avant ? 0 : Nombre();
    while (sens == Sens::Avant ? k < Nombre() : k > 0) {
        Tracer(k, sens, travail_);
        if (premiere && suivi_) suivi_->RayonsTraces(travail_.rayons.size());
        if (premiere && observateur_) observateur_(travail_.debut, travail_.rayons);
        visiter(travail_.debut, travail_.rayons);
        k = sens == Sens::Avant ? travail_.fin : travail_.debut;
        if (!garder) continue;
        octets_gardes += travail_.octets;
        if (octets_gardes <= decoupage_.octets_gardes) {
            gardes_.push_back(std::move(travail_));
            travail_ = Lot{};
        } else {
            garder = false;  // they do not all fit: every visit traces them again
            gardes_.clear();
        }
    }
    if (sens == Sens::Arriere) std::reverse(gardes_.begin(), gardes_.end());
}

bool RayonsDuBanc::Garder() {
    if (visites_faites_ == 0 &&
        Nombre() <= decoupage_.rayons_par_tache * decoupage_.taches_par_lot) {
        toujours_garder_ = true;
        Parcourir([](std::span<const Rayon>) {});
    }
    return Nombre() == 0 || !gardes_.empty();
}

std::vector<std::span<const Rayon>> RayonsDuBanc::Lots() const {
    std::vector<std::span<const Rayon>> lots;
    for (const Lot& lot : gardes_) lots.emplace_back(lot.rayons);
    return lots;
}

}  // namespace optic
