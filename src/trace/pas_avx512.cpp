// A tracing step in AVX-512 instructions (this file is built for them).
#include "trace/pas_corps.h"

namespace optic {

void PasAvx512(const BancPlat& banc, Voies& v) {
    PasIci<8>(banc, v);
}

}  // namespace optic
