#include "mesure/mesures.h"

#include <algorithm>

#include "mesure/focale.h"

namespace optic {

MesureBanc::MesureBanc(const System_Physique& systeme) {
    for (std::size_t s = 0; s < systeme.sources.size(); ++s) {
        premiers_.push_back(faisceaux_.size());
        for (const Source_monochromatique& faisceau : systeme.sources[s].sources) {
            faisceaux_.emplace_back(static_cast<int>(s + 1), faisceau.lambda);
            mesures_.longueurs_onde.push_back(faisceau.lambda);
        }
    }
    std::vector<double>& l = mesures_.longueurs_onde;
    std::sort(l.begin(), l.end());
    l.erase(std::unique(l.begin(), l.end()), l.end());
    for (const Element& e : systeme.elements) {
        if (e.type != kTypeLentille) continue;
        std::vector<double>& f = mesures_.focales.emplace_back();
        for (const double lambda : l)
            f.push_back(FocaleParaxiale(e, systeme.espace.indice_espace, lambda));
    }
}

void MesureBanc::Ajouter(std::size_t source, std::size_t faisceau, const Rayon& rayon) {
    MesureFaisceau& m = faisceaux_[premiers_[source] + faisceau];
    if (passe_ == 1) {
        m.Compter(rayon);
    } else {
        m.Verifier(rayon);
    }
}

bool MesureBanc::FinPasse() {
    if (passe_ != 1) return false;
    passe_ = 2;
    bool encore = false;
    for (MesureFaisceau& m : faisceaux_) encore = m.Resoudre() || encore;
    return encore;
}

Mesures MesureBanc::Resultat() const {
    Mesures m = mesures_;
    for (const MesureFaisceau& f : faisceaux_) m.faisceaux.push_back(f.Bilan());
    return m;
}

}  // namespace optic
