// libFuzzer harness: the whole program on an in-memory description (reading, tracing,
// measuring, drawing, encoding, the report in both forms), under AddressSanitizer and
// UndefinedBehaviorSanitizer.  The JSON report must read back as valid JSON without a
// number that is not finite, also with the input's raw bytes as its description's name.  So that
// one input runs in milliseconds, the harness turns away inputs that ask for many rays and skips
// drawing large pictures or pictures of many points; the program itself has no such limits.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "draw/dessin.h"
#include "model/lecture_ligne.h"
#include "model/system.h"
#include "output/bmp.h"
#include "output/compte_rendu.h"
#include "run/execution.h"
#include "support/json.h"
#include "trace/rayons.h"

using namespace optic;

namespace {

constexpr std::size_t kTailleMaxEntree = 1 << 14;
constexpr double kRayonsMax = 2000;
constexpr double kRayonsElementsMax = 4000;
constexpr int kCoteMax = 400;
constexpr double kPointsMax = 200000;  // per picture
// Nodes of all the paths, beyond which no picture is drawn: drawing each traces them again.
constexpr double kNoeudsMax = 100000;

struct FichierMemoire {
    std::FILE* f;
    FichierMemoire(const std::uint8_t* donnees, std::size_t taille)
        : f(taille ? fmemopen(const_cast<std::uint8_t*>(donnees), taille, "r")
                   : fmemopen(nullptr, 1, "r")) {}
    ~FichierMemoire() {
        if (f) std::fclose(f);
    }
};

// What the description could ask of the tracer: its rays, and its rays times its elements
// (a ray trapped by total reflection meets up to a thousand surfaces), read the way the
// reader cuts lines and tokens.
struct Besoins {
    double rayons = 0;
    double elements = 0;
};

Besoins EstimerBesoins(const std::uint8_t* donnees, std::size_t taille) {
    Besoins d;
    FichierMemoire flux(donnees, taille);
    if (!flux.f) return d;
    std::string ligne;
    for (LecteurLignes l(flux.f); l.Lire(ligne);) {
        if (!ligne.empty() && (ligne[0] == 'L' || ligne[0] == 'D')) d.elements += 1;
        if (ligne.empty() || ligne[0] != 'S') continue;
        // The wavelength count, then the ray count as value N + 7 (or the last one read).
        Jetons jetons(ligne, false);
        std::string_view jeton, dernier;
        if (!jetons.Suivant(jeton)) continue;
        const int nombre = LireEntier(jeton);
        const double longueurs = std::abs(static_cast<double>(nombre));
        dernier = jeton;
        for (long k = 1; k < static_cast<long>(nombre) + 7 && k < 17 && jetons.Suivant(jeton);
             ++k) {
            dernier = jeton;
        }
        d.rayons += longueurs * std::abs(static_cast<double>(LireEntier(dernier)));
    }
    return d;
}

// Writes the report both ways; aborts unless the JSON form is valid and every number finite.
void Rapporter(const std::uint8_t* donnees, std::size_t taille, const RapportMemoire& rapport,
               const Bilan& bilan) {
    CompteRendu compte_rendu;
    compte_rendu.description.assign(reinterpret_cast<const char*>(donnees),
                                    std::min<std::size_t>(taille, 256));
    for (const RapportMemoire::Entree& e : rapport.Entrees())
        compte_rendu.messages.push_back(e.texte);
    compte_rendu.bilan = bilan;
    std::ostringstream json;
    EcrireJson(json, compte_rendu);
    const auto document = test::LireJson(json.str());
    if (!document) std::abort();
    test::PourChaqueNombre(*document, [](double x) {
        if (!std::isfinite(x)) std::abort();
    });
    if (bilan.mesures) {
        std::ostringstream tableaux;
        EcrireTableaux(tableaux, *bilan.mesures);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    if (taille > kTailleMaxEntree) return -1;
    const Besoins besoins = EstimerBesoins(donnees, taille);
    if (besoins.rayons > kRayonsMax || besoins.rayons * besoins.elements > kRayonsElementsMax) {
        return -1;
    }
    FichierMemoire premiere(donnees, taille), seconde(donnees, taille);
    if (!premiere.f || !seconde.f) return 0;

    RapportMemoire rapport;
    System_Physique systeme;
    Bilan bilan;
    if (systeme.ReadSystem_Physique(premiere.f, seconde.f, "fuzz.txt", rapport) !=
        System_Physique::Lecture::Complete) {
        Rapporter(donnees, taille, rapport, bilan);
        return 0;
    }
    // Tiny lots, so that drawing lot after lot is exercised too.
    RayonsDuBanc rayons(systeme, 2, 2 * static_cast<int>(systeme.zoomboxes.size()) + 2, nullptr,
                        Decoupage{3, 2, std::size_t{1} << 20, std::size_t{1} << 10});
    bilan.mesures = MesurerRayons(systeme, rayons);
    Rapporter(donnees, taille, rapport, bilan);
    // Every picture's points and the paths' nodes in one pass: each pass traces every ray
    // again, and rays trapped by total reflection bounce up to a thousand times.
    const std::vector<Image> images(systeme.zoomboxes.begin(), systeme.zoomboxes.end());
    std::vector<double> points(images.size(), 0.0);
    double noeuds = 0;
    rayons.Parcourir([&](std::span<const Rayon> lot) {
        for (const Rayon& r : lot) noeuds += static_cast<double>(r.Chemin().size());
        for (std::size_t i = 0; i < images.size(); ++i)
            points[i] += PointsDesRayons(lot, images[i]);
    });
    if (noeuds > kNoeudsMax) return 0;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const Image& image = images[i];
        if (image.taille > kCoteMax || points[i] > kPointsMax) continue;
        Raster raster(image.taille);
        Dessiner(systeme, image, raster, 2, rayons);
        // Encoding: the header, then every byte is read once.
        const auto entete = EnteteBMP(image.taille);
        unsigned somme = entete[2];
        for (int k = 0; k < image.taille; ++k) {
            for (std::size_t i = 0; i < raster.octets_ligne(); ++i)
                somme += raster.LigneFichier(k)[i];
        }
        if (somme == 0xdeadbeef) std::abort();  // keeps the reads
    }
    return 0;
}
