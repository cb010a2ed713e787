#pragma once

#include <cstddef>
#include <functional>

namespace optic {

// The number of threads to use: OMP_NUM_THREADS when it is set to a positive number,
// otherwise the hardware's count.
int NombreFilsParDefaut();

// Runs tache(0) ... tache(nb_taches - 1) over at most `nb_fils` threads, each task once: the
// caller's and helpers started at the first call and kept for the process.  The first error a
// task throws is thrown again to the caller, once every task taken has ended.
void EnParallele(std::size_t nb_taches, int nb_fils, const std::function<void(std::size_t)>& tache);

}  // namespace optic
