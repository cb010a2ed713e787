#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/suivi.h"

namespace optic {

// A one-line display of a run's progress on a terminal: rays traced out of the total, then
// each picture drawn and written; refreshed at most ten times a second, cleared at the end
// and followed by a one-line summary.  Inactive, it prints nothing at all.
class Progression : public Suivi {
  public:
    // Displays on `sortie` only when `active` (the caller checks that it is a terminal).
    Progression(std::FILE* sortie, bool active);
    ~Progression() override;
    Progression(const Progression&) = delete;
    Progression& operator=(const Progression&) = delete;

    // Tracing starts: the display begins.
    void Trace(std::size_t total) override;
    // May be called from any thread.
    void RayonsTraces(std::size_t nombre) override {
        rayons_.fetch_add(nombre, std::memory_order_relaxed);
    }
    void Dessin(const std::string& image, int taille) override;
    void Ecriture(const std::string& image) override;
    void Ecrite(const std::string& image, int taille) override;
    // Clears the line, so that a message can be printed on the terminal; the display comes
    // back at its next refresh.
    void Effacer() override;
    // Clears the line and prints the summary.
    void Fin();

  private:
    void Afficher();  // with verrou_ held
    void Boucle();
    void Arreter();

    std::FILE* sortie_;
    const bool active_;
    const std::chrono::steady_clock::time_point debut_ = std::chrono::steady_clock::now();
    std::atomic<std::size_t> rayons_{0};
    std::size_t total_ = 0;

    std::mutex verrou_;
    std::condition_variable reveil_;
    bool fini_ = false;
    std::string etape_;    // what the run is doing, when past tracing
    std::string affiche_;  // the line on the terminal
    std::vector<std::string> ecrites_;
    std::thread afficheur_;
};

}  // namespace optic
