#include "trace/banc.h"

#include <algorithm>
#include <cmath>

namespace optic {

Banc::Banc(const System_Physique& systeme) : indice_espace_(systeme.espace.indice_espace) {
    std::vector<const Element*> avec;  // the elements with surfaces
    for (const Element& e : systeme.elements) {
        if (e.dioptres.empty()) continue;
        avec.push_back(&e);
        surfaces_.insert(surfaces_.end(), e.dioptres.begin(), e.dioptres.end());
    }
    const Dioptre* premiere = surfaces_.data();
    for (const Element* e : avec) {
        const Boite impacts = BoiteImpacts(*e);
        double echelle = 1;
        for (const Dioptre& d : e->dioptres) {
            for (double v : {d.sommet.x, d.sommet.y, d.centre.x, d.demi_ouverture,
                             std::sqrt(std::fabs(d.rayon_carre))}) {
                echelle = std::max(echelle, std::fabs(v));
            }
        }
        for (double v : {impacts.xmin, impacts.xmax, impacts.ymin, impacts.ymax}) {
            if (std::isfinite(v)) echelle = std::max(echelle, std::fabs(v));
        }
        elements_.push_back(BancPlat::Corps{BoiteContenu(*e), premiere, e->dioptres.size(), e->type,
                                            impacts, echelle});
        premiere += e->dioptres.size();
    }
    plat_ = BancPlat{surfaces_.data(), surfaces_.size(), elements_.data(), elements_.size(),
                     indice_espace_};
    sources_ = TableDesFans(systeme);
    for (const Fan& fan : sources_) {
        total_ += fan.nombre;
        for (const Element* e : avec) {
            indices_.push_back(e->indice ? e->indice->Indice(fan.source->lambda) : 0.0);
        }
    }
}

}  // namespace optic
