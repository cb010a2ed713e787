#pragma once

#include <cstdint>
#include <vector>

#include "surfaces/dioptre.h"

namespace optic {

// Runs of consecutive indices [debut, fin), in increasing order, apart from one another.
struct Intervalle {
    std::int32_t debut, fin;
    bool operator==(const Intervalle&) const = default;
};
using Intervalles = std::vector<Intervalle>;

// The room InterieurRangee works in, kept from one row to the next so that scanning a row
// allocates nothing once the first rows have sized it.
struct Brouillon {
    Intervalles faces[4], lame, autre;
};

// For the points (xs[i], y), i < n, of a row scanned one pixel step after the other (xs
// increasing), which lie inside an element (Contient, with the element's kind and surfaces),
// as runs of indices: the same points Contient finds, without testing each.  Along a row
// every quantity an inside test compares moves one way, or one way then the other, so each
// test holds on a few runs whose ends a search finds; only where two quantities move against
// each other and their bounds do not settle it are the points tested one by one.  False
// when the numbers are too large (or not finite) for that to be sure: then test each point.
bool InterieurRangee(int type, const Dioptre* dioptres, const double* xs, int n, double y,
                     Intervalles& dedans, Brouillon& brouillon);

}  // namespace optic
