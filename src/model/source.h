#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "model/point.h"

namespace optic {

// Why a traced path ended.
enum class FinRayon : std::uint8_t {
    Ouverte,  // it did not: the ray leaves the bench
    Opaque,   // on an opaque surface, or at its start, born where the index is 0 (in a blade)
    Limite,   // at the limit on surface hits: a ray trapped by total reflection
};

// One ray of light.  Before tracing, its path holds its starting point and `direction` is a
// unit vector; tracing replaces the path with every point the ray reached and leaves
// `position` and `direction` on its last segment.
struct Rayon {
    double lambda = 0.0;  // wavelength, nanometres
    Point position;
    Point direction;
    // True when the path ends on an opaque surface (or was cut short); otherwise the ray goes
    // on without end from `position` along `direction`.
    bool arret = false;
    // Why the path ended, for whoever measures the rays; the drawing needs only `arret`.
    FinRayon fin = FinRayon::Ouverte;

    std::span<const Point> Chemin() const { return {chemin_.get(), nb_noeuds_}; }
    void DefinirChemin(std::span<const Point> noeuds);

  private:
    std::unique_ptr<Point[]> chemin_;
    std::size_t nb_noeuds_ = 0;
};

// A fan of rays of one wavelength: they start evenly spaced on a segment of length
// `largeur_faisceau` centred on `milieu`, across the beam's axis, and their directions are
// those of a point source behind the segment, spread over `ouverture`.  The beam's axis
// points at the angle -`angle`.
struct Source_monochromatique {
    double lambda = 0.0;  // wavelength, nanometres, also when there is no ray
    std::vector<Rayon> rayons;

    Source_monochromatique(double lambda, Point milieu, double ouverture, double angle,
                           int nb_rayons, double largeur_faisceau);
};

// The sources of one source line, one per wavelength, sharing everything else.
struct Source_polychromatique {
    std::vector<Source_monochromatique> sources;
};

}  // namespace optic
