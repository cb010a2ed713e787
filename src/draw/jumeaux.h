#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "draw/dessin.h"
#include "model/fans.h"
#include "model/system.h"

namespace optic {

// Rays drawn from the last to the first whose first segment a later ray drew already.  Ray k
// of a fan and ray k of the next fan of the same source line start alike (only the wavelength
// differs): where their first segments are the very same, bit for bit, the later ray, drawn
// first, covered every pixel of it.  Fed the lots of one picture from the last to the first,
// it remembers the first segment of each place in a fan of each source line, for the next fan
// down; within a budget of memory (otherwise it marks nothing).
class Jumeaux {
  public:
    explicit Jumeaux(const System_Physique& systeme);
    // The lot of rays debut .. debut + rayons.size() - 1 of the bench's order: marks in
    // `prepares` the rays whose first segment is drawn already (RayonPrepare::
    // premier_deja_trace).  Lots come from the last to the first.
    void Marquer(std::size_t debut, std::span<const Rayon> rayons,
                 std::span<RayonPrepare> prepares);

  private:
    static constexpr std::size_t kOctetsMax = std::size_t{16} << 20;
    // A fan's first slot in `segments_`, and whether the next fan is of the same line, with
    // as many rays.
    struct Places {
        std::size_t place;
        bool suivante_jumelle;
    };
    // A first segment (its ends; for a ray that met nothing, its start and direction), and
    // the fan of the ray that drew it.
    struct Segment {
        Point a, b;
        bool droite = false;  // a ray that met nothing
        std::size_t fan = SIZE_MAX;
    };
    std::vector<Fan> fans_;
    std::vector<Places> places_;     // fan by fan
    std::vector<Segment> segments_;  // by source line and place in a fan
};

}  // namespace optic
