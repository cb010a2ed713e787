#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mesure/mesures.h"
#include "model/rapport.h"
#include "model/system.h"
#include "optic/options.h"
#include "optic/suivi.h"
#include "render/raster.h"

namespace optic {

// Paints a zoombox's background and draws the bench into its raster.  Each thread takes a
// band of rows and follows the whole drawing order there, so that a later drawing still
// replaces an earlier one and the picture is the same whatever the number of threads.
void Dessiner(const System_Physique& systeme, const Image& image, Raster& raster, int nb_fils);

// What a run leaves besides its messages and its status, for whoever reports on it.
struct Bilan {
    std::vector<std::string> images;  // the pictures written, in order
    std::optional<Mesures> mesures;   // once the rays are traced
};

// Measures the traced rays of a bench: the one place that walks them for the measurement,
// feeding each to it in ray order, once per pass it asks for.
Mesures MesurerRayons(const System_Physique& systeme);

// One whole run on the description file `options` names: read the bench, trace every ray,
// then draw and write each zoombox's picture.  Messages go to `rapport`; `suivi`, when given,
// follows the run; `bilan`, when given, receives the pictures written and the measurements.
// Returns the exit status: 0, or -1 when the file cannot be read, a lens line comes before any
// glass, or a picture cannot be written.
int Executer(const Options& options, Rapport& rapport, int nb_fils, Suivi* suivi = nullptr,
             Bilan* bilan = nullptr);

}  // namespace optic
