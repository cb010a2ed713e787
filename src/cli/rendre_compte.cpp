#include "cli/rendre_compte.h"

#include "base/rapport.h"
#include "output/compte_rendu.h"
#include "run/execution.h"

namespace optic {

int ExecuterEtRendreCompte(const Options& options, std::ostream& sortie, std::ostream* explications,
                           int nb_fils, Progression& progression) {
    const bool json = options.compte_rendu == FormeCompteRendu::Json;
    std::ostream nulle(nullptr);
    RapportFlux flux(json ? nulle : sortie, explications, options.description);
    RapportMemoire memoire;
    RapportDouble double_(flux, memoire);
    Rapport& rapport = json ? static_cast<Rapport&>(double_) : flux;

    CompteRendu compte_rendu;
    Bilan* bilan = options.compte_rendu == FormeCompteRendu::Aucun ? nullptr : &compte_rendu.bilan;
    const int statut = Executer(options, rapport, nb_fils, &progression, bilan);
    sortie.flush();
    progression.Fin();  // the display is over before the report is printed
    if (json) {
        compte_rendu.description = options.description;
        compte_rendu.statut = statut & 0xff;
        for (const RapportMemoire::Entree& e : memoire.Entrees())
            compte_rendu.messages.push_back(e.texte);
        EcrireJson(sortie, compte_rendu);
    } else if (bilan && bilan->mesures) {
        EcrireTableaux(sortie, *bilan->mesures);
    }
    sortie.flush();
    return statut;
}

}  // namespace optic
