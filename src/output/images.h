#pragma once

#include <string>

#include "output/formats.h"

namespace optic {

// The name of zoombox c's picture in a format: "OpticZoomBox_0.bmp", ".png" or ".svg".
std::string NomImage(int c, FormatImage format = FormatImage::Bmp);

// Where the picture `nom` goes: in `dossier`, or in the working directory when it is empty.
std::string CheminImage(const std::string& dossier, const std::string& nom);

}  // namespace optic
