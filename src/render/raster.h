#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace optic {

// The pixels of one picture, laid out as the picture file stores them: rows from the
// bottom of the picture up, three bytes a pixel (blue, green, red), every row padded
// with zeros to a multiple of four bytes.  Writing the picture is then one sequential
// write of these bytes.
class Raster {
  public:
    explicit Raster(int taille);

    int taille() const { return taille_; }
    // Bytes of one stored row, padding included.
    std::size_t pas_ligne() const { return pas_ligne_; }
    std::size_t octets() const { return pas_ligne_ * static_cast<std::size_t>(taille_); }
    const std::uint8_t* donnees() const { return donnees_.get(); }
    std::uint8_t* donnees() { return donnees_.get(); }

    // First byte of raster row `rang` (row 0 is the top row of the picture).
    std::uint8_t* Ligne(int rang) {
        return donnees_.get() + static_cast<std::size_t>(taille_ - 1 - rang) * pas_ligne_;
    }

  private:
    int taille_;
    std::size_t pas_ligne_;
    std::unique_ptr<std::uint8_t[]> donnees_;
};

}  // namespace optic
