// On x86-64 the test is also compiled for AVX2 and for AVX-512 (remplissage_avx2.cpp,
// remplissage_avx512.cpp, built with those instruction sets) and the widest the processor
// has is chosen once.  The arithmetic is the same in every copy.
#include "render/remplissage.h"

#include "model/processeur.h"
#include "render/remplissage_corps.h"

namespace optic {

#if defined(OPTIC_X86)
void DedansRangeeAvx2(int type, const Dioptre* d, const double* xs, int n, double y,
                      std::uint8_t* dedans);
void DedansRangeeAvx512(int type, const Dioptre* d, const double* xs, int n, double y,
                        std::uint8_t* dedans);
#endif

namespace {

void DedansRangeeBase(int type, const Dioptre* d, const double* xs, int n, double y,
                      std::uint8_t* dedans) {
    DedansRangeeIci<2>(type, d, xs, n, y, dedans);
}

using Version = void (*)(int, const Dioptre*, const double*, int, double, std::uint8_t*);

Version DuProcesseur() {
#if defined(OPTIC_X86)
    if (JeuDuProcesseur() == Jeu::Avx512) return DedansRangeeAvx512;
    if (JeuDuProcesseur() == Jeu::Avx2) return DedansRangeeAvx2;
#endif
    return DedansRangeeBase;
}

}  // namespace

void DedansRangee(int type, const Dioptre* dioptres, const double* xs, int n, double y,
                  std::uint8_t* dedans) {
    static const Version version = DuProcesseur();
    version(type, dioptres, xs, n, y, dedans);
}

}  // namespace optic
