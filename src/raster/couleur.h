#pragma once

#include "base/point.h"
#include "raster/image.h"
#include "raster/pixel.h"

namespace optic {

// Colour levels, 0 to 256 (256 is the saturated level of the wavelength colours).
struct Niveaux {
    double rouge = 0.0;
    double vert = 0.0;
    double bleu = 0.0;
};

// The colour of light of a wavelength in nanometres: a rainbow from violet at 380 nm to deep
// red at 780 nm, black outside.
Niveaux Couleur(double lambda);

inline Pixel EnPixel(Niveaux n) {
    return Couleur3(n.rouge, n.vert, n.bleu);
}

// Where the half-line from `position` along `direction` reaches the window's edge: the left
// or right edge if it crosses it within the window, otherwise the top or bottom edge.  The
// point may lie outside the window; the plotting clips it.
Point SortieFenetre(Point position, Point direction, const Image& image);

}  // namespace optic
