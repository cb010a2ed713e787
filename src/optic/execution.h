#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mesure/mesures.h"
#include "model/rapport.h"
#include "model/system.h"
#include "optic/dessiner.h"
#include "optic/mesurer.h"
#include "optic/options.h"
#include "optic/rayons.h"
#include "optic/suivi.h"
#include "render/raster.h"

namespace optic {

// What a run leaves besides its messages and its status, for whoever reports on it.
struct Bilan {
    std::vector<std::string> images;  // the pictures written, in order
    std::optional<Mesures> mesures;   // once the rays are traced
};

// One whole run on the description file `options` names: read the bench, trace every ray,
// then draw and write each zoombox's picture.  Messages go to `rapport`; `suivi`, when given,
// follows the run; `bilan`, when given, receives the pictures written and the measurements.
// Returns the exit status: 0, or -1 when the file cannot be read, a lens line comes before any
// glass, or a picture cannot be written.
int Executer(const Options& options, Rapport& rapport, int nb_fils, Suivi* suivi = nullptr,
             Bilan* bilan = nullptr);

}  // namespace optic
