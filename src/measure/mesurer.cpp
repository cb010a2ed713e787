#include "measure/mesurer.h"

namespace optic {

MesureDesRayons::MesureDesRayons(const System_Physique& systeme, RayonsDuBanc& rayons)
    : rayons_(rayons),
      mesure_(systeme),
      garder_(rayons.Nombre() <= rayons.OctetsGardes() / sizeof(Bout)) {
    if (garder_) bouts_.resize(rayons.Nombre());
    rayons_.ObserverLaPremiereVisite([this](std::size_t debut, std::span<const Rayon> lot) {
        mesure_.Ajouter(debut, lot);
        if (!garder_) return;
        for (std::size_t i = 0; i < lot.size(); ++i) {
            const Rayon& r = lot[i];
            bouts_[debut + i] = Bout{r.position, r.direction, r.faisceau, r.fin};
        }
    });
}

MesureDesRayons::~MesureDesRayons() {
    rayons_.ObserverLaPremiereVisite({});
}

Mesures MesureDesRayons::Finir() {
    if (!mesure_.PremierePasseComplete()) rayons_.Parcourir([](std::span<const Rayon>) {});
    rayons_.ObserverLaPremiereVisite({});
    if (mesure_.FinPremierePasse()) {
        if (garder_) {
            for (const Bout& b : bouts_) {
                Rayon r;
                r.position = b.position;
                r.direction = b.direction;
                r.fin = b.fin;
                mesure_.Verifier(b.faisceau, r);
            }
        } else {
            rayons_.Parcourir([&](std::span<const Rayon> lot) {
                for (const Rayon& r : lot) mesure_.Verifier(r.faisceau, r);
            });
        }
    }
    return mesure_.Resultat();
}

Mesures MesurerRayons(const System_Physique& systeme, RayonsDuBanc& rayons) {
    MesureDesRayons mesure(systeme, rayons);
    return mesure.Finir();
}

}  // namespace optic
