#pragma once

#include <string>
#include <string_view>

namespace optic {

// The pieces of the explanations that go with the reader's messages: what is wrong with a
// line and what was expected, in plain words on one line, naming each value as the README's
// format reference does ("lens: radius1 \"abc\" is not a number; expected L x y ...").
namespace explication {

// How a token reads as a number: wholly, by a numeric start followed by other characters
// ("12mm" reads 12), not at all (it reads 0), or not there (an empty token: a missing value).
enum class Forme { Nombre, Debut, Rien, Absent };
Forme Lire(std::string_view jeton, bool entier);

// The token as written, in double quotes, with anything that would not print on one line
// (control characters, bytes that are not UTF-8, quotes) escaped.
std::string Citer(std::string_view jeton);

// A number for people: 1.5, 1e-10, 100000.
std::string Nombre(double x);

// A value as written, saying how it reads when that is not plain: `5`, `"4O" (reads 4)`,
// `"one" (not a number, reads 0)`, `(missing, reads 0)`.
std::string Ecrit(std::string_view jeton, bool entier = false);

// A value named by its field, saying how it reads when that is not plain:
// `radius1 5`, `radius1 "4O" (reads 4)`, `glass "one" (not a number, reads 0)`,
// `glass (missing, reads 0)`.
std::string Valeur(std::string_view champ, std::string_view jeton, bool entier = false);

// What a value has against it when it should be a number: `radius1 "nan" is not a finite
// number`, `index "abc" is not a number`.
std::string PasUnNombre(std::string_view champ, std::string_view jeton);

// Too few values: "5 values, 6 expected (D x y thickness inner outer angle)", with a word
// about tabs when the line has one, and about a token that ended the line by its length
// (`coupee`).
std::string Compte(long lues, long attendues, std::string_view forme, std::string_view ligne,
                   bool coupee);

}  // namespace explication
}  // namespace optic
