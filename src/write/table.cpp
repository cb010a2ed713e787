#include "write/table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace optic {

std::string Decimales(double v, int decimales) {
    if (!std::isfinite(v)) return "n/a";
    char texte[64];
    std::snprintf(texte, sizeof texte, std::fabs(v) < 1e12 ? "%.*f" : "%.*e", decimales, v);
    std::string s = texte;
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

void EcrireTable(std::ostream& sortie, const std::vector<Colonne>& colonnes,
                 const std::vector<std::vector<std::string>>& lignes) {
    std::vector<std::size_t> largeurs;
    for (const Colonne& c : colonnes) largeurs.push_back(c.titre.size());
    for (const std::vector<std::string>& l : lignes) {
        const std::size_t pleines = l.size() < colonnes.size() ? l.size() - 1 : l.size();
        for (std::size_t k = 0; k < pleines; ++k) largeurs[k] = std::max(largeurs[k], l[k].size());
    }
    auto ecrire = [&](const std::vector<std::string>& cellules) {
        std::string ligne;
        for (std::size_t k = 0; k < cellules.size(); ++k) {
            const std::string& c = cellules[k];
            const bool derniere = k + 1 == cellules.size();
            const std::size_t marge = c.size() < largeurs[k] ? largeurs[k] - c.size() : 0;
            if (k > 0) ligne += "  ";
            if (colonnes[k].a_droite && !(derniere && cellules.size() < colonnes.size())) {
                ligne.append(marge, ' ');
                ligne += c;
            } else {
                ligne += c;
                if (!derniere) ligne.append(marge, ' ');
            }
        }
        sortie << ligne << '\n';
    };
    std::vector<std::string> titres;
    for (const Colonne& c : colonnes) titres.emplace_back(c.titre);
    ecrire(titres);
    for (const std::vector<std::string>& l : lignes) ecrire(l);
}

}  // namespace optic
