#pragma once

#include <vector>

#include "elements/dioptre.h"

namespace optic {

struct IndiceRefraction;

// Kind codes of the bench's elements.
inline constexpr int kTypeLentille = 2;
inline constexpr int kTypeDiaphragme = 3;

// What every element of the bench is to the tracer and the drawing: its glass (none for a
// diaphragm), its surfaces in chain order, and its kind.
struct Element {
    const IndiceRefraction* indice = nullptr;
    std::vector<Dioptre> dioptres;
    int type = 0;
};

// An axis-aligned box of the world.
struct Boite {
    double xmin, xmax, ymin, ymax;
};

// The box around an element: the corners of each surface's extent (a plane's segment, or an
// arc's chord and its vertex), in the world.  Every point of every surface lies inside it.
Boite BoiteElement(const Element& e);

}  // namespace optic
