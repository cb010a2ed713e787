#pragma once

#include <sys/uio.h>

#include <atomic>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace optic {

// Where a file's content goes while it is written: in order, through a buffer.  The first
// failure, or a signal asking the program to end, is kept: every later writing is skipped.
class Flux {
  public:
    // Copies the bytes out (through the buffer).
    bool Ecrire(const void* octets, std::size_t n);
    bool Ecrire(std::string_view texte) { return Ecrire(texte.data(), texte.size()); }
    // Large pieces, written straight out in one sequence, without a copy.
    bool EcrireMorceaux(std::vector<iovec> morceaux);
    // Large pieces, written straight out in one sequence from byte `position` of the file on,
    // without a copy and without moving where the other writings go.  Unlike the others, it
    // may be called from several threads at once, for places that do not overlap.
    bool EcrireA(std::uint64_t position, std::vector<iovec> morceaux);
    // Gives the file its final size before it is written, when that is known: a file system
    // in memory (the web engine's) then takes it at once instead of growing it piece by piece,
    // and one on a disk gives it its room at once.
    bool Reserver(std::size_t octets);
    bool Bon() const { return bon_.load(std::memory_order_relaxed); }

  private:
    friend class FichierEntier;
    Flux(int fd, const sigset_t& avant) : fd_(fd), avant_(avant) {}
    bool Vider();
    // Writes the pieces at `position`, or where the file is at with a negative one; what is
    // left of each piece is written into it as it goes.
    bool Sortir(iovec* morceaux, std::size_t nombre, std::int64_t position = -1);
    // Writes the pieces in batches, from `position` on (or where the file is at).
    bool EnLots(std::vector<iovec>& morceaux, std::int64_t position);
    bool Echec(int erreur);
    // A signal that ends the program arrived while it was held.
    bool Interrompu() const;

    int fd_;
    const sigset_t& avant_;  // the signals held before the writing, which stay held
    std::atomic<bool> bon_{true};
    std::atomic<int> erreur_{0};  // errno of the first failure
    std::vector<char> tampon_;
};

// The signals that end a program from outside, held for the life of this object, while
// files are written (see FichierEntier).
class SignauxRetenus {
  public:
    SignauxRetenus();
    ~SignauxRetenus();
    SignauxRetenus(const SignauxRetenus&) = delete;
    SignauxRetenus& operator=(const SignauxRetenus&) = delete;
    // The signals held before.
    const sigset_t& Avant() const { return avant_; }

  private:
    sigset_t arret_, avant_;
};

// A file written so that it is either complete or not there at all: its content goes into
// a temporary file beside `chemin` (readable and writable by its owner only), which replaces
// `chemin` only once complete (Terminer).  A file not completed is removed, and an older file
// of that name is left as it was.  The signals that end a program must be held (`signaux`)
// for its whole life: one that arrives stops the writing, and takes effect once they are
// released.  Several may be written at once.
class FichierEntier {
  public:
    FichierEntier(const std::string& chemin, const SignauxRetenus& signaux);
    ~FichierEntier();
    FichierEntier(const FichierEntier&) = delete;
    FichierEntier& operator=(const FichierEntier&) = delete;

    // Whether the temporary file is there to be written (otherwise Terminer fails).
    bool Ouvert() const { return fd_ >= 0 && erreur_ == 0; }
    Flux& flux() { return flux_; }
    // Closes the file and gives it its name, unless anything failed (`contenu` false, or
    // the flux's writing, or a signal): then removes it.  False when the file could not be
    // written, with errno saying why (EINTR for a signal).  Called once.
    bool Terminer(bool contenu);

  private:
    std::string chemin_, provisoire_;
    int fd_;
    int erreur_ = 0;  // the reason of the first failure
    Flux flux_;
    bool termine_ = false;
};

// Writes the file `chemin` so that it is either complete or not there at all: `contenu`
// writes into a temporary file beside it (readable and writable by its owner only), which
// replaces `chemin` only once complete.  The signals that end a program are held meanwhile;
// one that arrives stops the writing, and takes effect once the temporary file is gone.  On
// any failure (of `contenu` too) the temporary file is removed and an older file of that
// name is left as it was.  False when the file could not be written, with errno saying why
// (EINTR for a signal).
bool EcrireFichier(const std::string& chemin, const std::function<bool(Flux&)>& contenu);

}  // namespace optic
