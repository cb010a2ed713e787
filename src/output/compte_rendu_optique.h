#pragma once

#include <ostream>

#include "measure/mesures.h"
#include "output/json.h"

namespace optic {

// The report's parts about systems of lenses: their first-order properties, as the "systems"
// list of the JSON document and as a table for people.
void EcrireSystemesJson(JsonWriter& json, const Mesures& mesures);
void EcrireSystemes(std::ostream& sortie, const Mesures& mesures);

}  // namespace optic
