#pragma once

#include <span>
#include <vector>

#include "base/grands_blocs.h"
#include "model/source.h"
#include "model/system.h"
#include "raster/charge.h"
#include "raster/image.h"

namespace optic {

// Draws the bench's elements into a zoombox's view, each filled then outlined, in bench order.
void DessinElements(const System_Physique& systeme, const Image& image);

// What drawing one ray into a zoombox needs, worked out once for all the views of the
// picture: its colour, where an open ray leaves the window, and the rows (plus half a pixel)
// its drawing stays within, give or take a pixel.
struct RayonPrepare {
    Pixel couleur;
    Point sortie;
    double rangs_min, rangs_max;  // NaN-free; -inf and +inf when it is not sure
    // Its first segment is the very segment of a later ray (another wavelength's ray of the
    // same source line, say): drawn from the last ray, it finds its pixels covered already.
    bool premier_deja_trace = false;
};

// What drawing each ray of a lot needs, in memory of large blocks.
using RayonsPrepares = std::vector<RayonPrepare, GrandsBlocs<RayonPrepare>>;

// Works out, for each ray of a lot, what drawing it into the zoombox needs, on up to
// `nb_fils` threads.
RayonsPrepares PreparerRayons(std::span<const Rayon> rayons, const Image& image, int nb_fils = 1);

// Draws a lot of traced rays, prepared for the zoombox (PreparerRayons), into its view, each
// in the colour of its wavelength: the polyline of its path and, for an open ray, the
// half-line on to the window's edge; a ray whose rows miss the view's is passed at once.  A
// later ray covers an earlier one.  When the view keeps track of covered pixels
// (Image::Couvrir), the rays are drawn from the last to the first and each pixel is written
// once, by the last ray that reaches it; lots of rays are then given from the last to the
// first too.
void DessinRayons(std::span<const Rayon> rayons, std::span<const RayonPrepare> prepares,
                  const Image& image);

// Adds to `charge` the segments DessinRayons draws of rays premier, premier + pas, ... of a
// prepared lot (`couverts`: into a view that keeps track of covered pixels), each counted
// `pas` times: an estimate of the whole lot's work, row by row.
void ChargeDesRayons(std::span<const Rayon> rayons, std::span<const RayonPrepare> prepares,
                     const Image& image, bool couverts, std::size_t premier, std::size_t pas,
                     Charge& charge);

// About how many points drawing the rays into a zoombox steps through.
double PointsDesRayons(std::span<const Rayon> rayons, const Image& image);

}  // namespace optic
