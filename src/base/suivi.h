#pragma once

#include <cstddef>
#include <string>

namespace optic {

struct System_Physique;

// Whoever follows a run step by step: a progress display on a terminal, a web page.  Every
// step does nothing unless the follower cares.
class Suivi {
  public:
    virtual ~Suivi() = default;
    // The bench is read, before any ray is traced.
    virtual void Lu(const System_Physique& /*systeme*/) {}
    // Tracing starts.
    virtual void Trace(std::size_t /*total*/) {}
    // Rays traced since the last call; may be called from any thread.
    virtual void RayonsTraces(std::size_t /*nombre*/) {}
    virtual void Dessin(const std::string& /*image*/, int /*taille*/) {}
    virtual void Ecriture(const std::string& /*image*/) {}
    virtual void Ecrite(const std::string& /*image*/, int /*taille*/) {}
    // Runs share out the pictures: this one draws rows [debut, fin) of the zoombox's picture
    // (none when debut == fin).  Said of every zoombox before any is drawn.
    virtual void Partage(std::size_t /*zoombox*/, int /*debut*/, int /*fin*/) {}
    // A message is about to be reported: whatever the follower shows must make way.
    virtual void Effacer() {}
};

// The steps past tracing, in words, as followers show them.
std::string EtapeDessin(const std::string& image, int taille);
std::string EtapeEcriture(const std::string& image);

}  // namespace optic
