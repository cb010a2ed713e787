#include "optic/parallele.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

namespace optic {

int NombreFilsParDefaut() {
    if (const char* env = std::getenv("OMP_NUM_THREADS")) {
        const long n = std::strtol(env, nullptr, 10);
        if (n > 0) return static_cast<int>(std::min(n, 256L));
    }
    const unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? static_cast<int>(n) : 1;
}

void EnParallele(std::size_t nb_taches, int nb_fils,
                 const std::function<void(std::size_t)>& tache) {
    const std::size_t fils =
        std::min<std::size_t>(nb_taches, static_cast<std::size_t>(std::max(nb_fils, 1)));
    if (fils <= 1) {
        for (std::size_t i = 0; i < nb_taches; ++i) tache(i);
        return;
    }
    std::atomic<std::size_t> suivante{0};
    auto travailler = [&] {
        for (std::size_t i; (i = suivante.fetch_add(1, std::memory_order_relaxed)) < nb_taches;) {
            tache(i);
        }
    };
    std::vector<std::thread> equipe;
    equipe.reserve(fils - 1);
    for (std::size_t f = 1; f < fils; ++f) equipe.emplace_back(travailler);
    travailler();
    for (std::thread& t : equipe) t.join();
}

}  // namespace optic
