#pragma once

#include <cstddef>
#include <vector>

#include "base/point.h"
#include "raster/image.h"

namespace optic {

// About how much work drawing segments into a zoombox takes in each band of its rows: so
// that threads can be given bands of about equal work.  A band's work is the points of the
// segments it holds, spread evenly over the rows each segment crosses, and a fixed cost for
// each segment that crosses it (every band walks such a segment again).  An estimate: the
// picture does not depend on how its rows are cut.
// A charge is estimated from one ray in this many: enough for where the work lies, for an
// eighth of the cost of every ray.
inline constexpr std::size_t kRayonsParEchantillon = 8;

class Charge {
  public:
    explicit Charge(int taille);

    // Adds segment AB as TraceSegment draws it into the zoombox, counted `poids` times.
    // Only before Cumuler.
    void Ajouter(const Image& image, Point a, Point b, double poids);
    // Once every segment is added: the sums Travail reads.
    void Cumuler();
    // The estimated work of rows [debut, fin), in points (0 <= debut <= fin <= taille),
    // once cumulated.
    double Travail(int debut, int fin) const;

  private:
    int taille_;
    // Per row, until Cumuler: the change of the points per row there, and how many
    // segments start and end there; then the sums of these over the rows before.
    std::vector<double> points_, debuts_, fins_;
};

}  // namespace optic
