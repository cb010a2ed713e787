#include "run/partage.h"

#include <algorithm>
#include <numeric>

namespace optic {

std::vector<int> PartsDesImages(const System_Physique& systeme, int parts) {
    const std::size_t n = systeme.zoomboxes.size();
    std::vector<int> part(n, 0);
    if (parts <= 1) return part;
    auto pixels = [&](std::size_t c) {
        const double cote = systeme.zoomboxes[c].taille;
        return cote * cote;
    };
    std::vector<std::size_t> ordre(n);
    std::iota(ordre.begin(), ordre.end(), std::size_t{0});
    std::stable_sort(ordre.begin(), ordre.end(),
                     [&](std::size_t a, std::size_t b) { return pixels(a) > pixels(b); });
    std::vector<double> charge(static_cast<std::size_t>(parts), 0);
    for (const std::size_t c : ordre) {
        const auto moins = std::min_element(charge.begin(), charge.end());
        part[c] = static_cast<int>(moins - charge.begin());
        *moins += pixels(c);
    }
    return part;
}

}  // namespace optic
