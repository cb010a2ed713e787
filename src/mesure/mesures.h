#pragma once

#include <cstddef>
#include <vector>

#include "mesure/faisceau.h"
#include "model/system.h"

namespace optic {

// What the traced rays and the lenses of a bench tell.
struct Mesures {
    std::vector<BilanFaisceau> faisceaux;  // every fan, in ray order
    std::vector<double> longueurs_onde;    // the fans' wavelengths, each once, increasing
    // Per lens of the bench (in file order), its paraxial focal length at each of those
    // wavelengths.
    std::vector<std::vector<double>> focales;
};

// Measures a whole bench: the focal lengths of its lenses at once, and its fans from its
// traced rays, which the caller feeds one at a time in ray order (source lines in file order,
// within one its wavelengths, within one wavelength its rays), as many passes as it asks for.
class MesureBanc {
  public:
    explicit MesureBanc(const System_Physique& systeme);
    // A traced ray of fan `faisceau` (from 0) of source line `source` (from 0).
    void Ajouter(std::size_t source, std::size_t faisceau, const Rayon& rayon);
    // Ends a pass over every ray; true when the rays are wanted once more (at most twice in all).
    bool FinPasse();
    Mesures Resultat() const;

  private:
    std::vector<std::size_t> premiers_;  // per source line, the index of its first fan
    std::vector<MesureFaisceau> faisceaux_;
    Mesures mesures_;
    int passe_ = 1;
};

}  // namespace optic
