#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/system.h"
#include "raster/image.h"
#include "raster/raster.h"
#include "trace/rayons.h"

namespace optic {

// Paints a zoombox's background and draws the bench into its raster's rows (a whole picture
// or a band of it): the elements, then the rays, in the drawing order or from its end
// (`sens`; by default from the end where rays crowd, see DessinRayons).  The threads share bands of
// rows, each following the whole drawing order in its band, so that a later drawing still replaces
// an earlier one and the picture is the same whatever the number of threads, the size of the lots
// and the order. When every ray is kept (RayonsDuBanc::Garder), each band is drawn whole by one
// thread; otherwise lot after lot into every band.
void Dessiner(const System_Physique& systeme, const Image& image, Raster& raster, int nb_fils,
              RayonsDuBanc& rayons, std::optional<Sens> sens = {});

// Draws zoomboxes whose rays are all kept (RayonsDuBanc::Garder) and writes each as a BMP
// picture at its path, band after band: the threads share the bands of every picture, cut
// by their estimated work (see Charge) and taken the heaviest first, paint and draw them in a
// few buffers (`tampons`, kept for the next pictures), and each band is written at its place
// in its file as soon as it is drawn, one writer at a time, while the drawing goes on.  No
// picture lies whole in memory.  Each picture gets its name as soon as it is whole (see
// FichierEntier).  Only each picture's `rangs` are drawn and written, in a file of the whole
// picture's size.  Gives, for each picture, 0 when it was written, otherwise the errno of why
// not.
std::vector<int> DessinerEtEcrireBMP(const System_Physique& systeme,
                                     std::span<const Fenetre> fenetres,
                                     std::span<const std::string> chemins,
                                     std::span<const Rangs> rangs, int nb_fils,
                                     RayonsDuBanc& rayons, std::vector<Raster>& tampons);

}  // namespace optic
