#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "mesure/mesures.h"
#include "optic/execution.h"
#include "optic/options.h"
#include "optic/progression.h"

namespace optic {

// Everything the report of a run says.
struct CompteRendu {
    std::string description;            // the description's path, as given
    int statut = 0;                     // the exit status as the shell sees it: 0 or 255
    std::vector<std::string> messages;  // each as the run prints it without a report
    Bilan bilan;
};

// The report as one JSON document, for scripts (the layout is in the README).
void EcrireJson(std::ostream& sortie, const CompteRendu& compte_rendu);

// The measurements as two tables, for people: one row per fan, one row per lens.
void EcrireTableaux(std::ostream& sortie, const Mesures& mesures);

// One run of the command line (see Executer), its messages on `sortie` and the explanations
// of refused lines on `explications` when given; then, when `progression` has ended, the
// report the options ask for.  With a JSON report the messages go into the document, the
// only thing on `sortie`.  Returns the exit status.
int ExecuterEtRendreCompte(const Options& options, std::ostream& sortie, std::ostream* explications,
                           int nb_fils, Progression& progression);

}  // namespace optic
