#include "base/parallele.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <pthread.h>
#include <sched.h>
#define OPTIC_PLACEMENT 1
#endif

namespace optic {

namespace {

#if defined(OPTIC_PLACEMENT)
// A helper thread, started on another processor than the calling thread's.  Left to itself,
// the system often queues a new thread behind its creator, on the creator's processor, until
// the next balancing tick moves it, milliseconds later, while the creator works alone.  The
// helper is started where the creator is not, then may go anywhere the process may.
class Aide {
  public:
    explicit Aide(const std::function<void()>& travail) : travail_(travail) {
        if (::sched_getaffinity(0, sizeof permis_, &permis_) != 0) CPU_ZERO(&permis_);
        cpu_set_t ailleurs = permis_;
        const int ici = ::sched_getcpu();
        if (ici >= 0 && ici < CPU_SETSIZE) CPU_CLR(ici, &ailleurs);
        pthread_attr_t attributs;
        ::pthread_attr_init(&attributs);
        const bool placer =
            CPU_COUNT(&ailleurs) > 0 &&
            ::pthread_attr_setaffinity_np(&attributs, sizeof ailleurs, &ailleurs) == 0;
        int erreur = ::pthread_create(&fil_, &attributs, &Aide::Demarrer, this);
        ::pthread_attr_destroy(&attributs);
        if (erreur != 0 && placer) erreur = ::pthread_create(&fil_, nullptr, &Aide::Demarrer, this);
        if (erreur != 0) throw std::system_error(erreur, std::generic_category());
    }
    ~Aide() { ::pthread_join(fil_, nullptr); }
    Aide(const Aide&) = delete;
    Aide& operator=(const Aide&) = delete;

  private:
    static void* Demarrer(void* moi) {
        auto* aide = static_cast<Aide*>(moi);
        if (CPU_COUNT(&aide->permis_) > 0) {
            ::pthread_setaffinity_np(::pthread_self(), sizeof aide->permis_, &aide->permis_);
        }
        aide->travail_();
        return nullptr;
    }

    const std::function<void()>& travail_;
    cpu_set_t permis_;  // the processors the process may run on
    pthread_t fil_;
};
#else
// A helper thread, where the system puts it.
class Aide {
  public:
    explicit Aide(const std::function<void()>& travail) : fil_(travail) {}
    ~Aide() { fil_.join(); }

  private:
    std::thread fil_;
};
#endif

}  // namespace

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
    const std::function<void()> travailler = [&] {
        for (std::size_t i; (i = suivante.fetch_add(1, std::memory_order_relaxed)) < nb_taches;) {
            tache(i);
        }
    };
    std::vector<std::unique_ptr<Aide>> equipe;
    equipe.reserve(fils - 1);
    for (std::size_t f = 1; f < fils; ++f) equipe.push_back(std::make_unique<Aide>(travailler));
    travailler();
}

}  // namespace optic
