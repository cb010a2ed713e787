#include "model/explication.h"

#include <cstdio>
#include <cstdlib>

#include "model/lecture_ligne.h"

namespace optic::explication {

Forme Lire(std::string_view jeton, bool entier) {
    if (jeton.empty()) return Forme::Absent;
    char texte[Jetons::kLongueurMax + 1];
    const std::size_t n = std::min(jeton.size(), Jetons::kLongueurMax);
    jeton.copy(texte, n);
    texte[n] = '\0';
    char* fin = texte;
    if (entier) {
        std::strtol(texte, &fin, 10);
    } else {
        std::strtod(texte, &fin);
    }
    if (fin == texte) return Forme::Rien;
    return *fin == '\0' ? Forme::Nombre : Forme::Debut;
}

namespace {

// The length of the UTF-8 sequence at the start of s, or 0 if it is not one.
std::size_t Utf8(std::string_view s) {
    const auto o = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = o(0);
    const std::size_t n = c >= 0xf0 && c <= 0xf4 ? 4 : c >= 0xe0 ? 3 : c >= 0xc2 ? 2 : 0;
    if (n == 0 || c >= 0xf5 || s.size() < n) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((o(i) & 0xc0) != 0x80) return 0;
    }
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    if ((c == 0xe0 && o(1) < 0xa0) || (c == 0xed && o(1) >= 0xa0) || (c == 0xf0 && o(1) < 0x90) ||
        (c == 0xf4 && o(1) >= 0x90)) {
        return 0;
    }
    return n;
}

}  // namespace

std::string Citer(std::string_view jeton) {
    std::string s = "\"";
    for (std::size_t i = 0; i < jeton.size();) {
        const unsigned char c = static_cast<unsigned char>(jeton[i]);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += static_cast<char>(c);
            ++i;
        } else if (c >= 0x20 && c < 0x7f) {
            s += static_cast<char>(c);
            ++i;
        } else if (const std::size_t n = c >= 0x80 ? Utf8(jeton.substr(i)) : 0; n > 0) {
            s += jeton.substr(i, n);
            i += n;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            s += hex;
            ++i;
        }
    }
    return s + "\"";
}

std::string Nombre(double x) {
    char texte[32];
    std::snprintf(texte, sizeof texte, "%.6g", x);
    return texte;
}

std::string Ecrit(std::string_view jeton, bool entier) {
    switch (Lire(jeton, entier)) {
        case Forme::Absent:
            return "(missing, reads 0)";
        case Forme::Rien:
            return Citer(jeton) + " (not a number, reads 0)";
        case Forme::Debut:
            return Citer(jeton) + " (reads " +
                   (entier ? std::to_string(LireEntier(jeton)) : Nombre(LireReel(jeton))) + ")";
        case Forme::Nombre:
            break;
    }
    return std::string(jeton);
}

std::string Valeur(std::string_view champ, std::string_view jeton, bool entier) {
    return std::string(champ) + " " + Ecrit(jeton, entier);
}

std::string PasUnNombre(std::string_view champ, std::string_view jeton) {
    const bool lu = Lire(jeton, false) != Forme::Rien;
    return std::string(champ) + " " + Citer(jeton) +
           (lu ? " is not a finite number" : " is not a number");
}

std::string Compte(long lues, long attendues, std::string_view forme, std::string_view ligne,
                   bool coupee) {
    std::string s = lues == 0   ? std::string("no values")
                    : lues == 1 ? std::string("1 value")
                                : std::to_string(lues) + " values";
    s += ", " + std::to_string(attendues) + " expected (" + std::string(forme) + ")";
    if (ligne.find('\t') != std::string_view::npos)
        s += "; values are separated by spaces, not tabs";
    if (coupee) s += "; a value of 79 characters or more ends the line";
    return s;
}

}  // namespace optic::explication
