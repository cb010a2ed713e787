#pragma once

#include <cstdint>

#include "elements/dioptre.h"

namespace optic {

// For the points (xs[i], y), i < n, whether each lies inside an element (Contient, with the
// element's kind and surfaces): dedans[i] = 1 or 0.  xs holds a multiple of 8 values (a
// value that is not a number is never inside).  Runs in the processor's widest vector
// instructions, with Contient's arithmetic.
void DedansRangee(int type, const Dioptre* dioptres, const double* xs, int n, double y,
                  std::uint8_t* dedans);

}  // namespace optic
