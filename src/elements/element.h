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

}  // namespace optic
