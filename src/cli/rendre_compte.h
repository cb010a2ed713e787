#pragma once

#include <ostream>

#include "cli/options.h"
#include "cli/progression.h"

namespace optic {

// One run of the command line (see Executer), its messages on `sortie` and the explanations
// of refused lines on `explications` when given; then, when `progression` has ended, the
// report the options ask for.  With a JSON report the messages go into the document, the
// only thing on `sortie`.  Returns the exit status.
int ExecuterEtRendreCompte(const Options& options, std::ostream& sortie, std::ostream* explications,
                           int nb_fils, Progression& progression);

}  // namespace optic
