#include "base/parallele.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace optic {

namespace {

// A helper that finds no work after a call sleeps, but first looks again for this long: the
// next call of a run often comes within microseconds, and a thread woken from sleep may start
// milliseconds later on a busy machine.
constexpr auto kAttenteActive = std::chrono::microseconds(200);

// One call of EnParallele being worked on: its tasks, taken in turn by whoever is free.
struct Travail {
    const std::function<void(std::size_t)>* tache = nullptr;
    std::size_t nombre = 0;
    std::atomic<std::size_t> suivante{0};
    std::size_t aides = 0;     // helpers wanted for it
    std::exception_ptr echec;  // the first task that threw, guarded by the pool's lock
    std::atomic<bool> en_echec{false};

    // Runs tasks until none is left.
    void Prendre(std::mutex& verrou) {
        for (std::size_t i; (i = suivante.fetch_add(1, std::memory_order_relaxed)) < nombre;) {
            if (!en_echec.load(std::memory_order_relaxed)) {
                try {
                    (*tache)(i);
                } catch (...) {
                    const std::lock_guard<std::mutex> garde(verrou);
                    if (!echec) echec = std::current_exception();
                    en_echec.store(true, std::memory_order_relaxed);
                }
            }
        }
    }
};

// Threads started once and kept for the whole process, so that a call costs a wake-up, not
// a thread's start and end: on this kind of machine a new thread was often queued for
// milliseconds behind its creator.  One call at a time is served; a call made while another
// is served (from a task, or from another thread) runs on its caller's thread alone.
class Equipe {
  public:
    ~Equipe() {
        {
            const std::lock_guard<std::mutex> garde(verrou_);
            arret_ = true;
            generation_.fetch_add(1, std::memory_order_release);
        }
        reveil_.notify_all();
        for (std::thread& f : fils_) f.join();
    }

    // Runs tache(0) ... tache(nombre - 1) with the caller and up to `aides` helpers; false,
    // having run nothing, when the pool serves another call.
    bool Servir(std::size_t nombre, std::size_t aides,
                const std::function<void(std::size_t)>& tache) {
        std::unique_lock<std::mutex> appel(appel_, std::try_to_lock);
        if (!appel.owns_lock()) return false;
        Travail travail;
        travail.tache = &tache;
        travail.nombre = nombre;
        {
            const std::lock_guard<std::mutex> garde(verrou_);
            while (fils_.size() < aides) {
                const std::size_t rang = fils_.size();
                fils_.emplace_back([this, rang] { Aider(rang); });
            }
            travail.aides = aides;
            courant_ = &travail;
            presents_ = 0;
            generation_.fetch_add(1, std::memory_order_release);
        }
        reveil_.notify_all();
        travail.Prendre(verrou_);
        // Every task taken, then every helper gone from this call (each finishes the tasks it
        // took), before the call leaves the stack.
        std::unique_lock<std::mutex> garde(verrou_);
        courant_ = nullptr;
        fin_.wait(garde, [&] { return presents_ == 0; });
        garde.unlock();
        if (travail.echec) std::rethrow_exception(travail.echec);
        return true;
    }

  private:
    void Aider(std::size_t rang) {
        std::uint64_t vue = 0;
        for (;;) {
            // Waits for a call newer than the last one seen.
            const auto jusque = std::chrono::steady_clock::now() + kAttenteActive;
            while (generation_.load(std::memory_order_acquire) == vue &&
                   std::chrono::steady_clock::now() < jusque) {
                std::this_thread::yield();
            }
            Travail* travail;
            {
                std::unique_lock<std::mutex> garde(verrou_);
                reveil_.wait(garde,
                             [&] { return generation_.load(std::memory_order_relaxed) != vue; });
                vue = generation_.load(std::memory_order_relaxed);
                if (arret_) return;
                travail = courant_;
                if (!travail || rang >= travail->aides) continue;
                ++presents_;
            }
            travail->Prendre(verrou_);
            {
                const std::lock_guard<std::mutex> garde(verrou_);
                --presents_;
            }
            fin_.notify_one();
        }
    }

    std::mutex appel_;  // held by the call being served
    std::mutex verrou_;
    std::condition_variable reveil_, fin_;
    std::atomic<std::uint64_t> generation_{0};  // counts calls served, and the stop
    Travail* courant_ = nullptr;
    std::size_t presents_ = 0;  // helpers inside the current call
    bool arret_ = false;
    std::vector<std::thread> fils_;
};

Equipe& EquipeDuProcessus() {
    static Equipe equipe;
    return equipe;
}

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
    if (fils > 1 && EquipeDuProcessus().Servir(nb_taches, fils - 1, tache)) return;
    for (std::size_t i = 0; i < nb_taches; ++i) tache(i);
}

}  // namespace optic
