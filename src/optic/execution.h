#pragma once

#include <ostream>
#include <string>

namespace optic {

inline constexpr const char* kDescriptionParDefaut = "default_optic.txt";

// One whole run on a description file: read the bench, trace every ray, then draw and write
// each zoombox's picture.  Messages go to `rapport`.  Returns the exit status: 0, or -1 when
// the file cannot be read, a lens line comes before any glass, or a picture cannot be written.
int Executer(const std::string& description, std::ostream& rapport, int nb_fils);

}  // namespace optic
