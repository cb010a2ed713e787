#include "base/suivi.h"

namespace optic {

std::string EtapeDessin(const std::string& image, int taille) {
    return "drawing " + image + " (" + std::to_string(taille) + " x " + std::to_string(taille) +
           " pixels)";
}

std::string EtapeEcriture(const std::string& image) {
    return "writing " + image;
}

}  // namespace optic
