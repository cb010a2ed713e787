#pragma once

#include <cstdint>
#include <vector>

#include "measure/mesures.h"
#include "model/system.h"
#include "trace/rayons.h"

namespace optic {

// Measures a bench's rays on their way through the run: the measurements' first pass rides
// on the first visit of the rays, whichever it is (the first picture's drawing, in whatever
// order it takes the lots), which also keeps the rays' ends when they fit the budget for what
// is kept between visits; the second pass reads those ends, or visits the rays once more.
// The results do not depend on the order of that first visit, nor on the threads.
class MesureDesRayons {
  public:
    // Listens to the rays' first visit, which must not have begun.
    MesureDesRayons(const System_Physique& systeme, RayonsDuBanc& rayons);
    ~MesureDesRayons();
    MesureDesRayons(const MesureDesRayons&) = delete;
    MesureDesRayons& operator=(const MesureDesRayons&) = delete;

    // The measurements, once the rays' visits are over; the rays are visited here when no
    // visit has reached them all.
    Mesures Finir();

  private:
    // What the second pass needs of a ray.
    struct Bout {
        Point position, direction;
        std::uint32_t faisceau;
        FinRayon fin;
    };

    RayonsDuBanc& rayons_;
    MesureBanc mesure_;
    std::vector<Bout> bouts_;  // every ray's, when they fit
    bool garder_;
};

// Measures the rays of a bench at once (see MesureDesRayons).
Mesures MesurerRayons(const System_Physique& systeme, RayonsDuBanc& rayons);

}  // namespace optic
