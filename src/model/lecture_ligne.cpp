#include "model/lecture_ligne.h"

#include <algorithm>
#include <cstdlib>

namespace optic {

bool LecteurLignes::Lire(std::string& ligne) {
    ligne.clear();
    while (ligne.size() < kLongueurMax) {
        int c = getc_unlocked(fichier_);
        if (c == EOF) break;
        if (c == '\r') {
            const int suivant = getc_unlocked(fichier_);
            if (suivant == '\n') {
                c = '\n';
            } else if (suivant != EOF) {
                ungetc(suivant, fichier_);
            }
        }
        ligne.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    if (ligne.empty()) return false;
    numero_ = suivante_;
    suite_ = coupee_;
    coupee_ = ligne.back() != '\n';
    if (!coupee_) ++suivante_;
    const std::size_t nul = ligne.find('\0');
    if (nul != std::string::npos) ligne.resize(nul);
    return true;
}

namespace {
bool Separateur(char c) {
    return c == ' ' || c == '\n';
}
}  // namespace

Jetons::Jetons(std::string_view ligne, bool fin_au_saut)
    : ligne_(ligne), fin_au_saut_(fin_au_saut) {
    while (curseur_ < ligne_.size() && !Separateur(ligne_[curseur_])) ++curseur_;
}

bool Jetons::Suivant(std::string_view& jeton) {
    if (coupee_ || curseur_ >= ligne_.size()) return false;
    if (fin_au_saut_ && ligne_[curseur_] == '\n') return false;
    while (curseur_ < ligne_.size() && ligne_[curseur_] == ' ') ++curseur_;
    const std::size_t debut = curseur_;
    while (curseur_ < ligne_.size() && !Separateur(ligne_[curseur_])) {
        ++curseur_;
        if (curseur_ - debut == kLongueurMax) {
            coupee_ = true;
            break;
        }
    }
    jeton = ligne_.substr(debut, curseur_ - debut);
    return true;
}

namespace {
// strtod and strtol want a terminated string; tokens are at most 79 characters.
struct Termine {
    char texte[Jetons::kLongueurMax + 1];
    explicit Termine(std::string_view jeton) {
        const std::size_t n = std::min(jeton.size(), Jetons::kLongueurMax);
        std::copy_n(jeton.data(), n, texte);  // an empty view may have no data at all
        texte[n] = '\0';
    }
};
}  // namespace

double LireReel(std::string_view jeton) {
    return std::strtod(Termine(jeton).texte, nullptr);
}

int LireEntier(std::string_view jeton) {
    // As the C library's atoi does: strtol, then the conversion to int.
    return static_cast<int>(std::strtol(Termine(jeton).texte, nullptr, 10));
}

}  // namespace optic
