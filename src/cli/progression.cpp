#include "cli/progression.h"

#include <pthread.h>

#include <csignal>

namespace optic {

namespace {
constexpr auto kPeriode = std::chrono::milliseconds(100);
constexpr const char* kEffacer = "\r\033[K";
}  // namespace

Progression::Progression(std::FILE* sortie, bool active) : sortie_(sortie), active_(active) {}

Progression::~Progression() {
    Arreter();
}

void Progression::Arreter() {
    {
        std::lock_guard<std::mutex> l(verrou_);
        fini_ = true;
    }
    reveil_.notify_all();
    if (afficheur_.joinable()) afficheur_.join();
}

void Progression::Trace(std::size_t total) {
    std::lock_guard<std::mutex> l(verrou_);
    total_ = total;
    if (!active_ || afficheur_.joinable() || fini_) return;
    Afficher();  // at once, however short the run
    // The display thread never takes the signals that end the program: those are for the
    // main thread, which knows what to clean up.
    sigset_t tous, avant;
    sigfillset(&tous);
    pthread_sigmask(SIG_BLOCK, &tous, &avant);
    afficheur_ = std::thread([this] { Boucle(); });
    pthread_sigmask(SIG_SETMASK, &avant, nullptr);
}

void Progression::Effacer() {
    if (!active_) return;
    std::lock_guard<std::mutex> l(verrou_);
    std::fputs(kEffacer, sortie_);
    std::fflush(sortie_);
    affiche_.clear();
}

void Progression::Dessin(const std::string& image, int taille) {
    std::lock_guard<std::mutex> l(verrou_);
    etape_ = EtapeDessin(image, taille);
}

void Progression::Ecriture(const std::string& image) {
    std::lock_guard<std::mutex> l(verrou_);
    etape_ = EtapeEcriture(image);
}

void Progression::Ecrite(const std::string& image, int taille) {
    std::lock_guard<std::mutex> l(verrou_);
    ecrites_.push_back(image + " " + std::to_string(taille) + "x" + std::to_string(taille));
}

void Progression::Afficher() {
    std::string ligne = etape_;
    if (ligne.empty()) {
        ligne = "tracing rays: " + std::to_string(rayons_.load(std::memory_order_relaxed)) + " / " +
                std::to_string(total_);
    }
    if (ligne == affiche_) return;
    affiche_ = ligne;
    std::fprintf(sortie_, "%s%s", kEffacer, ligne.c_str());
    std::fflush(sortie_);
}

void Progression::Boucle() {
    std::unique_lock<std::mutex> l(verrou_);
    while (!fini_) {
        Afficher();
        reveil_.wait_for(l, kPeriode, [this] { return fini_; });
    }
}

void Progression::Fin() {
    if (!active_) return;
    Arreter();
    const double secondes =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - debut_).count();
    std::string images;
    for (const std::string& e : ecrites_) images += (images.empty() ? "" : ", ") + e;
    std::fprintf(sortie_, "%soptic: %zu rays traced, %zu picture%s written%s%s%s in %.2f s\n",
                 kEffacer, rayons_.load(), ecrites_.size(), ecrites_.size() == 1 ? "" : "s",
                 images.empty() ? "" : " (", images.c_str(), images.empty() ? "" : ")", secondes);
    std::fflush(sortie_);
}

}  // namespace optic
