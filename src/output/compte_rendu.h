#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "measure/mesures.h"
#include "write/json.h"

namespace optic {

// What a run leaves besides its messages and its status, for whoever reports on it.
struct Bilan {
    std::vector<std::string> images;  // the pictures written, in order
    std::optional<Mesures> mesures;   // once the rays are traced
};

// Everything the report of a run says.
struct CompteRendu {
    std::string description;            // the description's path, as given
    int statut = 0;                     // the exit status as the shell sees it: 0 or 255
    std::vector<std::string> messages;  // each as the run prints it without a report
    Bilan bilan;
};

// The report as one JSON document, for scripts (the layout is in the README); compact for a
// program that parses it at once.  With `sans_rayons`, the fans' aberrations list no rays,
// for a caller that takes them as numbers (the web engine: thousands of them cost more as
// text than the rest of the report).
void EcrireJson(std::ostream& sortie, const CompteRendu& compte_rendu,
                MiseEnPage mise = MiseEnPage::Indentee, bool sans_rayons = false);

// The measurements as two tables, for people: one row per fan, one row per lens.
void EcrireTableaux(std::ostream& sortie, const Mesures& mesures);

}  // namespace optic
