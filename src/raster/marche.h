#pragma once

#include <cstdint>

namespace optic {

// The walk t(0) = debut, t(k + 1) = t(k) + pas, each sum rounded to a double, as the
// plotting loops step through space.  Within one binade, adding the same step moves by a
// constant, exactly representable increment (after at most one step, when the step falls
// on a rounding tie), so the walk is cut into runs over which
//     t(k) = origine + (k - premier) * increment
// holds bit for bit.  Any stretch of the walk can then be computed without walking it.
class Marche {
  public:
    struct Troncon {
        std::int64_t premier = 0;  // step number of the run's first point
        std::int64_t nombre = 0;   // points in the run
        double origine = 0.0;      // t(premier)
        double increment = 0.0;    // t(k + 1) - t(k) within the run; 0 when the walk stands still

        double Valeur(std::int64_t k) const {
            return origine + static_cast<double>(k - premier) * increment;
        }
    };

    // `pas` must be positive.
    Marche(double debut, double pas) : t_(debut), pas_(pas) {}

    // The next run, holding at most `jusqua - k` points (k: the walk's current step).
    // Empty once k reaches `jusqua`.
    Troncon Suivant(std::int64_t jusqua);

  private:
    std::int64_t k_ = 0;
    double t_;
    double pas_;
};

}  // namespace optic
