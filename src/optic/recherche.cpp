// On x86-64 the search is also compiled for AVX2 and for AVX-512 (recherche_avx2.cpp,
// recherche_avx512.cpp, built with those instruction sets) and the widest the processor has
// is chosen once.  The arithmetic is the same in every copy.
#include "optic/recherche.h"

#include "optic/recherche_corps.h"

namespace optic {

#if defined(OPTIC_RECHERCHE_X86)
void ChercherAvx2(const Dioptre* surfaces, std::size_t n, Voies& v);
void ChercherAvx512(const Dioptre* surfaces, std::size_t n, Voies& v);
#endif

namespace {

void ChercherDefaut(const Dioptre* surfaces, std::size_t n, Voies& v) {
    ChercherIci<2>(surfaces, n, v);
}

using Version = void (*)(const Dioptre*, std::size_t, Voies&);

Version DuProcesseur() {
#if defined(OPTIC_RECHERCHE_X86)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512dq") &&
        __builtin_cpu_supports("avx512cd")) {
        return ChercherAvx512;
    }
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
        __builtin_cpu_supports("bmi2")) {
        return ChercherAvx2;
    }
#endif
    return ChercherDefaut;
}

}  // namespace

void Chercher(const Dioptre* surfaces, std::size_t n, Voies& v) {
    static const Version version = DuProcesseur();
    version(surfaces, n, v);
}

}  // namespace optic
