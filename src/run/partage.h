#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "model/system.h"
#include "raster/raster.h"
#include "trace/rayons.h"

namespace optic {

// A zoombox's picture as one of several runs of the same description draws it, when they
// share out its pictures (the page's workers): whether this run draws it, and which of its
// rows.
struct PartImage {
    bool mienne = false;
    Rangs rangs;
};

// About how much work drawing rows [debut, fin) of zoombox c's picture takes: never negative,
// and the sum of two neighbouring stretches' work.
using TravailDesRangs = std::function<double(std::size_t c, int debut, int fin)>;

// What the runs sharing out the pictures have to do besides tracing: drawing each zoombox's
// rows, and the measurements, which the first run does for all (the page takes its report
// from it).
struct Travail {
    TravailDesRangs rangs;
    double mesures = 0;   // in the same units
    double jonction = 0;  // putting a picture together from bands, a pixel
};

// The work of each zoombox's rows as their pixels (and nothing else counted), or, when every
// ray is kept (RayonsDuBanc::Garder: they may be traced now) and the zoomboxes have at most a
// million rows in all, as the pixels painted and the points of the rays drawn there,
// estimated from one ray in eight, the measurements as so many points a ray, and putting a
// picture together as so many points a pixel.
Travail EstimerTravail(const System_Physique& systeme, RayonsDuBanc& rayons);

// The share of run `part` of `parts`: the measurements, then the pictures' rows in zoombox
// order one after the other, are cut into `parts` stretches of about as much work each, a
// row going to the stretch where its work starts, and each run draws the rows of its
// stretch.  So a picture is drawn whole by one run or in bands by several, and a single
// picture is shared too; but a stretch ends at a picture's edge instead when that changes
// its work by less than a tenth of a share or than putting the picture together costs, and
// always for a picture of more than 4096 pixels a side.  A picture
// with no rows goes to the run whose stretch its place falls in.  Runs of the same description,
// given the same estimate, get shares that together draw every row once.
std::vector<PartImage> PartsDesImages(const System_Physique& systeme, int part, int parts,
                                      const Travail& travail);

}  // namespace optic
