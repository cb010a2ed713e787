#include "support/bmp_lecture.h"

#include <cstdio>
#include <stdexcept>

namespace optic::test {

std::uint32_t Champ(const std::vector<std::uint8_t>& octets, std::size_t position, int taille) {
    std::uint32_t v = 0;
    for (int i = taille - 1; i >= 0; --i) v = (v << 8) | octets.at(position + i);
    return v;
}

Bmp::Bmp(const std::vector<std::uint8_t>& octets) : octets_(octets) {
    if (octets_.size() < 54 || octets_[0] != 'B' || octets_[1] != 'M') {
        throw std::runtime_error("not a BMP picture");
    }
    cote_ = static_cast<int>(Champ(octets_, 18, 4));
    pas_ = 3 * static_cast<std::size_t>(cote_) + static_cast<std::size_t>(cote_ % 4);
    if (octets_.size() != 54 + pas_ * static_cast<std::size_t>(cote_)) {
        throw std::runtime_error("BMP picture of the wrong size");
    }
}

Rgb Bmp::Pixel(int colonne, int rang) const {
    const std::size_t p = 54 + static_cast<std::size_t>(cote_ - 1 - rang) * pas_ +
                          3 * static_cast<std::size_t>(colonne);
    return Rgb{octets_.at(p + 2), octets_.at(p + 1), octets_.at(p)};
}

long Bmp::Compter(Rgb couleur) const {
    long n = 0;
    for (int y = 0; y < cote_; ++y) {
        for (int x = 0; x < cote_; ++x) n += Pixel(x, y) == couleur;
    }
    return n;
}

std::string Empreinte(const std::vector<std::uint8_t>& octets) {
    std::uint64_t h = 1469598103934665603ULL;
    for (std::uint8_t o : octets) {
        h ^= o;
        h *= 1099511628211ULL;
    }
    char texte[17];
    std::snprintf(texte, sizeof texte, "%016llx", static_cast<unsigned long long>(h));
    return texte;
}

}  // namespace optic::test
