// A tracing step in AVX2 instructions (this file is built for them).
#include "trace/pas_corps.h"

namespace optic {

void PasAvx2(const BancPlat& banc, Voies& v) {
    PasIci<4>(banc, v);
}

}  // namespace optic
