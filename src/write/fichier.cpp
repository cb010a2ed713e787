// Writing a file whole or not at all: a temporary file beside it, renamed when complete.
// (The web engine, whose files nobody else sees, writes in place.)
#include "write/fichier.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace optic {

namespace {

// Bytes gathered before they go out.
constexpr std::size_t kTampon = 1 << 16;

constexpr int kSignauxDArret[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Writes the pieces in order, however the system splits the writing: where the file is at,
// or from `position` on when it is not negative.
// The pieces written in part or whole are changed: they hold what is left of them.
bool ToutEcrire(int fd, iovec* morceaux, std::size_t nombre, std::int64_t position) {
    std::size_t i = 0;
    while (i < nombre) {
#if defined(__EMSCRIPTEN__)
        // Its pwritev writes every piece at the same place: one piece at a time there.
        const int n =
            position < 0 ? static_cast<int>(std::min<std::size_t>(nombre - i, IOV_MAX)) : 1;
#else
        const int n = static_cast<int>(std::min<std::size_t>(nombre - i, IOV_MAX));
#endif
        ssize_t ecrits =
            position < 0 ? ::writev(fd, morceaux + i, n) : ::pwritev(fd, morceaux + i, n, position);
        if (ecrits < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (position >= 0) position += ecrits;
        // Skip what went out; a piece written in part keeps its rest.
        while (i < nombre && static_cast<std::size_t>(ecrits) >= morceaux[i].iov_len) {
            ecrits -= static_cast<ssize_t>(morceaux[i].iov_len);
            ++i;
        }
        if (i < nombre) {
            morceaux[i].iov_base = static_cast<std::uint8_t*>(morceaux[i].iov_base) + ecrits;
            morceaux[i].iov_len -= static_cast<std::size_t>(ecrits);
        }
    }
    return true;
}

// "dir/.name.XXXXXX" for "dir/name": hidden, beside the final name, so that the renaming
// stays within one file system.
std::string ModeleProvisoire(const std::string& chemin) {
    const std::size_t barre = chemin.rfind('/');
    const std::size_t debut = barre == std::string::npos ? 0 : barre + 1;
    return chemin.substr(0, debut) + "." + chemin.substr(debut) + ".XXXXXX";
}

#if defined(__EMSCRIPTEN__)
// The web engine's files live in its memory, where nobody sees one before the run hands it
// over and where renaming costs more than writing a small picture: written in place, and
// removed all the same when anything fails.
constexpr bool kEnPlace = true;
#else
constexpr bool kEnPlace = false;
#endif

int Ouvrir(std::string& provisoire) {
    if (kEnPlace) return ::open(provisoire.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    return ::mkstemp(provisoire.data());
}

}  // namespace

bool Flux::Interrompu() const {
    sigset_t attente;
    if (sigpending(&attente) != 0) return false;
    for (int s : kSignauxDArret) {
        if (sigismember(&attente, s) && !sigismember(&avant_, s)) return true;
    }
    return false;
}

bool Flux::Echec(int erreur) {
    int aucune = 0;
    erreur_.compare_exchange_strong(aucune, erreur != 0 ? erreur : EIO);
    bon_ = false;
    return false;
}

bool Flux::Sortir(iovec* morceaux, std::size_t nombre, std::int64_t position) {
    if (Interrompu()) return Echec(EINTR);
    if (!ToutEcrire(fd_, morceaux, nombre, position)) return Echec(errno);
    return true;
}

bool Flux::Vider() {
    if (!bon_ || tampon_.empty()) return bon_;
    iovec morceau{tampon_.data(), tampon_.size()};
    Sortir(&morceau, 1);
    tampon_.clear();
    return bon_;
}

bool Flux::Ecrire(const void* octets, std::size_t n) {
    if (!bon_) return false;
    if (tampon_.capacity() < kTampon) tampon_.reserve(kTampon);
    const char* p = static_cast<const char*>(octets);
    while (n > 0) {
        const std::size_t place = kTampon - tampon_.size();
        const std::size_t k = std::min(n, place);
        tampon_.insert(tampon_.end(), p, p + k);
        p += k;
        n -= k;
        if (tampon_.size() == kTampon && !Vider()) return false;
    }
    return true;
}

bool Flux::Reserver(std::size_t octets) {
    if (!bon_) return false;
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
    // The room on the disk too, where the file system can give it at once: a disk too full
    // shows now, and writing into room already given costs the system less.
    if (octets > 0 && ::fallocate(fd_, 0, 0, static_cast<off_t>(octets)) == 0) return true;
    if (octets > 0 && errno != EOPNOTSUPP && errno != ENOSYS) return Echec(errno);
#endif
    if (::ftruncate(fd_, static_cast<off_t>(octets)) != 0) return Echec(errno);
    return true;
}

bool Flux::EcrireMorceaux(std::vector<iovec> morceaux) {
    if (!Vider()) return false;
    return EnLots(morceaux, -1);
}

bool Flux::EcrireA(std::uint64_t position, std::vector<iovec> morceaux) {
    return EnLots(morceaux, static_cast<std::int64_t>(position));
}

bool Flux::EnLots(std::vector<iovec>& morceaux, std::int64_t position) {
    // A signal is looked for between batches of pieces, so that a large picture stops soon.
    constexpr std::size_t kLot = 64;
    for (std::size_t i = 0; i < morceaux.size() && bon_; i += kLot) {
        const std::size_t fin = std::min(i + kLot, morceaux.size());
        // Where the next batch goes, before the writing changes the pieces' lengths.
        std::int64_t suite = position;
        for (std::size_t k = i; k < fin && position >= 0; ++k)
            suite += static_cast<std::int64_t>(morceaux[k].iov_len);
        Sortir(morceaux.data() + i, fin - i, position);
        position = suite;
    }
    return bon_;
}

SignauxRetenus::SignauxRetenus() {
    sigemptyset(&arret_);
    for (int s : kSignauxDArret) sigaddset(&arret_, s);
    pthread_sigmask(SIG_BLOCK, &arret_, &avant_);
}

SignauxRetenus::~SignauxRetenus() {
    pthread_sigmask(SIG_SETMASK, &avant_, nullptr);
}

FichierEntier::FichierEntier(const std::string& chemin, const SignauxRetenus& signaux)
    : chemin_(chemin),
      provisoire_(kEnPlace ? chemin : ModeleProvisoire(chemin)),
      fd_(Ouvrir(provisoire_)),
      flux_(fd_, signaux.Avant()) {
    if (fd_ < 0) {
        erreur_ = errno;
    } else if (::fchmod(fd_, S_IRUSR | S_IWUSR) != 0) {
        erreur_ = errno;
    }
}

FichierEntier::~FichierEntier() {
    if (termine_ || fd_ < 0) return;
    ::close(fd_);
    ::unlink(provisoire_.c_str());
}

bool FichierEntier::Terminer(bool contenu) {
    termine_ = true;
    if (fd_ < 0) {
        errno = erreur_;
        return false;
    }
    auto echec = [&](int e) {
        if (erreur_ == 0) erreur_ = e != 0 ? e : EIO;
    };
    if (erreur_ == 0 && !(contenu && flux_.Vider()))
        echec(flux_.Bon() ? errno : flux_.erreur_.load());
    if (::close(fd_) != 0) echec(errno);
    if (erreur_ == 0 && flux_.Interrompu()) echec(EINTR);
    if (erreur_ == 0 && !kEnPlace && std::rename(provisoire_.c_str(), chemin_.c_str()) != 0)
        echec(errno);
    if (erreur_ == 0) return true;
    ::unlink(provisoire_.c_str());
    errno = erreur_;
    return false;
}

bool EcrireFichier(const std::string& chemin, const std::function<bool(Flux&)>& contenu) {
    const SignauxRetenus signaux;
    FichierEntier fichier(chemin, signaux);
    if (!fichier.Ouvert()) return fichier.Terminer(false);
    return fichier.Terminer(contenu(fichier.flux()));
}

}  // namespace optic
