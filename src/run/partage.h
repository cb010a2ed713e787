#pragma once

#include <vector>

#include "model/system.h"

namespace optic {

// Which of `parts` runs of the same description draws each zoombox, when several runs share
// out one run's pictures (the page's workers): the largest pictures first, each to the run
// with the fewest pixels so far (the first of them on a tie).  The same description always
// gives the same shares.
std::vector<int> PartsDesImages(const System_Physique& systeme, int parts);

}  // namespace optic
