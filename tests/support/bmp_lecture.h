#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace optic::test {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A 24-bit BMP picture as the tests look at it: row 0 is the top row.
class Bmp {
  public:
    explicit Bmp(const std::vector<std::uint8_t>& octets);
    int cote() const { return cote_; }
    Rgb Pixel(int colonne, int rang) const;
    // How many pixels have this colour.
    long Compter(Rgb couleur) const;

  private:
    std::vector<std::uint8_t> octets_;
    int cote_ = 0;
    std::size_t pas_ = 0;
};

// Reads a little-endian field of a picture's header.
std::uint32_t Champ(const std::vector<std::uint8_t>& octets, std::size_t position, int taille);

// A short, stable digest of a picture's bytes (FNV-1a, 64 bits), for golden pictures.
std::string Empreinte(const std::vector<std::uint8_t>& octets);

}  // namespace optic::test
