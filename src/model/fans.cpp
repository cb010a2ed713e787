#include "model/fans.h"

#include <algorithm>

namespace optic {

std::vector<Fan> TableDesFans(const System_Physique& systeme) {
    std::vector<Fan> fans;
    std::size_t premier = 0;
    for (std::size_t l = 0; l < systeme.sources.size(); ++l) {
        for (const Source_monochromatique& source : systeme.sources[l].sources) {
            fans.push_back(Fan{&source, l, premier, source.NombreRayons()});
            premier += fans.back().nombre;
        }
    }
    return fans;
}

std::size_t FanDuRayon(std::span<const Fan> fans, std::size_t k) {
    const auto apres = std::upper_bound(fans.begin(), fans.end(), k,
                                        [](std::size_t r, const Fan& f) { return r < f.premier; });
    return apres == fans.begin() ? 0 : static_cast<std::size_t>(apres - fans.begin()) - 1;
}

}  // namespace optic
