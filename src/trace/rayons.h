#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "base/grands_blocs.h"
#include "base/suivi.h"
#include "model/system.h"
#include "trace/banc.h"

namespace optic {

// How the rays are cut into lots.  The defaults suit any bench; tests make them tiny.
struct Decoupage {
    std::size_t rayons_par_tache = 256;  // rays one thread traces at a time
    std::size_t taches_par_lot = 128;
    // A lot ends early once its paths and records take this many bytes (a ray trapped by
    // total reflection has a thousand points).
    std::size_t octets_par_lot = std::size_t{32} << 20;
    // Every lot is kept from one visit to the next, rather than traced again, when they all
    // take at most this many bytes.
    std::size_t octets_gardes = std::size_t{32} << 20;
};

// The order in which lots are visited: the drawing order, or from its end.
enum class Sens { Avant, Arriere };

// Every ray of the bench, traced when it is needed: memory follows the lots, not the number
// of rays.  Tracing gives the same paths every time, so lots that were not kept are simply
// traced again at the next visit.
class RayonsDuBanc {
  public:
    // `visites`: how many times the rays will be visited (lots are kept only for a later
    // one).  `suivi`, when given, hears of every ray traced the first time.
    RayonsDuBanc(const System_Physique& systeme, int nb_fils, int visites, Suivi* suivi = nullptr,
                 Decoupage decoupage = {});

    std::size_t Nombre() const { return banc_.NombreRayons(); }
    // How many bytes may be kept from one visit to the next (Decoupage::octets_gardes).
    std::size_t OctetsGardes() const { return decoupage_.octets_gardes; }
    // Whether every ray has been traced at least once.
    bool TousTraces() const { return visites_faites_ > 0; }
    // Whether every ray is kept from one visit to the next.  When no ray has been traced yet
    // and they make one lot, they are traced (a first visit) and kept if they fit the budget,
    // however many visits remain.
    bool Garder();
    // The kept lots, in order, once Garder has said that every ray is kept.
    std::vector<std::span<const Rayon>> Lots() const;
    // Hands every lot of the first visit, in whatever order it goes, to `observateur` with
    // the number of its first ray, before the visit sees it (empty: no longer).
    using Observateur = std::function<void(std::size_t debut, std::span<const Rayon> lot)>;
    void ObserverLaPremiereVisite(Observateur observateur) {
        observateur_ = std::move(observateur);
    }

    // Calls visiter(lot) for consecutive lots of traced rays, each lot in the drawing order
    // (source lines in file order, each line's wavelengths in order, each fan from its first
    // ray), the lots one after the other in that order or from its end, so that every ray is
    // visited once.  The rays and their paths live until the call returns.
    void Parcourir(const std::function<void(std::span<const Rayon>)>& visiter,
                   Sens sens = Sens::Avant);
    // The same, telling each lot's first ray's number in that order.
    void Parcourir(const std::function<void(std::size_t debut, std::span<const Rayon>)>& visiter,
                   Sens sens = Sens::Avant);

  private:
    struct Lot {
        std::size_t debut = 0, fin = 0;  // rays debut .. fin - 1
        std::vector<Rayon, GrandsBlocs<Rayon>> rayons;
        std::vector<std::vector<Point>> noeuds;  // one task's paths each
        std::size_t octets = 0;
    };
    // Traces a lot of rays that ends at `limite` (from the end) or starts there.
    void Tracer(std::size_t limite, Sens sens, Lot& lot);

    Banc banc_;
    int nb_fils_;
    int visites_;
    int visites_faites_ = 0;
    bool toujours_garder_ = false;  // keep the lots of the first visit whatever visits remain
    Suivi* suivi_;
    Observateur observateur_;
    Decoupage decoupage_;
    std::vector<Lot> gardes_;  // every lot, in order, once the first visit has kept them all
    Lot travail_;
};

}  // namespace optic
