#pragma once

#include <string>
#include <vector>

#include "base/point.h"
#include "raster/pixel.h"

namespace optic {

// One curve of a plot, in its legend's colour.
struct Serie {
    std::string nom;  // its legend's text
    Pixel couleur;
    std::vector<Point> points;   // joined in order; a point that is not finite breaks the line
    std::vector<Point> marques;  // drawn as dots
};

// A plot: curves on two axes whose labels give the quantity and its unit.
struct Graphique {
    std::string titre, axe_x, axe_y;
    std::vector<Serie> series;
};

// The first and last graduations of an axis that holds every value from `bas` to `haut`, and
// their step: 1, 2 or 5 times a power of ten, some 4 to 10 of them.  Values that are not
// finite, or all equal, still give a usable axis.
struct Graduation {
    double debut = 0, fin = 1, pas = 1;
    int Nombre() const;  // how many graduations, the first and the last included
    double Valeur(int k) const { return debut + k * pas; }
};
Graduation Graduer(double bas, double haut);

// The plot as an SVG document: axes with their graduations and labels, the curves, the
// legend.  Graduation labels are <text class="tick-x"> (their x the graduation's place) and
// <text class="tick-y"> (their y), dots <circle class="mark">, so that a reader can check
// where a value sits.  The same plot gives the same bytes.
std::string GraphiqueSvg(const Graphique& g);

}  // namespace optic
