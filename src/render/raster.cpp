#include "render/raster.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace optic {

namespace {

// Pictures are mapped directly from the system, in huge pages where it grants them: a steep
// segment steps from row to row, kilobytes apart, and with small pages nearly every point
// would need a new page translation.
std::uint8_t* Allouer(std::size_t octets) {
    if (octets == 0) return nullptr;
    void* p = ::mmap(nullptr, octets, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    ::madvise(p, octets, MADV_HUGEPAGE);  // a hint: without it, ordinary pages
#endif
    return static_cast<std::uint8_t*>(p);
}

// An odd number of cache lines from row to row spreads the rows over every cache set.
std::size_t PasMemoire(std::size_t octets_ligne) {
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

void Raster::Liberer::operator()(std::uint8_t* p) const {
    if (p) ::munmap(p, octets);
}

Raster::Raster(int taille)
    : taille_(taille),
      octets_ligne_(3 * static_cast<std::size_t>(taille) + static_cast<std::size_t>(taille % 4)),
      pas_ligne_(PasMemoire(octets_ligne_)),
      donnees_(Allouer(Octets(pas_ligne_, taille)), Liberer{Octets(pas_ligne_, taille)}) {}

}  // namespace optic
