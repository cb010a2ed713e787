#pragma once

#include <vector>

#include "model/system.h"
#include "raster/raster.h"

namespace optic {

// A zoombox's picture as one of several runs of the same description draws it, when they
// share out its pictures (the page's workers): whether this run draws it, and which of its
// rows.
struct PartImage {
    bool mienne = false;
    Rangs rangs;
};

// The share of run `part` of `parts`: the pictures' rows, in zoombox order one after the
// other, are cut into `parts` stretches of about as many pixels each, a row going to the
// stretch its first pixel falls in, and each run draws the rows of its stretch.  So a picture
// is drawn whole by one run or in bands by several, and a single picture is shared too.  A
// picture with no rows goes to the run whose stretch its place falls in.  The same
// description always gives the same shares, which together draw every row once.
std::vector<PartImage> PartsDesImages(const System_Physique& systeme, int part, int parts);

}  // namespace optic
