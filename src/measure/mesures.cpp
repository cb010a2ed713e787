#include "measure/mesures.h"

#include <algorithm>

#include "measure/focale.h"

namespace optic {

namespace {

Mesures PremieresMesures(const System_Physique& systeme) {
    Mesures mesures;
    for (const Source_polychromatique& ligne : systeme.sources) {
        for (const Source_monochromatique& faisceau : ligne.sources) {
            mesures.longueurs_onde.push_back(faisceau.lambda);
        }
    }
    std::vector<double>& l = mesures.longueurs_onde;
    std::sort(l.begin(), l.end());
    l.erase(std::unique(l.begin(), l.end()), l.end());
    for (const Element& e : systeme.elements) {
        if (e.type != kTypeLentille) continue;
        std::vector<double>& f = mesures.focales.emplace_back();
        for (const double lambda : l)
            f.push_back(FocaleParaxiale(e, systeme.espace.indice_espace, lambda));
    }
    mesures.systemes = Systemes(systeme);
    for (const SystemeOptique& s : mesures.systemes) {
        std::vector<PremierOrdre>& p = mesures.premier_ordre.emplace_back();
        for (const double lambda : l)
            p.push_back(ProprietesParaxiales(s, systeme.espace.indice_espace, lambda));
    }
    return mesures;
}

}  // namespace

MesureBanc::MesureBanc(const System_Physique& systeme)
    : premiere_(systeme),
      mesures_(PremieresMesures(systeme)),
      aberrations_(systeme, mesures_.systemes) {}

bool MesureBanc::FinPremierePasse() {
    faisceaux_ = premiere_.Faisceaux();
    bool encore = false;
    for (MesureFaisceau& m : faisceaux_) encore = m.Resoudre() || encore;
    return encore;
}

Mesures MesureBanc::Resultat() const {
    Mesures m = mesures_;
    for (const MesureFaisceau& f : faisceaux_) m.faisceaux.push_back(f.Bilan());
    m.aberrations = aberrations_.Resultat();
    return m;
}

}  // namespace optic
