#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/system.h"
#include "optic/rayons.h"
#include "render/raster.h"

namespace optic {

// Paints a zoombox's background and draws the bench into its raster: the elements, then the
// rays, in the drawing order or from its end (`sens`; by default from the end where rays
// crowd, see DessinRayons).  The threads share bands of rows, each following the whole
// drawing order in its band, so that a later drawing still replaces an earlier one and the
// picture is the same whatever the number of threads, the size of the lots and the order.
// When every ray is kept (RayonsDuBanc::Garder), each band is drawn whole by one thread;
// otherwise lot after lot into every band.
void Dessiner(const System_Physique& systeme, const Image& image, Raster& raster, int nb_fils,
              RayonsDuBanc& rayons, std::optional<Sens> sens = {});

// Draws a zoombox whose rays are all kept (RayonsDuBanc::Garder) and writes it as a BMP
// picture at `chemin`, band after band: the threads paint and draw bands in memory of their
// own (`tampons`, kept for the next picture) and each band is written at its place in the
// file as soon as it is drawn, one writer at a time, while the drawing goes on.  The picture
// never lies whole in memory.  False when it could not be written (see EcritureBMP).
bool DessinerEtEcrireBMP(const System_Physique& systeme, const Image& image, int nb_fils,
                         RayonsDuBanc& rayons, std::vector<Raster>& tampons,
                         const std::string& chemin);

}  // namespace optic
