#include "optic/bmp.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <vector>

namespace optic {

std::string NomImage(int c) {
    return "OpticZoomBox_" + std::to_string(c) + ".bmp";
}

std::array<std::uint8_t, kTailleEntete> EnteteBMP(int taille) {
    const std::uint32_t d = static_cast<std::uint32_t>(taille);
    const std::uint32_t donnees = d * (3 * d + d % 4);
    std::array<std::uint8_t, kTailleEntete> e{};
    auto mot = [&](std::size_t position, std::uint32_t valeur, int octets) {
        for (int i = 0; i < octets; ++i)
            e[position + i] = static_cast<std::uint8_t>(valeur >> (8 * i));
    };
    e[0] = 'B';
    e[1] = 'M';
    mot(2, donnees + kTailleEntete, 4);  // file size
    mot(6, 0, 4);                        // reserved
    mot(10, kTailleEntete, 4);           // offset of the pixels
    mot(14, 40, 4);                      // size of the information header
    mot(18, d, 4);                       // width
    mot(22, d, 4);                       // height: positive, rows bottom-up
    mot(26, 1, 2);                       // planes
    mot(28, 24, 2);                      // bits per pixel
    mot(30, 0, 4);                       // no compression
    mot(34, donnees, 4);                 // pixel data size
    mot(38, 4724, 4);                    // pixels per metre, horizontally
    mot(42, 4724, 4);                    // and vertically
    mot(46, 0, 4);                       // colours used
    mot(50, 0, 4);                       // important colours
    return e;
}

namespace {

// The signals that end a program from outside.  While a picture is written they are held;
// one that arrives stops the writing, the temporary file is removed, and only then does the
// signal take effect.
struct Signaux {
    sigset_t arret, avant;
    Signaux() {
        sigemptyset(&arret);
        for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&arret, s);
        pthread_sigmask(SIG_BLOCK, &arret, &avant);
    }
    ~Signaux() { pthread_sigmask(SIG_SETMASK, &avant, nullptr); }
    bool Arrives() const {
        sigset_t attente;
        if (sigpending(&attente) != 0) return false;
        for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
            if (sigismember(&attente, s) && !sigismember(&avant, s)) return true;
        }
        return false;
    }
};

// Writes the pieces in order, however the system splits the writing; false on a failure or
// when a signal asks the program to end.
bool ToutEcrire(int fd, std::vector<iovec> morceaux, const Signaux& signaux) {
    std::size_t i = 0;
    while (i < morceaux.size()) {
        if (signaux.Arrives()) return false;
        const int n = static_cast<int>(std::min<std::size_t>(morceaux.size() - i, IOV_MAX));
        ssize_t ecrits = ::writev(fd, morceaux.data() + i, n);
        if (ecrits < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        // Skip what went out; a piece written in part keeps its rest.
        while (i < morceaux.size() && static_cast<std::size_t>(ecrits) >= morceaux[i].iov_len) {
            ecrits -= static_cast<ssize_t>(morceaux[i].iov_len);
            ++i;
        }
        if (i < morceaux.size()) {
            morceaux[i].iov_base = static_cast<std::uint8_t*>(morceaux[i].iov_base) + ecrits;
            morceaux[i].iov_len -= static_cast<std::size_t>(ecrits);
        }
    }
    return true;
}

}  // namespace

bool EcritureBMP(const Raster& raster, int c) {
    const std::string nom = NomImage(c);
    std::string provisoire = "." + nom + ".XXXXXX";
    const Signaux signaux;
    const int fd = ::mkstemp(provisoire.data());
    if (fd < 0) return false;
    auto entete = EnteteBMP(raster.taille());
    // The header, then the rows in file order: one sequential write.
    std::vector<iovec> morceaux{{entete.data(), entete.size()}};
    for (int k = 0; k < raster.taille(); ++k) {
        morceaux.push_back(
            {const_cast<std::uint8_t*>(raster.LigneFichier(k)), raster.octets_ligne()});
    }
    // The file is sized first, so that a file system in memory (the web engine's) takes the
    // whole picture at once instead of growing it row by row.
    const auto taille = static_cast<off_t>(kTailleEntete + raster.octets());
    bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 && ::ftruncate(fd, taille) == 0 &&
              ToutEcrire(fd, std::move(morceaux), signaux);
    ok = ::close(fd) == 0 && ok;
    ok = ok && !signaux.Arrives() && std::rename(provisoire.c_str(), nom.c_str()) == 0;
    if (!ok) ::unlink(provisoire.c_str());
    return ok;
}

}  // namespace optic
