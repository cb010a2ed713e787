#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "base/suivi.h"

namespace optic {

// Follows a run for the page: hands over each zoombox's window and what is where on the bench
// once the bench is read, each
// picture once written, and where the run is, at most ten times a second while rays are
// traced and at each step after.
class SuiviWeb : public Suivi {
  public:
    void Lu(const System_Physique& systeme) override;
    void Trace(std::size_t total) override;
    void RayonsTraces(std::size_t nombre) override;
    void Dessin(const std::string& image, int taille) override;
    void Ecriture(const std::string& image) override;
    void Ecrite(const std::string& image, int taille) override;
    void Partage(std::size_t zoombox, int debut, int fin) override;

  private:
    void Annoncer(const std::string& etape, double fait, double total);

    std::size_t total_ = 0;
    std::size_t traces_ = 0;
    std::chrono::steady_clock::time_point annonce_ = std::chrono::steady_clock::now();
};

}  // namespace optic
