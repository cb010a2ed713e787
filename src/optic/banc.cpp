#include "optic/banc.h"

#include <algorithm>

namespace optic {

Banc::Banc(const System_Physique& systeme) : indice_espace_(systeme.espace.indice_espace) {
    for (const Element& e : systeme.elements) {
        if (e.dioptres.empty()) continue;
        elements_.push_back(Contenu{&e, BoiteContenu(e)});
        surfaces_.insert(surfaces_.end(), e.dioptres.begin(), e.dioptres.end());
    }
    for (const Source_polychromatique& groupe : systeme.sources) {
        for (const Source_monochromatique& source : groupe.sources) {
            sources_.push_back(Fan{&source, total_});
            total_ += source.NombreRayons();
            for (const Contenu& c : elements_) {
                const Element& e = *c.element;
                indices_.push_back(e.indice ? e.indice->Indice(source.lambda) : 0.0);
            }
        }
    }
}

std::size_t Banc::SourceDuRayon(std::size_t k) const {
    // The last source whose first ray is at or before k: it has rays, since k < total.
    auto apres = std::upper_bound(sources_.begin(), sources_.end(), k,
                                  [](std::size_t r, const Fan& f) { return r < f.premier; });
    return static_cast<std::size_t>(apres - sources_.begin()) - 1;
}

}  // namespace optic
