#include "measure/premiere_passe.h"

#include <algorithm>

namespace optic {

PremierePasse::PremierePasse(const System_Physique& systeme) : fans_(TableDesFans(systeme)) {
    for (const Fan& fan : fans_) {
        Arbre& arbre = arbres_.emplace_back(
            Arbre{MesureFaisceau(static_cast<int>(fan.ligne + 1), fan.source->lambda), {}, {}});
        if (fan.nombre == 0) arbre.tout = arbre.vide;
        total_ += fan.nombre;
    }
}

template <typename Rayons>
void PremierePasse::Compter(std::size_t f, std::size_t j, const Rayons& rayons, std::size_t n) {
    MesureFaisceau m = arbres_[f].vide;
    for (std::size_t i = 0; i < n; ++i) m.Compter(rayons(i));
    Inserer(f, 0, j, std::move(m));
}

// Level l of the tree has one node for every 2^l blocks: node (l, i) joins nodes (l - 1, 2i)
// and (l - 1, 2i + 1), or is node (l - 1, 2i) alone when that is the level's last.
void PremierePasse::Inserer(std::size_t f, int niveau, std::size_t place, MesureFaisceau m) {
    const std::size_t blocs = (fans_[f].nombre + kRayonsParBloc - 1) / kRayonsParBloc;
    Arbre& fan = arbres_[f];
    for (;;) {
        const std::size_t noeuds = ((blocs - 1) >> niveau) + 1;  // on this level
        if (noeuds == 1) {
            fan.tout = std::move(m);
            return;
        }
        const std::size_t voisin = place ^ 1;
        if (voisin < noeuds) {
            const auto trouve = fan.attente.find({niveau, voisin});
            if (trouve == fan.attente.end()) {
                fan.attente.emplace(std::pair{niveau, place}, std::move(m));
                return;
            }
            if (voisin < place) {
                trouve->second.Joindre(m);
                m = std::move(trouve->second);
            } else {
                m.Joindre(trouve->second);
            }
            fan.attente.erase(trouve);
        }
        ++niveau;
        place /= 2;
    }
}

void PremierePasse::Ajouter(std::size_t debut, std::span<const Rayon> rayons) {
    const std::size_t fin = debut + rayons.size();
    recus_ += rayons.size();
    // The fans the lot reaches, from the one holding its first ray.
    for (std::size_t f = FanDuRayon(fans_, debut); f < fans_.size() && fans_[f].premier < fin;
         ++f) {
        const Fan& fan = fans_[f];
        const std::size_t a = std::max(debut, fan.premier);
        const std::size_t b = std::min(fin, fan.premier + fan.nombre);
        if (a >= b) continue;
        for (std::size_t j = (a - fan.premier) / kRayonsParBloc;
             fan.premier + j * kRayonsParBloc < b; ++j) {
            const std::size_t ba = fan.premier + j * kRayonsParBloc;
            const std::size_t bb = std::min(ba + kRayonsParBloc, fan.premier + fan.nombre);
            if (debut <= ba && bb <= fin) {  // the whole block is in the lot
                Compter(
                    f, j, [&](std::size_t i) -> const Rayon& { return rayons[ba + i - debut]; },
                    bb - ba);
                continue;
            }
            // Part of it: its rays' ends wait for the rest.
            Attente& attente = morceaux_[{f, j}];
            attente.fins.resize(bb - ba);
            for (std::size_t k = std::max(ba, debut); k < std::min(bb, fin); ++k) {
                const Rayon& r = rayons[k - debut];
                attente.fins[k - ba] = Fin{r.position, r.direction, r.fin};
                ++attente.recus;
            }
            if (attente.recus < bb - ba) continue;
            const std::vector<Fin> fins = std::move(attente.fins);
            morceaux_.erase({f, j});
            Compter(
                f, j,
                [&](std::size_t i) {
                    Rayon r;
                    r.position = fins[i].position;
                    r.direction = fins[i].direction;
                    r.fin = fins[i].fin;
                    return r;
                },
                fins.size());
        }
    }
}

std::vector<MesureFaisceau> PremierePasse::Faisceaux() const {
    std::vector<MesureFaisceau> faisceaux;
    for (const Arbre& arbre : arbres_) faisceaux.push_back(arbre.tout.value_or(arbre.vide));
    return faisceaux;
}

}  // namespace optic
