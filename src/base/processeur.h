#pragma once

namespace optic {

// The widest vector instructions this processor runs, among those the program is built for
// (on x86-64: AVX2 and AVX-512 as x86-64-v3 and -v4 define them; elsewhere the base ones).
enum class Jeu { Base, Avx2, Avx512 };

// Decided once, when first asked.
Jeu JeuDuProcesseur();

}  // namespace optic
