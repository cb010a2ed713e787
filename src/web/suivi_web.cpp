#include "web/suivi_web.h"

#include <sstream>
#include <string>

#include "base/suivi.h"
#include "model/system.h"
#include "web/geometrie.h"
#include "web/passerelle.h"

namespace optic {

namespace {
constexpr auto kPeriode = std::chrono::milliseconds(100);
constexpr const char* kTrace = "tracing rays";
}  // namespace

void SuiviWeb::Annoncer(const std::string& etape, double fait, double total) {
    annonce_ = std::chrono::steady_clock::now();
    optic_progression(etape.data(), etape.size(), fait, total);
}

void SuiviWeb::Lu(const System_Physique& systeme) {
    for (std::size_t c = 0; c < systeme.zoomboxes.size(); ++c) {
        const Fenetre& z = systeme.zoomboxes[c];
        optic_fenetre(static_cast<int>(c), -z.decalage_x, -z.decalage_y, z.zoom, z.taille);
    }
    std::ostringstream geometrie;
    EcrireGeometrie(geometrie, systeme);
    const std::string json = geometrie.str();
    optic_geometrie(json.data(), json.size());
}

void SuiviWeb::Trace(std::size_t total) {
    total_ = total;
    Annoncer(kTrace, 0, static_cast<double>(total));
}

void SuiviWeb::RayonsTraces(std::size_t nombre) {
    traces_ += nombre;  // one thread in the browser
    if (std::chrono::steady_clock::now() - annonce_ >= kPeriode) {
        Annoncer(kTrace, static_cast<double>(traces_), static_cast<double>(total_));
    }
}

void SuiviWeb::Dessin(const std::string& image, int taille) {
    Annoncer(EtapeDessin(image, taille), 0, 0);
}

void SuiviWeb::Ecriture(const std::string& image) {
    Annoncer(EtapeEcriture(image), 0, 0);
}

void SuiviWeb::Ecrite(const std::string& image, int taille) {
    optic_image(image.data(), image.size(), taille);
}

void SuiviWeb::Partage(std::size_t zoombox, int debut, int fin) {
    optic_rangs(static_cast<int>(zoombox), debut, fin);
}

}  // namespace optic
