#include "base/rapport.h"

namespace optic {

void RapportFlux::Message(std::string_view texte, const Lieu& lieu) {
    sortie_ << texte;
    if (!explications_ || lieu.explication.empty()) return;
    // Standard output first, so that a terminal shows the two lines in order.
    sortie_.flush();
    if (lieu.ligne > 0) {
        *explications_ << fichier_ << ':' << lieu.ligne << ": " << lieu.explication << '\n';
    } else {
        *explications_ << "optic: " << lieu.explication << '\n';
    }
    explications_->flush();
}

std::string RapportMemoire::Texte() const {
    std::string texte;
    for (const Entree& e : entrees_) texte += e.texte;
    return texte;
}

}  // namespace optic
