#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "base/point.h"
#include "measure/systemes.h"
#include "model/system.h"

namespace optic {

// At most this many rays of a fan are kept for its aberrations, evenly spread over the fan.
inline constexpr std::size_t kRayonsAberrations = 1000;
// A ray's last segment counts as parallel to the axis when the sine of its angle with it
// is at most this: it meets the axis nowhere.
inline constexpr double kParalleleALAxe = 1e-12;

// One traced ray of a fan, in its system's frame.  NaN stands for a number the ray has not.
struct RayonAberration {
    double hauteur = 0;     // its start across the axis, along the system's `lateral`
    double angle = 0;       // its start direction from the axis, degrees, as a source line's
    double croisement = 0;  // where its last segment meets the axis, from the last vertex
    double transverse = 0;  // where its last segment meets the reference plane, across the axis
};

// The aberrations of a fan whose central ray runs along a system's axis from before its first
// surface.  `systeme` is 0 for a fan that has none.
struct Aberrations {
    int systeme = 0;            // from 1, as the systems are numbered
    bool point_source = false;  // a point (maybe virtual) on the axis, or else a parallel beam
    // The paraxial image: the back focal point of a parallel beam, the image of a point; and
    // its place along the axis from the last vertex.  NaN when at infinity.
    Point reference;
    double paraxial = 0;
    // The rays kept that left the system (ended open after meeting a surface), in fan order.
    std::vector<RayonAberration> rayons;
};

// The aberrations of every fan of a bench, from its traced rays fed lot by lot in any order
// (the rays kept are chosen by their place in their fan, so the result does not depend on
// the order), the systems given by Systemes.
class ReleveAberrations {
  public:
    ReleveAberrations(const System_Physique& systeme, const std::vector<SystemeOptique>& systemes);
    // Rays debut .. debut + rayons.size() - 1 of the bench's order, traced.
    void Ajouter(std::size_t debut, std::span<const Rayon> rayons);
    // One entry per fan, in ray order.
    std::vector<Aberrations> Resultat() const;

  private:
    struct Garde {
        std::size_t k;  // the ray's place in its fan
        Rayon depart;   // as it left the source
        double ecart;   // its direction from the fan's axis (which is the system's), radians
        Point position, direction;
        bool sorti = false;
    };
    struct Releve {                 // of one fan
        std::size_t premier = 0;    // its first ray in the bench's order
        Aberrations aberrations;    // without its rays
        std::vector<Garde> gardes;  // the rays kept, in fan order
    };
    std::vector<SystemeOptique> systemes_;
    std::vector<Releve> fans_;
};

// The rays of a fan of n that are kept: all of them up to kRayonsAberrations, otherwise
// that many, evenly spread, the first and the last included.
std::vector<std::size_t> RayonsGardes(std::size_t n);

}  // namespace optic
