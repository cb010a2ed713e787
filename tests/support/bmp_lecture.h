#pragma once

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "raster/raster.h"

namespace optic::test {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
inline void PrintTo(const Rgb& c, std::ostream* os) {
    *os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// Reads a little-endian field of a picture's header.
inline std::uint32_t Champ(const std::vector<std::uint8_t>& o, std::size_t position, int taille) {
    std::uint32_t v = 0;
    for (int i = taille - 1; i >= 0; --i) v = (v << 8) | o.at(position + i);
    return v;
}

// Whether the bytes are a square 24-bit BMP picture of the size its header gives.
inline bool Valide(const std::vector<std::uint8_t>& o) {
    if (o.size() < 54 || o[0] != 'B' || o[1] != 'M') return false;
    const std::size_t n = Champ(o, 18, 4);
    return Champ(o, 22, 4) == n && o.size() == 54 + n * (3 * n + n % 4);
}

// A picture's pixels, row 0 the top row.
struct Toile {
    int cote = 0;
    std::vector<Rgb> pixels;
    Rgb operator()(int colonne, int rang) const { return pixels.at(rang * cote + colonne); }
};

// The pixels of a square 24-bit BMP picture, its rows stored bottom first, padded to 4 bytes.
inline Toile DepuisBMP(const std::vector<std::uint8_t>& o) {
    Toile t;
    t.cote = static_cast<int>(Champ(o, 18, 4));
    const std::size_t n = static_cast<std::size_t>(t.cote);
    for (std::size_t y = 0; y < n; ++y) {
        for (std::size_t p = 54 + (n - 1 - y) * (3 * n + n % 4), x = 0; x < n; ++x, p += 3)
            t.pixels.push_back(Rgb{o.at(p + 2), o.at(p + 1), o.at(p)});
    }
    return t;
}

// A short, stable digest of a picture's bytes (FNV-1a, 64 bits), for golden pictures.
inline std::string Empreinte(const std::vector<std::uint8_t>& octets) {
    std::uint64_t h = 1469598103934665603ULL;
    for (std::uint8_t o : octets) h = (h ^ o) * 1099511628211ULL;
    char texte[17];
    std::snprintf(texte, sizeof texte, "%016llx", static_cast<unsigned long long>(h));
    return texte;
}

// The pixel bytes of a raster, row by row as the picture file has them.
inline std::vector<std::uint8_t> OctetsDuRaster(const Raster& r) {
    std::vector<std::uint8_t> o;
    for (int k = 0; k < r.taille(); ++k) {
        o.insert(o.end(), r.LigneFichier(k), r.LigneFichier(k) + r.octets_ligne());
    }
    return o;
}

}  // namespace optic::test
