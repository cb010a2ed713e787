// --watch follows a description as people edit it: written in place, replaced by a renamed
// file, saved in a burst, removed and written again; SIGTERM ends it with status 0 and no
// temporary file, even in the middle of a picture.  No assertion depends on timing: each
// waits, generously, for what it expects to see.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <thread>

#include "support/e2e.h"

namespace optic::test {
namespace {

constexpr auto kPatience = std::chrono::seconds(60);

// Waits until the condition holds; false if it still does not after kPatience.
bool Attendre(const std::function<bool()>& condition) {
    const auto fin = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > fin) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::size_t Occurrences(const std::string& texte, const std::string& motif) {
    std::size_t n = 0;
    for (std::size_t p = 0; (p = texte.find(motif, p)) != std::string::npos; ++p) ++n;
    return n;
}

// The names in a directory.
std::set<std::string> Noms(const fs::path& dossier) {
    std::set<std::string> noms;
    for (const auto& f : fs::directory_iterator(dossier)) noms.insert(f.path().filename());
    return noms;
}
const std::set<std::string> kImageEtBanc = {"OpticZoomBox_0.bmp", "bench.txt"};

// `optic --watch bench.txt` in `dossier`, its output and errors kept in `journal`.
class Surveillance {
  public:
    Surveillance(const Dossier& dossier, const Dossier& journal)
        : sortie_(journal.chemin() / "stdout"), erreurs_(journal.chemin() / "stderr") {
        pid_ = ::fork();
        if (pid_ == 0) {
            if (::chdir(dossier.chemin().c_str()) != 0) ::_exit(127);
            std::freopen(sortie_.c_str(), "w", stdout);
            std::freopen(erreurs_.c_str(), "w", stderr);
            ::execl(OPTIC_EXE, "optic", "--watch", "bench.txt", static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~Surveillance() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    std::string Sortie() const { return Lire(sortie_); }
    std::string Erreurs() const { return Lire(erreurs_); }

    // Sends SIGTERM and waits for the end; the exit status, or -1 if it did not exit.
    int Terminer() {
        ::kill(pid_, SIGTERM);
        int statut = 0;
        if (!Attendre([&] { return ::waitpid(pid_, &statut, WNOHANG) == pid_; })) return -1;
        pid_ = -1;
        return WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
    }

  private:
    fs::path sortie_, erreurs_;
    pid_t pid_ = -1;
};

TEST(Surveillance, SuitLesModificationsEtSeTermineProprement) {
    // Each version warns once (so runs can be counted) and draws its own grid.
    const std::string versions[] = {"E 0\nZ 0 0 10 10 20 1\n", "E 0\nZ 0 0 10 10 20 2\n",
                                    "E 0\nZ 0 0 10 10 20 5\n"};
    std::string images[3];
    for (int v = 0; v < 3; ++v)
        images[v] = Texte(LancerDescription(versions[v]).fichiers.at("OpticZoomBox_0.bmp"));
    const std::string kRun =
        "Warning: Probleme avec l'indice de l'espace dans le fichier bench.txt \n";

    Dossier d(versions[0]), journal;
    Surveillance s(d, journal);
    const fs::path image = d.chemin() / "OpticZoomBox_0.bmp";
    auto montre = [&](int v, std::size_t runs) {
        return Attendre(
            [&] { return Lire(image) == images[v] && Occurrences(s.Sortie(), kRun) == runs; });
    };
    ASSERT_TRUE(montre(0, 1)) << "first run";

    // Written in place: the same file, new content.
    d.Ecrire("bench.txt", versions[1]);
    EXPECT_TRUE(montre(1, 2)) << "in-place write";

    // Saved as an editor does: a new file renamed over the old one.
    const auto renommer = [&] {
        d.Ecrire("nouveau.txt", versions[2]);
        fs::rename(d.chemin() / "nouveau.txt", d.chemin() / "bench.txt");
    };
    renommer();
    EXPECT_TRUE(montre(2, 3)) << "rename over";

    // Ten saves 50 ms apart, each within the quiet period of the one before, give one run.
    // A gap the machine stretched past that period may start one more; it is counted.
    const std::size_t avant = Occurrences(s.Sortie(), kRun);
    std::size_t longs = 0;
    auto precedente = std::chrono::steady_clock::now();
    for (int k = 0; k < 10; ++k) {
        if (k > 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const auto maintenant = std::chrono::steady_clock::now();
        if (k > 0 && maintenant - precedente >= std::chrono::milliseconds(140)) ++longs;
        precedente = maintenant;
        d.Ecrire("bench.txt", versions[k % 2 == 0 ? 1 : 0]);
    }
    EXPECT_TRUE(Attendre([&] { return Lire(image) == images[0]; })) << "burst";
    renommer();
    EXPECT_TRUE(Attendre([&] { return Lire(image) == images[2]; }));
    const std::size_t rafale = Occurrences(s.Sortie(), kRun) - avant - 1;
    EXPECT_GE(rafale, 1u);
    EXPECT_LE(rafale, 1 + longs);

    // Gone, said so, and back.
    fs::remove(d.chemin() / "bench.txt");
    const std::string parti = "optic: bench.txt has disappeared; waiting for it to come back\n";
    EXPECT_TRUE(Attendre([&] { return s.Erreurs().find(parti) != std::string::npos; }));
    d.Ecrire("bench.txt", versions[1]);
    EXPECT_TRUE(Attendre([&] { return Lire(image) == images[1]; })) << "back";

    EXPECT_EQ(s.Terminer(), 0);
    EXPECT_EQ(Noms(d.chemin()), kImageEtBanc);
}

// SIGTERM while a picture is being written: the picture is not left half-written, no
// temporary file remains, and the watch ends with status 0.
TEST(Surveillance, InterrompueEnPleineEcriture) {
    Dossier d("S 1 550 0 5 0 0 8 200\nZ 0 0 10 10 12000 1\n"), journal;
    d.Ecrire("OpticZoomBox_0.bmp", "older picture");
    Surveillance s(d, journal);
    // A temporary picture there, or the picture written already.
    ASSERT_TRUE(Attendre([&] {
        return Noms(d.chemin()).size() > 2 || Lire(d.chemin() / "OpticZoomBox_0.bmp").size() > 13;
    }));
    EXPECT_EQ(s.Terminer(), 0);
    EXPECT_EQ(Noms(d.chemin()), kImageEtBanc);
    const std::size_t taille = fs::file_size(d.chemin() / "OpticZoomBox_0.bmp");
    EXPECT_TRUE(taille == 13 || taille == 54u + 12000u * 36000u) << taille;
}

// A description in a directory that cannot be watched: one run, the reason, status 255.
TEST(Surveillance, DossierImpossibleASurveiller) {
    Dossier d;
    const Execution e = Lancer(d, {"--watch", "absent/bench.txt"});
    EXPECT_EQ(e.Fin(), (Issue{255, " Error File absent/bench.txt doesn't exist\n",
                              "optic: cannot watch absent: No such file or directory\n"}));
}

}  // namespace
}  // namespace optic::test
