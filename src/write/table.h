#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace optic {

// A number with a fixed count of decimals (in scientific notation from 1e12 on); "n/a" when
// it is not finite.  A value that rounds to zero has no sign.
std::string Decimales(double v, int decimales);

// A column of a table for people.
struct Colonne {
    std::string_view titre;
    bool a_droite;  // numbers are aligned on the right
};

// Writes the titles and the rows in columns two spaces apart, each as wide as its widest
// cell.  A row with fewer cells than columns ends with a cell that spans the rest.
void EcrireTable(std::ostream& sortie, const std::vector<Colonne>& colonnes,
                 const std::vector<std::vector<std::string>>& lignes);

}  // namespace optic
