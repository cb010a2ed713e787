#pragma once

#include <cstddef>

#include "base/point.h"
#include "model/source.h"

namespace optic {

// The rays of a fan that left count as parallel when the smallest eigenvalue of their
// least-squares system is below this fraction of its largest: when their directions spread
// over less than about a millionth of a radian.
inline constexpr double kParallelisme = 1e-12;

// What the rays of a fan that left have in common.
enum class Convergence {
    Aucune,        // fewer than two rays left
    Point,         // they meet at a point, or seem to come from one
    Parallele,     // they are parallel
    Indeterminee,  // their numbers are out of range (coordinates of 1e300, say)
};

// How the rays of one fan ended and where those that left meet.
struct BilanFaisceau {
    int source = 0;       // usable source line, from 1 in file order
    double lambda = 0.0;  // wavelength, nanometres
    std::size_t rayons = 0;
    std::size_t sortis = 0;   // left the bench
    std::size_t arretes = 0;  // ended on an opaque surface, or born inside one
    std::size_t pieges = 0;   // ended by the limit on surface hits
    Convergence convergence = Convergence::Aucune;
    // With Convergence::Point: the point nearest to the last lines of the rays that left (least
    // squares), the root mean square of its distances to them, and whether it lies ahead of
    // most of them (a real image) or behind (a virtual one).
    Point image;
    double rms = 0.0;
    bool reelle = false;
    // With Convergence::Parallele: their mean direction in degrees, the angle of a source line
    // (0 towards +x, positive turning up in the picture); NaN when they go both ways equally.
    double direction = 0.0;
};

// Measures one fan from its traced rays, fed one at a time in ray order, in constant memory:
// pass 1 counts the rays and folds each line into a 2 x 2 least-squares system by Givens
// rotations, in coordinates relative to the first line's point; pass 2, needed only when the
// rays meet, measures each ray's distance to the point found and on which side it lies.
class MesureFaisceau {
  public:
    MesureFaisceau(int source, double lambda) {
        bilan_.source = source;
        bilan_.lambda = lambda;
    }
    void Compter(const Rayon& rayon);  // pass 1
    // Pass 1 of the rays that come after those counted here, counted apart from them: both
    // as one, as if they had been counted in one go (to rounding).
    void Joindre(const MesureFaisceau& suite);
    // Between the passes: solves the system; true when pass 2 is needed.
    bool Resoudre();
    void Verifier(const Rayon& rayon);  // pass 2
    BilanFaisceau Bilan() const;

  private:
    // Folds the row [a1 a2 | b] of the least-squares system into its triangular factor.
    void Plier(double a1, double a2, double b);

    BilanFaisceau bilan_;
    std::size_t droites_ = 0;  // rays that left along a line that can be measured
    Point origine_;            // the first line's point: every point is taken relative to it
    // The triangular system R x = z, built from the rows [normal | normal . point].
    double r11_ = 0, r12_ = 0, r22_ = 0, z1_ = 0, z2_ = 0;
    Point somme_directions_;
    Point solution_;  // relative to origine_
    double carres_ = 0;
    std::size_t devant_ = 0;
};

}  // namespace optic
