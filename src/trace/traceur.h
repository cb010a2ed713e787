#pragma once

#include <cstddef>
#include <vector>

#include "model/source.h"
#include "trace/banc.h"

namespace optic {

// Traces rays debut .. fin - 1 of the bench's order into rayons[0 .. fin - debut), their
// paths one after the other in `noeuds` (emptied first), which the rays then view.  Several
// rays go side by side in the processor's vector lanes; every ray gets exactly the path the
// plain Propagation gives it.
void Tracer(const Banc& banc, std::size_t debut, std::size_t fin, Rayon* rayons,
            std::vector<Point>& noeuds);

}  // namespace optic
