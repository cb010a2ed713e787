#include "raster/raster.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "base/grands_blocs.h"

namespace optic {

namespace {

// Pictures come zeroed, in huge pages where the system grants them (see AllouerBloc): a
// steep segment steps from row to row, kilobytes apart, and with small pages nearly every
// point would need a new page translation.
std::uint8_t* Allouer(std::size_t octets) {
    return octets == 0 ? nullptr : static_cast<std::uint8_t*>(AllouerBlocZero(octets));
}

// An odd number of cache lines from row to row spreads the rows over every cache set.
std::size_t PasMemoire(std::size_t octets_ligne) {
#if defined(__EMSCRIPTEN__)
    // In WebAssembly the rows lie as in the file, so that a band is written in one piece:
    // each write into its file system in memory costs far more than the cache sets.
    return octets_ligne;
#endif
    constexpr std::size_t kLigneCache = 64;
    std::size_t lignes = (octets_ligne + kLigneCache - 1) / kLigneCache;
    if (lignes % 2 == 0) ++lignes;
    return lignes * kLigneCache;
}

// The bytes of a picture of `lignes` rows `pas` bytes apart.  Pixels are reached by signed
// offsets from a row, so on a 32-bit target (WebAssembly) a picture beyond 2 GiB is more than
// the memory can hold, like any allocation that fails.
std::size_t Octets(std::size_t pas, int lignes) {
    const std::uint64_t octets =
        static_cast<std::uint64_t>(pas) * static_cast<std::uint64_t>(lignes);
    if (octets > static_cast<std::uint64_t>(PTRDIFF_MAX)) throw std::bad_alloc();
    return static_cast<std::size_t>(octets);
}

}  // namespace

std::size_t Raster::PasLigne(int taille) {
    return PasMemoire(OctetsLigne(taille));
}

void Raster::Liberer::operator()(std::uint8_t* p) const {
    LibererBloc(p, octets);
}

Raster::Raster(int taille)
    : taille_(taille),
      debut_(0),
      fin_(taille),
      octets_ligne_(OctetsLigne(taille)),
      pas_ligne_(PasLigne(taille)),
      donnees_(Allouer(Octets(pas_ligne_, taille)), Liberer{Octets(pas_ligne_, taille)}) {}

Raster::Raster(int taille, int debut, int fin, Raster&& ancien)
    : taille_(taille),
      debut_(debut),
      fin_(std::max(debut, fin)),
      octets_ligne_(OctetsLigne(taille)),
      pas_ligne_(PasLigne(taille)),
      donnees_(nullptr, Liberer{0}) {
    const std::size_t octets = Octets(pas_ligne_, fin_ - debut_);
    if (ancien.donnees_ && ancien.donnees_.get_deleter().octets >= octets) {
        donnees_ = std::move(ancien.donnees_);
    } else {
        ancien.donnees_.reset();
        donnees_ = decltype(donnees_)(Allouer(octets), Liberer{octets});
    }
}

void Couverture::Liberer::operator()(std::uint64_t* p) const {
    LibererBloc(p, octets);
}

// Zeroed memory: for a large picture the system hands out zero pages as they are touched.
Couverture::Couverture(int taille) : mots_ligne_((std::max(taille, 0) + 63) / 64), mots_(nullptr) {
    const std::size_t octets =
        sizeof(std::uint64_t) *
        (static_cast<std::size_t>(mots_ligne_) * static_cast<std::size_t>(std::max(taille, 0)) + 1);
    mots_ = decltype(mots_)(static_cast<std::uint64_t*>(AllouerBlocZero(octets)), Liberer{octets});
}

}  // namespace optic
