#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "measure/faisceau.h"
#include "model/fans.h"
#include "model/system.h"

namespace optic {

// The measurements' first pass over a bench's traced rays, fed lot by lot in any order (the
// order in which a picture is drawn, say), with the same result whatever the order and
// however the rays are cut into lots: each fan's rays are counted in blocks of
// kRayonsParBloc from its first ray, in ray order (a block cut by the end of a lot waits,
// as the rays' ends, for the rest of its rays), and the blocks are joined two by two in a
// tree fixed by their number.  A fan of one block is counted as in one go.
class PremierePasse {
  public:
    static constexpr std::size_t kRayonsParBloc = 4096;

    explicit PremierePasse(const System_Physique& systeme);

    // Rays debut .. debut + rayons.size() - 1 of the bench's order (source lines in file
    // order, each line's wavelengths in order, each fan from its first ray), traced.
    void Ajouter(std::size_t debut, std::span<const Rayon> rayons);
    // Whether every ray of the bench has been added.
    bool Complete() const { return recus_ == total_; }
    // Each fan's first pass, in ray order, once complete.
    std::vector<MesureFaisceau> Faisceaux() const;

  private:
    // What counting needs of a ray.
    struct Fin {
        Point position, direction;
        FinRayon fin;
    };
    // A fan's count, block by block joined in a tree.
    struct Arbre {
        MesureFaisceau vide;
        // Joins waiting for their other half, by level and place in the tree.
        std::map<std::pair<int, std::size_t>, MesureFaisceau> attente;
        std::optional<MesureFaisceau> tout;
    };
    // Counts block j of fan f from its rays, in order.
    template <typename Rayons>
    void Compter(std::size_t f, std::size_t j, const Rayons& rayons, std::size_t n);
    // Joins a block's count (or a join's) into the fan's tree.
    void Inserer(std::size_t f, int niveau, std::size_t place, MesureFaisceau m);

    std::vector<Fan> fans_;
    std::vector<Arbre> arbres_;  // fan by fan
    // Blocks cut by the end of a lot: the ends of the rays received, and how many.
    struct Attente {
        std::vector<Fin> fins;
        std::size_t recus = 0;
    };
    std::map<std::pair<std::size_t, std::size_t>, Attente> morceaux_;
    std::size_t recus_ = 0, total_ = 0;
};

}  // namespace optic
