// A file watcher for --watch: inotify on the file's directory (which sees a file renamed over
// the old one) and on the file itself (which sees through a symbolic link), signals through
// a signalfd, one child process per run.
#include "cli/surveillance.h"

#include <poll.h>
#include <pthread.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ostream>

namespace optic {

namespace {

using Horloge = std::chrono::steady_clock;

// Changes closer together than this make one burst, and one run after it.
constexpr auto kCalme = std::chrono::milliseconds(150);

constexpr std::uint32_t kEvenementsDossier = IN_CLOSE_WRITE | IN_MODIFY | IN_MOVED_TO |
                                             IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_ATTRIB |
                                             IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr std::uint32_t kEvenementsFichier =
    IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;

bool Existe(const std::string& chemin) {
    struct stat s;
    return ::stat(chemin.c_str(), &s) == 0;
}

class Guetteur {
  public:
    Guetteur(const std::string& chemin, std::ostream& erreurs)
        : chemin_(chemin), erreurs_(erreurs) {
        const std::size_t barre = chemin.rfind('/');
        dossier_ = barre == std::string::npos ? "." : barre == 0 ? "/" : chemin.substr(0, barre);
        nom_ = barre == std::string::npos ? chemin : chemin.substr(barre + 1);
        inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (inotify_ >= 0) {
            suivi_dossier_ = ::inotify_add_watch(inotify_, dossier_.c_str(), kEvenementsDossier);
        }
        if (suivi_dossier_ < 0) {
            erreurs_ << "optic: cannot watch " << dossier_ << ": " << std::strerror(errno) << '\n';
        }
        SuivreFichier();
    }
    ~Guetteur() {
        if (inotify_ >= 0) ::close(inotify_);
    }
    Guetteur(const Guetteur&) = delete;
    Guetteur& operator=(const Guetteur&) = delete;

    bool Utilisable() const { return suivi_dossier_ >= 0; }
    int Descripteur() const { return inotify_; }
    bool DossierDisparu() const { return dossier_disparu_; }

    // The file as it is now, followed through a symbolic link (a new file after a rename
    // gets a watch of its own).
    void SuivreFichier() {
        if (inotify_ >= 0) ::inotify_add_watch(inotify_, chemin_.c_str(), kEvenementsFichier);
    }

    // Reads the pending events; true when one of them is about the file.
    bool Change() {
        alignas(inotify_event) char tampon[8192];
        bool change = false;
        for (;;) {
            const ssize_t n = ::read(inotify_, tampon, sizeof tampon);
            if (n <= 0) break;
            for (ssize_t p = 0; p < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(tampon + p);
                p += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
                if (e->wd == suivi_dossier_) {
                    if (e->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED))
                        dossier_disparu_ = true;
                    if (e->len > 0 && nom_ == e->name) change = true;
                } else if (!(e->mask & IN_IGNORED)) {
                    change = true;  // the file itself, wherever it lives
                }
            }
        }
        return change;
    }

  private:
    std::string chemin_, dossier_, nom_;
    std::ostream& erreurs_;
    int inotify_ = -1;
    int suivi_dossier_ = -1;
    bool dossier_disparu_ = false;
};

// The signals that end the watch, and the end of a run, read from a descriptor.
class Signaux {
  public:
    Signaux() {
        sigemptyset(&ensemble_);
        for (int s : {SIGINT, SIGTERM, SIGCHLD}) sigaddset(&ensemble_, s);
        ::pthread_sigmask(SIG_BLOCK, &ensemble_, &avant_);
        fd_ = ::signalfd(-1, &ensemble_, SFD_NONBLOCK | SFD_CLOEXEC);
    }
    ~Signaux() {
        if (fd_ >= 0) ::close(fd_);
        ::pthread_sigmask(SIG_SETMASK, &avant_, nullptr);
    }
    Signaux(const Signaux&) = delete;
    Signaux& operator=(const Signaux&) = delete;

    int Descripteur() const { return fd_; }
    const sigset_t& Avant() const { return avant_; }

