// The engine's one door for the web, optic_executer_part: a run of the program on the
// description file NOM of the working directory, exactly as `optic NOM` run there, on one
// thread (the page gives the engine a worker of its own).  It hands over standard output,
// each message with its line, the messages about lines, the zoomboxes' windows, the
// pictures' names (the pictures stay in the directory) and, when asked for
// (`avec_compte_rendu`; without it nothing is measured), the run's report, and returns the
// exit status, or -1 when the run could not finish.  The run is one of `parts` runs that
// share out the pictures (one per worker of the page; 1 for a whole run): it draws only its
// share of their rows and hands over only those pictures, everything else as a whole run
// does.
#include <emscripten/emscripten.h>

#include <exception>
#include <new>
#include <sstream>
#include <string_view>

#include "base/rapport.h"
#include "output/compte_rendu.h"
#include "raster/couleur.h"
#include "run/demande.h"
#include "run/execution.h"
#include "web/passerelle.h"
#include "web/suivi_web.h"

namespace optic {
namespace {

// A message about a line, as a person reads it beside the line: its explanation when it has
// one, otherwise the printed message without its line end.
std::string_view Diagnostic(const RapportMemoire::Entree& e) {
    if (!e.lieu.explication.empty()) return e.lieu.explication;
    std::string_view texte = e.texte;
    while (!texte.empty() && (texte.back() == '\n' || texte.back() == ' ')) texte.remove_suffix(1);
    return texte;
}

}  // namespace
}  // namespace optic

extern "C" EMSCRIPTEN_KEEPALIVE int optic_executer_part(const char* nom, int part, int parts,
                                                        int avec_compte_rendu) {
    using namespace optic;
    Demande options;
    options.description = nom;
    options.part = part;
    options.parts = parts;
    RapportMemoire rapport;
    SuiviWeb suivi;
    CompteRendu compte_rendu;
    int statut;
    try {
        // Without a report nothing is measured.
        statut = Executer(options, rapport, 1, &suivi,
                          avec_compte_rendu ? &compte_rendu.bilan : nullptr);
    } catch (const std::bad_alloc&) {
        constexpr std::string_view kMemoire =
            "the bench needs more memory than the browser gives: ask for fewer rays or smaller "
            "pictures";
        optic_echec(kMemoire.data(), kMemoire.size());
        return -1;
    } catch (const std::exception& e) {
        const std::string_view quoi = e.what();
        optic_echec(quoi.data(), quoi.size());
        return -1;
    }
    const std::string sortie = rapport.Texte();
    optic_sortie(sortie.data(), sortie.size());
    for (const RapportMemoire::Entree& e : rapport.Entrees()) {
        optic_message(e.lieu.ligne, e.texte.data(), e.texte.size());
        compte_rendu.messages.push_back(e.texte);
        if (e.lieu.ligne <= 0) continue;
        const std::string_view texte = Diagnostic(e);
        optic_diagnostic(e.lieu.ligne, texte.data(), texte.size());
    }
    if (!avec_compte_rendu) return statut & 0xff;
    compte_rendu.description = options.description;
    compte_rendu.statut = statut & 0xff;
    // The rays of the aberrations go over as numbers, not as text to be parsed again.
    static_assert(sizeof(RayonAberration) == 4 * sizeof(double));
    if (compte_rendu.bilan.mesures) {
        const std::vector<Aberrations>& aberrations = compte_rendu.bilan.mesures->aberrations;
        for (std::size_t f = 0; f < aberrations.size(); ++f) {
            const std::vector<RayonAberration>& rayons = aberrations[f].rayons;
            if (aberrations[f].systeme == 0 || rayons.empty()) continue;
            optic_rayons_aberration(static_cast<int>(f), &rayons.data()->hauteur, rayons.size());
        }
    }
    std::ostringstream flux;
    EcrireJson(flux, compte_rendu, MiseEnPage::Compacte, true);  // parsed at once by the page
    const std::string json = flux.str();
    optic_compte_rendu(json.data(), json.size());
    return statut & 0xff;  // as the shell sees it: 255 for -1
}

// The colour a ray of that wavelength is drawn in, as 0xRRGGBB.
extern "C" EMSCRIPTEN_KEEPALIVE int optic_couleur(double lambda) {
    const optic::Pixel p = optic::EnPixel(optic::Couleur(lambda));
    return p.rouge << 16 | p.vert << 8 | p.bleu;
}
