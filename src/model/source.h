#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/point.h"

namespace optic {

// Why a traced path ended.
enum class FinRayon : std::uint8_t {
    Ouverte,  // it did not: the ray leaves the bench
    Opaque,   // on an opaque surface, or at its start, born where the index is 0 (in a blade)
    Limite,   // at the limit on surface hits: a ray trapped by total reflection
};

// One ray of light.  Before tracing, `position` is its starting point and `direction` a unit
// vector; tracing leaves `position` and `direction` on its last segment and `chemin` on every
// point the ray reached, its start first.  The points belong to whoever traced the ray.
struct Rayon {
    double lambda = 0.0;  // wavelength, nanometres
    Point position;
    Point direction;
    // True when the path ends on an opaque surface (or was cut short); otherwise the ray goes
    // on without end from `position` along `direction`.
    bool arret = false;
    // Why the path ended, for whoever measures the rays; the drawing needs only `arret`.
    FinRayon fin = FinRayon::Ouverte;
    // Its fan's number among all the bench's fans (one per wavelength of each source line),
    // in ray order.
    std::uint32_t faisceau = 0;
    std::span<const Point> chemin;

    std::span<const Point> Chemin() const { return chemin; }
};

// A fan of rays of one wavelength: they start evenly spaced on a segment of length
// `largeur_faisceau` centred on `milieu`, across the beam's axis, and their directions are
// those of a point source behind the segment, spread over `ouverture`.  The beam's axis
// points at the angle -`angle`.  Ray k is computed when it is asked for: a fan of a million
// rays costs no memory.
class Source_monochromatique {
  public:
    double lambda = 0.0;  // wavelength, nanometres, also when there is no ray

    Source_monochromatique(double lambda, Point milieu, double ouverture, double angle,
                           int nb_rayons, double largeur_faisceau);

    std::size_t NombreRayons() const { return nb_rayons_; }
    // Ray k (0 <= k < NombreRayons()) as it leaves the source, not yet traced.
    Rayon Depart(std::size_t k) const;
    // The beam's geometry: the middle of its segment, its axis's angle (radians, from +x
    // towards +y), half its opening and half its width.
    Point Milieu() const { return milieu_; }
    double Axe() const { return theta_; }
    double DemiOuverture() const { return h_; }
    double DemiLargeur() const { return w_; }
    // Ray k's direction from the beam's axis, radians (from +x towards +y), as Depart gives
    // it: the same number natively and in the browser, unlike an angle read back from the
    // direction.
    double Ecart(std::size_t k) const;

  private:
    double T(std::size_t k) const;  // ray k > 0's place on the segment, from -1 to 1

    std::size_t nb_rayons_ = 0;
    Point milieu_;
    double theta_ = 0.0;  // the beam's axis
    double h_ = 0.0;      // half the opening
    double w_ = 0.0;      // half the width
    double s_ = 0.0, c_ = 0.0, tan_h_ = 0.0;
};

// The sources of one source line, one per wavelength, sharing everything else.
struct Source_polychromatique {
    std::vector<Source_monochromatique> sources;
};

}  // namespace optic
