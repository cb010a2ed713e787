#pragma once

#include "elements/element.h"

namespace optic {

// The paraxial focal length of a lens of the bench (thick-lens formula) at a wavelength, in a
// surrounding medium of index `n_espace`: positive for a converging lens, infinite (of either
// sign) for a lens without power, such as one with two flat faces.  Read from the lens's
// surfaces: its radii, its thickness between the vertices, its glass.
double FocaleParaxiale(const Element& lentille, double n_espace, double lambda);

}  // namespace optic
