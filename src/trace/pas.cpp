// On x86-64 the step is also compiled for AVX2 and for AVX-512 (pas_avx2.cpp, pas_avx512.cpp,
// built with those instruction sets) and the widest the processor has is chosen once.  The
// arithmetic is the same in every copy.
#include "trace/pas.h"

#include "base/processeur.h"
#include "trace/pas_corps.h"

namespace optic {

#if defined(OPTIC_X86)
void PasAvx2(const BancPlat& banc, Voies& v);
void PasAvx512(const BancPlat& banc, Voies& v);
#endif

namespace {

void PasBase(const BancPlat& banc, Voies& v) {
    PasIci<2>(banc, v);
}

using Version = void (*)(const BancPlat&, Voies&);

Version DuProcesseur() {
#if defined(OPTIC_X86)
    if (JeuDuProcesseur() == Jeu::Avx512) return PasAvx512;
    if (JeuDuProcesseur() == Jeu::Avx2) return PasAvx2;
#endif
    return PasBase;
}

}  // namespace

void Pas(const BancPlat& banc, Voies& v) {
    static const Version version = DuProcesseur();
    version(banc, v);
}

}  // namespace optic
