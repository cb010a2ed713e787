#include "output/images.h"

namespace optic {

std::string NomImage(int c, FormatImage format) {
    const char* extension = format == FormatImage::Png   ? ".png"
                            : format == FormatImage::Svg ? ".svg"
                                                         : ".bmp";
    return "OpticZoomBox_" + std::to_string(c) + extension;
}

std::string CheminImage(const std::string& dossier, const std::string& nom) {
    if (dossier.empty()) return nom;
    return dossier.back() == '/' ? dossier + nom : dossier + "/" + nom;
}

}  // namespace optic
