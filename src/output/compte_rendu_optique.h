#pragma once

#include <ostream>

#include "measure/mesures.h"
#include "write/json.h"

namespace optic {

// The report's parts about systems of lenses: their first-order properties, as the "systems"
// list of the JSON document and as a table for people.
void EcrireSystemesJson(JsonWriter& json, const Mesures& mesures);
void EcrireSystemes(std::ostream& sortie, const Mesures& mesures);

// A fan's "aberrations" key of the JSON document: its system, its reference point and its
// rays (an empty list `sans_rayons`); null for a fan that does not run along a system's axis.
void EcrireAberrationsJson(JsonWriter& json, const Aberrations& aberrations,
                           bool sans_rayons = false);
// One row per fan with aberrations: its marginal ray's longitudinal aberration and its
// largest transverse aberration.
void EcrireAberrations(std::ostream& sortie, const Mesures& mesures);

}  // namespace optic
