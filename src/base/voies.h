#pragma once

#include <cmath>
#include <concepts>
#include <type_traits>

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

namespace optic {

// Numbers side by side: W doubles in one vector register, each lane computed with the very
// same IEEE operations, in the same order, as a lone double (GCC and Clang vector extensions:
// SSE2, AVX2 or AVX-512 natively, SIMD128 in WebAssembly).  Arithmetic written once as a
// template over the number type runs on one double or on a whole vector, with the same
// results.  Functions on vectors are always inlined, so that a vector never crosses a call
// into code built for narrower registers.
template <int W>
struct Largeur {
    typedef double Doubles __attribute__((vector_size(8 * W)));
};

// What comparing two vectors gives: lanes of 64-bit integers, all ones for true.
template <typename T>
concept Masque = !std::is_arithmetic_v<T> && requires(T m) {
    m[0];
    ~m;
};
template <typename T>
concept Vecteur = !std::is_arithmetic_v<T> && !Masque<T> && requires(T a) {
    a[0];
};

#define OPTIC_EN_LIGNE [[gnu::always_inline]] inline

// One double.
OPTIC_EN_LIGNE double Choisir(bool m, double a, double b) {
    return m ? a : b;
}
OPTIC_EN_LIGNE double Abs(double a) {
    return std::fabs(a);
}
OPTIC_EN_LIGNE double Racine(double a) {
    return std::sqrt(a);
}
OPTIC_EN_LIGNE bool Non(bool m) {
    return !m;
}
OPTIC_EN_LIGNE bool Ou(bool a, bool b) {
    return a || b;
}

// Lane by lane.
template <Vecteur D, Masque M>
OPTIC_EN_LIGNE D Choisir(M m, D a, D b) {
    return m ? a : b;
}
template <Vecteur D>
OPTIC_EN_LIGNE D Abs(D a) {
    using M = decltype(a < a);
    return (D)((M)a & static_cast<long long>(0x7fffffffffffffffULL));
}
template <Vecteur D>
OPTIC_EN_LIGNE D Racine(D a) {
#if defined(__wasm_simd128__)
    // WebAssembly's compiler keeps the lanes of a loop in memory: say it in one instruction.
    if constexpr (sizeof(D) == 16) return (D)wasm_f64x2_sqrt((v128_t)a);
#endif
    D r;
    for (unsigned l = 0; l < sizeof(D) / sizeof(double); ++l) r[l] = std::sqrt(a[l]);
    return r;
}
template <Masque M>
OPTIC_EN_LIGNE M Non(M m) {
    return ~m;
}
template <Masque M>
OPTIC_EN_LIGNE M Ou(M a, M b) {
    return a | b;
}
// Whether no lane is true.
template <Masque M>
OPTIC_EN_LIGNE bool Aucun(M m) {
#if defined(__wasm_simd128__)
    if constexpr (sizeof(M) == 16) return !wasm_v128_any_true((v128_t)m);
#endif
    long long tous = 0;
    for (unsigned l = 0; l < sizeof(M) / sizeof(long long); ++l) tous |= m[l];
    return tous == 0;
}

// x in every lane (x - 0 is x, for -0 too).
template <typename T>
OPTIC_EN_LIGNE T Partout(double x) {
    if constexpr (std::same_as<T, double>) {
        return x;
    } else {
        return x - T{};
    }
}

}  // namespace optic