    // The next signal that arrived, or 0.
    int Suivant() {
        signalfd_siginfo infos;
        return ::read(fd_, &infos, sizeof infos) == sizeof infos ? static_cast<int>(infos.ssi_signo)
                                                                 : 0;
    }

  private:
    sigset_t ensemble_, avant_;
    int fd_ = -1;
};

}  // namespace

int Surveiller(const std::string& chemin, const std::function<int()>& executer,
               std::ostream& sortie, std::ostream& erreurs, bool bavard) {
    Guetteur guetteur(chemin, erreurs);
    if (!guetteur.Utilisable()) {
        executer();  // once, as without --watch, so that its messages say what went wrong
        return 255;
    }
    Signaux signaux;
    if (signaux.Descripteur() < 0) {
        erreurs << "optic: cannot watch: " << std::strerror(errno) << '\n';
        return 255;
    }

    pid_t enfant = -1;
    auto lancer = [&] {
        sortie.flush();
        erreurs.flush();
        enfant = ::fork();
        if (enfant == 0) {
            // The run: the program's usual signals, none of the watch's descriptors.
            ::close(signaux.Descripteur());
            ::close(guetteur.Descripteur());
            ::pthread_sigmask(SIG_SETMASK, &signaux.Avant(), nullptr);
            const int statut = executer();
            // _Exit skips the streams' own flushing.
            sortie.flush();
            erreurs.flush();
            std::_Exit(statut & 0xff);
        }
        if (enfant < 0) erreurs << "optic: cannot run: " << std::strerror(errno) << '\n';
    };
    auto recolter = [&] {
        if (enfant > 0 && ::waitpid(enfant, nullptr, WNOHANG) == enfant) enfant = -1;
    };

    if (bavard) erreurs << "optic: watching " << chemin << " for changes; Ctrl-C to stop\n";
    bool present = Existe(chemin);
    if (!present) erreurs << "optic: " << chemin << " does not exist; waiting for it\n";
    lancer();
    bool en_attente = false;                       // a change waits for its run
    Horloge::time_point dernier = Horloge::now();  // of the last change seen
    for (;;) {
        int delai = -1;
        if (en_attente && enfant < 0) {
            const auto reste = std::chrono::duration_cast<std::chrono::milliseconds>(
                dernier + kCalme - Horloge::now());
            delai = static_cast<int>(std::max<long>(0, reste.count()));
        }
        pollfd descripteurs[2] = {{signaux.Descripteur(), POLLIN, 0},
                                  {guetteur.Descripteur(), POLLIN, 0}};
        const int prets = ::poll(descripteurs, 2, delai);
        if (prets < 0 && errno != EINTR) {
            erreurs << "optic: cannot watch: " << std::strerror(errno) << '\n';
            break;
        }
        for (int s; (s = signaux.Suivant()) != 0;) {
            if (s == SIGCHLD) {
                recolter();
                continue;
            }
            // Ends the run under way as the signal would end it alone, then the watch.
            if (enfant > 0) {
                ::kill(enfant, s);
                ::waitpid(enfant, nullptr, 0);
            }
            return 0;
        }
        if (guetteur.Change()) {
            en_attente = true;
            dernier = Horloge::now();
        }
        if (guetteur.DossierDisparu()) {
            erreurs << "optic: the directory of " << chemin << " has gone; the watch ends\n";
            break;
        }
        if (!en_attente || enfant > 0 || Horloge::now() < dernier + kCalme) continue;
        // The burst is over.
        en_attente = false;
        guetteur.SuivreFichier();
        if (!Existe(chemin)) {
            if (present)
                erreurs << "optic: " << chemin << " has disappeared; waiting for it to come back\n";
            present = false;
            continue;
        }
        present = true;
        if (bavard) erreurs << "optic: " << chemin << " changed; running again\n";
        lancer();
    }
    if (enfant > 0) ::waitpid(enfant, nullptr, 0);
    return 255;
}

}  // namespace optic
