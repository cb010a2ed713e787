#include "raster/marche.h"

#include <cfloat>
#include <cmath>

#include "base/bits.h"

namespace optic {

Marche::Troncon Marche::Suivant(std::int64_t jusqua) {
    Troncon r;
    r.premier = k_;
    r.origine = t_;
    if (k_ >= jusqua) return r;

    const double a = t_ + pas_;
    auto seul = [&] {  // a run of one point; the walk steps by one plain sum
        r.nombre = 1;
        r.increment = a - t_;
        ++k_;
        t_ = a;
        return r;
    };
    if (!(std::fabs(t_) >= DBL_MIN) || !std::isfinite(a) || !std::isfinite(t_)) return seul();

    // The binade of t and the ulp there, read off t's exponent bits.  Walking up, the run
    // must stay below `borne`: for t > 0 the binade's top; for t < 0 minus its bottom
    // (magnitudes shrink).
    const std::uint64_t exposant = (BitsDe(t_) >> 52) & 0x7ff;
    if (exposant <= 52) return seul();  // ulps below the normal range: step by step
    const double bas = ReelDe(exposant << 52);
    const double ulp = ReelDe((exposant - 52) << 52);
    const double borne = t_ > 0 ? 2 * bas : -bas;
    if (!(a < borne)) return seul();

    const double increment = a - t_;  // exact: same binade
    const double b = a + pas_;
    if (increment != 0 && !(b < borne && b - a == increment)) return seul();

    std::int64_t n;
    if (increment == 0) {
        n = jusqua - k_;  // the step is lost in rounding: the walk stands still
    } else {
        // Points t + j * increment below `borne`; both are whole numbers of ulps.
        const auto distance = static_cast<std::int64_t>((borne - t_) / ulp);
        const auto marche = static_cast<std::int64_t>(increment / ulp);
        n = (distance + marche - 1) / marche;
        if (n > jusqua - k_) n = jusqua - k_;
    }
    r.nombre = n;
    r.increment = increment;
    const double dernier = r.Valeur(k_ + n - 1);
    k_ += n;
    t_ = dernier + pas_;
    return r;
}

}  // namespace optic
