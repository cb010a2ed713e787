#include "base/processeur.h"

namespace optic {

namespace {

Jeu Detecter() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512dq") &&
        __builtin_cpu_supports("avx512cd") && __builtin_cpu_supports("avx2") &&
        __builtin_cpu_supports("fma") && __builtin_cpu_supports("bmi2")) {
        return Jeu::Avx512;
    }
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
        __builtin_cpu_supports("bmi2")) {
        return Jeu::Avx2;
    }
#endif
    return Jeu::Base;
}

}  // namespace

Jeu JeuDuProcesseur() {
    static const Jeu jeu = Detecter();
    return jeu;
}

}  // namespace optic
