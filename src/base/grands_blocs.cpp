#include "base/grands_blocs.h"

#include <cstdint>
#include <cstring>

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <sys/mman.h>
#define OPTIC_GRANDES_PAGES 1
#endif

namespace optic {

namespace {

#if defined(OPTIC_GRANDES_PAGES)
constexpr std::size_t kGrandePage = std::size_t{2} << 20;

// The bytes mapped for a block of `octets`: whole huge pages.
std::size_t Arrondi(std::size_t octets) {
    return (octets + kGrandePage - 1) / kGrandePage * kGrandePage;
}
#endif

}  // namespace

void* AllouerBloc(std::size_t octets) {
#if defined(OPTIC_GRANDES_PAGES)
    if (octets >= kGrandBloc) {
        if (octets > SIZE_MAX - 2 * kGrandePage) throw std::bad_alloc();
        const std::size_t taille = Arrondi(octets);
        // Mapped one huge page larger, then trimmed to a start on a huge page's boundary.
        void* p = ::mmap(nullptr, taille + kGrandePage, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
        const auto debut = reinterpret_cast<std::uintptr_t>(p);
        const std::uintptr_t aligne = (debut + kGrandePage - 1) / kGrandePage * kGrandePage;
        if (aligne > debut) ::munmap(p, aligne - debut);
        const std::size_t apres = kGrandePage - (aligne - debut);
        if (apres > 0) ::munmap(reinterpret_cast<void*>(aligne + taille), apres);
        auto* bloc = reinterpret_cast<void*>(aligne);
        ::madvise(bloc, taille, MADV_HUGEPAGE);  // a hint: without it, ordinary pages
        return bloc;
    }
#endif
    return ::operator new(octets);
}

void* AllouerBlocZero(std::size_t octets) {
    void* bloc = AllouerBloc(octets);
#if defined(OPTIC_GRANDES_PAGES)
    if (octets >= kGrandBloc) return bloc;  // fresh from the system
#endif
    std::memset(bloc, 0, octets);
    return bloc;
}

void LibererBloc(void* bloc, [[maybe_unused]] std::size_t octets) noexcept {
    if (!bloc) return;
#if defined(OPTIC_GRANDES_PAGES)
    if (octets >= kGrandBloc) {
        ::munmap(bloc, Arrondi(octets));
        return;
    }
#endif
    ::operator delete(bloc);
}

}  // namespace optic
