#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

namespace optic {

// Rows [debut, fin) of a picture.
struct Rangs {
    int debut = 0, fin = 0;
};

// The pixels of one picture, or of a band of its rows, in the picture file's order: rows from
// the bottom of the picture up, three bytes a pixel (blue, green, red), every row padded with
// zeros to a multiple of four bytes.  In memory the rows lie a little further apart than in
// the file, so that a steep segment, stepping from row to row, does not keep landing on the
// same few cache sets.
class Raster {
  public:
    explicit Raster(int taille);
    // Raster rows [debut, fin) of a picture of side `taille`, in the memory of `ancien` when it
    // is large enough (its pixels are then whatever they were: paint them all), otherwise in
    // memory of its own, given only once `ancien`'s is.  Pictures (or bands) drawn one after
    // the other then reuse pages the system has already handed out.
    Raster(int taille, int debut, int fin, Raster&& ancien);
    Raster(int taille, Raster&& ancien) : Raster(taille, 0, taille, std::move(ancien)) {}

    int taille() const { return taille_; }
    // The rows it holds: [debut(), fin()).
    int debut() const { return debut_; }
    int fin() const { return fin_; }
    // Bytes of one row in the file, padding included.
    std::size_t octets_ligne() const { return octets_ligne_; }
    // The same for a picture of side `taille`.
    static constexpr std::size_t OctetsLigne(int taille) {
        return 3 * static_cast<std::size_t>(taille) + static_cast<std::size_t>(taille % 4);
    }
    // Bytes from one row to the next in memory.
    std::size_t pas_ligne() const { return pas_ligne_; }
    // The same for a picture of side `taille`.
    static std::size_t PasLigne(int taille);
    // Bytes of pixel data in the file.
    std::size_t octets() const { return octets_ligne_ * static_cast<std::size_t>(taille_); }

    // First byte of raster row `rang` (row 0 is the top row of the picture), one it holds.
    std::uint8_t* Ligne(int rang) {
        return donnees_.get() + static_cast<std::size_t>(fin_ - 1 - rang) * pas_ligne_;
    }
    const std::uint8_t* Ligne(int rang) const { return const_cast<Raster*>(this)->Ligne(rang); }
    // The k-th row written to the file (the bottom row of the picture first).
    std::uint8_t* LigneFichier(int k) { return Ligne(taille_ - 1 - k); }
    const std::uint8_t* LigneFichier(int k) const {
        return const_cast<Raster*>(this)->LigneFichier(k);
    }

  private:
    struct Liberer {
        std::size_t octets;
        void operator()(std::uint8_t* p) const;
    };
    int taille_;
    int debut_, fin_;
    std::size_t octets_ligne_;
    std::size_t pas_ligne_;
    std::unique_ptr<std::uint8_t[], Liberer> donnees_;
};

// One bit a pixel, for a picture of side `taille`: which pixels the rays have already
// covered, when they are drawn from the last to the first (see DessinRayons).  Rows of bits
// are whole 64-bit words apart, so that threads drawing bands of rows share no word.
class Couverture {
  public:
    explicit Couverture(int taille);

    std::uint64_t* Mots() { return mots_.get(); }
    std::ptrdiff_t MotsParLigne() const { return mots_ligne_; }

  private:
    struct Liberer {
        std::size_t octets;
        void operator()(std::uint64_t* p) const;
    };
    std::ptrdiff_t mots_ligne_;
    std::unique_ptr<std::uint64_t[], Liberer> mots_;
};

}  // namespace optic
