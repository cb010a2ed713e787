#pragma once

#include <ostream>

#include "model/system.h"

namespace optic {

// Writes what is where on the bench, as a JSON document for the page, in world units: each
// lens and diaphragm (file order) and each source with its line, its values as read, its
// outline and its handles (each naming the values of its line that dragging it changes), and
// each zoombox with its line and values.  The README's page section describes the document.
void EcrireGeometrie(std::ostream& sortie, const System_Physique& systeme);

}  // namespace optic
