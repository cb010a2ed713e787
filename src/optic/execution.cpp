#include "optic/execution.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>

#include "model/messages.h"
#include "model/system.h"
#include "optic/bmp.h"
#include "optic/images.h"
#include "optic/parallele.h"
#include "optic/png.h"
#include "optic/propagation.h"
#include "optic/svg.h"
#include "render/raster.h"

namespace optic {

namespace {

// Below this many rows a band is not worth a thread.
constexpr int kRangsParBandeMin = 64;

// The description must open and be a regular file (a directory opens but holds no lines; a
// pipe would be read up by the first of the reader's two passes).  The test does not wait
// for a pipe's writer.
bool Lisible(const std::string& chemin) {
    const int fd = ::open(chemin.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat etat;
    const bool ok = ::fstat(fd, &etat) == 0 && S_ISREG(etat.st_mode);
    ::close(fd);
    return ok;
}

// Why a picture could not be written, for whoever reads explanations.
std::string RaisonEcriture(const std::string& chemin, int erreur, const Options& options,
                           int taille) {
    if (options.format == FormatImage::Png && taille == 0) {
        return chemin + ": a PNG picture cannot be empty and this zoombox is 0 pixels wide; " +
               "write it with --format=bmp or svg";
    }
    std::string raison = chemin + ": " + std::strerror(erreur);
    if (!options.dossier.empty() && (erreur == ENOENT || erreur == ENOTDIR)) {
        raison += " (--output-dir must name an existing directory)";
    }
    return raison;
}

// Draws zoombox c and writes its picture, in the format and the directory the options ask
// for; the pixels live only meanwhile.  A picture in SVG is written from the bench itself.
bool Photographier(const System_Physique& systeme, int c, const Options& options, int nb_fils,
                   Rapport& rapport, Suivi& suivi) {
    const Image& image = systeme.zoomboxes[static_cast<std::size_t>(c)];
    const std::string nom = NomImage(c, options.format);
    const std::string chemin = CheminImage(options.dossier, nom);
    bool ok = false;
    int erreur = 0;
    try {
        if (options.format == FormatImage::Svg) {
            suivi.Ecriture(nom);
            ok = EcritureSVG(systeme, image, chemin);
        } else {
            Raster raster(image.taille);
            suivi.Dessin(nom, image.taille);
            Dessiner(systeme, image, raster, nb_fils);
            suivi.Ecriture(nom);
            ok = options.format == FormatImage::Png ? EcriturePNG(raster, chemin)
                                                    : EcritureBMP(raster, chemin);
        }
        erreur = errno;
    } catch (const std::bad_alloc&) {
        ok = false;  // too large for this machine's memory: reported like any failed write
        erreur = ENOMEM;
    }
    if (ok) {
        suivi.Ecrite(nom, image.taille);
    } else {
        suivi.Effacer();
        Signaler(rapport, messages::kEcriture, chemin,
                 Lieu{0, RaisonEcriture(chemin, erreur, options, image.taille)});
        rapport.Vider();
    }
    return ok;
}

}  // namespace

void Dessiner(const System_Physique& systeme, const Image& image, Raster& raster, int nb_fils) {
    const int bandes = std::clamp(image.taille / kRangsParBandeMin, 1, std::max(nb_fils, 1));
    EnParallele(static_cast<std::size_t>(bandes), nb_fils, [&](std::size_t b) {
        const int debut = static_cast<int>(image.taille * static_cast<std::int64_t>(b) / bandes);
        const int fin = static_cast<int>(image.taille * static_cast<std::int64_t>(b + 1) / bandes);
        PeindreFond(image, raster, debut, fin);
        Image vue = image;
        vue.Attacher(raster, debut, fin);
        systeme.Dessin(vue);
    });
}

Mesures MesurerRayons(const System_Physique& systeme) {
    MesureBanc mesure(systeme);
    do {
        for (std::size_t s = 0; s < systeme.sources.size(); ++s) {
            const std::vector<Source_monochromatique>& faisceaux = systeme.sources[s].sources;
            for (std::size_t f = 0; f < faisceaux.size(); ++f) {
                for (const Rayon& r : faisceaux[f].rayons) mesure.Ajouter(s, f, r);
            }
        }
    } while (mesure.FinPasse());
    return mesure.Resultat();
}

int Executer(const Options& options, Rapport& rapport, int nb_fils, Suivi* suivi, Bilan* bilan) {
    const std::string& description = options.description;
    Suivi muet;
    Suivi& progression = suivi ? *suivi : muet;
    if (!Lisible(description)) {
        Signaler(rapport, messages::kFichierAbsent, description);
        return -1;
    }
    System_Physique systeme;
    if (systeme.ReadSystem_Physique(description, rapport) ==
        System_Physique::Lecture::IndiceManquant) {
        return -1;
    }
    rapport.Vider();  // the reader's messages come before any progress display
    progression.Lu(systeme);
    PropagerTout(systeme, nb_fils, &progression);
    if (bilan) bilan->mesures = MesurerRayons(systeme);
    int statut = 0;
    for (std::size_t c = 0; c < systeme.zoomboxes.size(); ++c) {
        if (!Photographier(systeme, static_cast<int>(c), options, nb_fils, rapport, progression)) {
            statut = -1;
        } else if (bilan) {
            bilan->images.push_back(
                CheminImage(options.dossier, NomImage(static_cast<int>(c), options.format)));
        }
    }
    return statut;
}

}  // namespace optic
