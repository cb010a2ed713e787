#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "measure/aberrations.h"
#include "measure/faisceau.h"
#include "measure/premiere_passe.h"
#include "measure/systemes.h"
#include "model/system.h"

namespace optic {

// What the traced rays and the lenses of a bench tell.
struct Mesures {
    std::vector<BilanFaisceau> faisceaux;  // every fan, in ray order
    std::vector<double> longueurs_onde;    // the fans' wavelengths, each once, increasing
    // Per lens of the bench (in file order), its paraxial focal length at each of those
    // wavelengths.
    std::vector<std::vector<double>> focales;
    // The bench's systems of coaxial lenses, and each one's first-order properties at each
    // of those wavelengths.
    std::vector<SystemeOptique> systemes;
    std::vector<std::vector<PremierOrdre>> premier_ordre;
    // Per fan, in ray order, its aberrations (none when it does not run along an axis).
    std::vector<Aberrations> aberrations;
};

// Measures a whole bench: the focal lengths of its lenses at once, and its fans from its
// traced rays: a first pass over every ray, fed lot by lot in any order (see PremierePasse),
// then, when it asks for one, a second pass with every ray once more, one at a time in ray
// order (source lines in file order, within one its wavelengths, within one wavelength its
// rays).
class MesureBanc {
  public:
    explicit MesureBanc(const System_Physique& systeme);
    // First pass: rays debut .. debut + rayons.size() - 1 of the bench's order, traced.
    void Ajouter(std::size_t debut, std::span<const Rayon> rayons) {
        premiere_.Ajouter(debut, rayons);
        aberrations_.Ajouter(debut, rayons);
    }
    // Whether every ray has had its first pass.
    bool PremierePasseComplete() const { return premiere_.Complete(); }
    // Ends the first pass; true when the second is wanted.
    bool FinPremierePasse();
    // Second pass: a traced ray of fan number `faisceau` among all the bench's fans.
    void Verifier(std::size_t faisceau, const Rayon& rayon) {
        faisceaux_[faisceau].Verifier(rayon);
    }
    Mesures Resultat() const;

  private:
    PremierePasse premiere_;
    Mesures mesures_;
    ReleveAberrations aberrations_;
    std::vector<MesureFaisceau> faisceaux_;
};

}  // namespace optic
