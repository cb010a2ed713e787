#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/rapport.h"
#include "base/suivi.h"
#include "measure/mesurer.h"
#include "model/system.h"
#include "output/compte_rendu.h"
#include "output/dessiner.h"
#include "raster/raster.h"
#include "run/demande.h"
#include "trace/rayons.h"

namespace optic {

// One whole run on the description file `options` names: read the bench, trace every ray,
// then draw and write each zoombox's picture.  Messages go to `rapport`; `suivi`, when given,
// follows the run; `bilan`, when given, receives the pictures written and the measurements.
// Returns the exit status: 0, or -1 when the file cannot be read, a lens line comes before any
// glass, or a picture cannot be written.
int Executer(const Demande& options, Rapport& rapport, int nb_fils, Suivi* suivi = nullptr,
             Bilan* bilan = nullptr);

}  // namespace optic
