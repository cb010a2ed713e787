#include "run/execution.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "base/parallele.h"
#include "draw/dessin.h"
#include "measure/mesurer.h"
#include "model/messages.h"
#include "model/system.h"
#include "output/bmp.h"
#include "output/courbes.h"
#include "output/dessiner.h"
#include "output/images.h"
#include "output/png.h"
#include "output/svg.h"
#include "raster/raster.h"
#include "run/partage.h"

namespace optic {

namespace {

// Where the pixels of the pictures live, one picture after the other: a whole picture, or a
// band for each thread.  Kept from one picture to the next, so that memory is reused.
struct Toiles {
    Raster image{0};
    std::vector<Raster> bandes;
};

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
std::string RaisonEcriture(const std::string& chemin, int erreur, const Demande& options,
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

// Zoomboxes whose rays are all kept are drawn and written several at once (see
// DessinerEtEcrireBMP): at most this many, with their coverages together within this many
// bytes.
constexpr std::size_t kImagesEnsemble = 8;
constexpr std::size_t kOctetsDesCouvertures = std::size_t{64} << 20;

// A zoombox's picture: its file's name, and its path in the directory the options name.
struct Fichier {
    std::string nom, chemin;
};

// Says how the writing of a picture of side `taille` went: the progress display hears of a
// picture written; a picture that could not be written is reported, with why.  Returns whether
// it was.
bool Compter(const Fichier& fichier, int taille, const Demande& options, bool ok, int erreur,
             Rapport& rapport, Suivi& suivi) {
    const std::string& chemin = fichier.chemin;
    if (ok) {
        suivi.Ecrite(fichier.nom, taille);
    } else {
        suivi.Effacer();
        Signaler(rapport, messages::kEcriture, chemin,
                 Lieu{0, RaisonEcriture(chemin, erreur, options, taille)});
        rapport.Vider();
    }
    return ok;
}

// How many zoomboxes from c on, all of this run's share (`parts`), are drawn and written at
// once: 0 unless their pictures are BMP files and their rays all kept.
std::size_t Groupe(const System_Physique& systeme, std::size_t c, const Demande& options,
                   RayonsDuBanc& rayons, std::span<const PartImage> parts) {
    if (options.format != FormatImage::Bmp || !rayons.Garder()) return 0;
    std::size_t n = 0, octets = 0;
    while (c + n < systeme.zoomboxes.size() && parts[c + n].mienne && n < kImagesEnsemble) {
        const auto cote = static_cast<std::size_t>(systeme.zoomboxes[c + n].taille);
        octets += cote * cote / 8;
        if (n > 0 && octets > kOctetsDesCouvertures) break;
        ++n;
    }
    return n;
}

// Draws zoomboxes c .. c + n - 1, whose rays are all kept, and writes their BMP pictures at
// once (this run's rows of each); each picture's lack of memory is reported like any failed
// write.
std::vector<int> PhotographierEnsemble(const System_Physique& systeme, std::size_t c, std::size_t n,
                                       std::span<const Fichier> fichiers,
                                       std::span<const PartImage> parts, int nb_fils,
                                       RayonsDuBanc& rayons, Toiles& toiles, Suivi& suivi) {
    std::vector<std::string> chemins;
    std::vector<Rangs> rangs;
    for (std::size_t p = c; p < c + n; ++p) {
        chemins.push_back(fichiers[p].chemin);
        rangs.push_back(parts[p].rangs);
    }
    suivi.Dessin(fichiers[c].nom, systeme.zoomboxes[c].taille);
    toiles.image = Raster(0);
    try {
        return DessinerEtEcrireBMP(systeme, std::span(systeme.zoomboxes).subspan(c, n), chemins,
                                   rangs, nb_fils, rayons, toiles.bandes);
    } catch (const std::bad_alloc&) {
        toiles.bandes.clear();
        return std::vector<int>(n, ENOMEM);  // too large for this machine's memory
    }
}

// Draws zoombox c and writes its picture, in the format and the directory the options ask
// for; the pixels live only meanwhile, in the memory of the picture before (`toiles`).  A
// picture in SVG is written from the bench itself.  A BMP picture's `rangs` only are drawn
// and written, in a file of the whole picture's size.  While the rays are traced for the
// first time, the progress display counts them.
bool Photographier(const System_Physique& systeme, const Image& image, Rangs rangs,
                   const Fichier& fichier, const Demande& options, int nb_fils,
                   RayonsDuBanc& rayons, Toiles& toiles, Rapport& rapport, Suivi& suivi) {
    const std::string& nom = fichier.nom;
    const std::string& chemin = fichier.chemin;
    bool ok = false;
    int erreur = 0;
    try {
        if (options.format == FormatImage::Svg) {
            suivi.Ecriture(nom);
            ok = EcritureSVG(systeme, image, rayons, chemin);
        } else {
            toiles.bandes.clear();
            if (options.format != FormatImage::Bmp) rangs = {0, image.taille};
            toiles.image = Raster(image.taille, rangs.debut, rangs.fin, std::move(toiles.image));
            Raster& raster = toiles.image;
            if (rayons.TousTraces()) suivi.Dessin(nom, image.taille);
            Dessiner(systeme, image, raster, nb_fils, rayons);
            suivi.Ecriture(nom);
            ok = options.format == FormatImage::Png ? EcriturePNG(raster, chemin)
                                                    : EcritureBMP(raster, chemin);
        }
        erreur = errno;
    } catch (const std::bad_alloc&) {
        ok = false;  // too large for this machine's memory: reported like any failed write
        erreur = ENOMEM;
    }
    return Compter(fichier, image.taille, options, ok, erreur, rapport, suivi);
}

// Writes the plots of the measured bench beside the pictures, each whole or not at all; false
// when one could not be written (and said so, like a picture).
constexpr int kPasVide = 1;  // a plot, unlike a zoombox, is never 0 pixels wide
bool EcrireCourbes(const System_Physique& systeme, const Mesures& mesures, const Demande& options,
                   Rapport& rapport, Suivi& suivi) {
    bool tout = true;
    for (const Courbe& c : Courbes(systeme, mesures)) {
        const std::string texte = GraphiqueSvg(c.graphique);
        const Fichier fichier{c.nom, CheminImage(options.dossier, c.nom)};
        const bool ok = EcrireFichier(fichier.chemin, [&](Flux& f) { return f.Ecrire(texte); });
        const int erreur = errno;
        if (!ok) {
            suivi.Effacer();
            Signaler(rapport, messages::kEcriture, fichier.chemin,
                     Lieu{0, RaisonEcriture(fichier.chemin, erreur, options, kPasVide)});
            rapport.Vider();
            tout = false;
        }
    }
    return tout;
}

}  // namespace

int Executer(const Demande& options, Rapport& rapport, int nb_fils, Suivi* suivi, Bilan* bilan) {
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
    // Rays are traced lot by lot as each picture is drawn; they are visited once a picture,
    // and once more for the measurements' second pass unless their ends are kept.  The
    // measurements' first pass rides on the first visit.
    const bool mesurer = bilan || options.courbes;  // nothing measured that nobody reads
    RayonsDuBanc rayons(systeme, nb_fils,
                        static_cast<int>(systeme.zoomboxes.size()) + (mesurer ? 1 : 0),
                        &progression);
    progression.Trace(rayons.Nombre());
    std::optional<MesureDesRayons> mesure;
    if (mesurer) mesure.emplace(systeme, rayons);
    std::vector<Fichier> fichiers;
    for (std::size_t c = 0; c < systeme.zoomboxes.size(); ++c) {
        std::string nom = NomImage(static_cast<int>(c), options.format);
        std::string chemin = CheminImage(options.dossier, nom);
        fichiers.push_back({std::move(nom), std::move(chemin)});
    }
    // Shared out, the pictures' rows are cut by the work of drawing them, the same in every
    // run of the same description.
    const bool partage = options.parts > 1;
    const std::vector<PartImage> parts =
        PartsDesImages(systeme, options.part, options.parts,
                       partage ? EstimerTravail(systeme, rayons) : Travail{});
    for (std::size_t c = 0; partage && c < parts.size(); ++c) {
        const Rangs r = parts[c].mienne ? parts[c].rangs : Rangs{};
        progression.Partage(c, r.debut, r.fin);
    }
    int statut = 0;
    Toiles toiles;
    // The run fails with any picture not written; the report lists those written.
    auto compter = [&](std::size_t c, bool ok) {
        if (!ok) {
            statut = -1;
        } else if (bilan) {
            bilan->images.push_back(fichiers[c].chemin);
        }
    };
    for (std::size_t c = 0; c < systeme.zoomboxes.size();) {
        if (!parts[c].mienne) {
            compter(c, true);  // another run's, which says whether it was written
            ++c;
            continue;
        }
        if (const std::size_t n = Groupe(systeme, c, options, rayons, parts); n > 0) {
            const std::vector<int> erreurs = PhotographierEnsemble(
                systeme, c, n, fichiers, parts, nb_fils, rayons, toiles, progression);
            for (std::size_t p = 0; p < n; ++p, ++c) {
                compter(c, Compter(fichiers[c], systeme.zoomboxes[c].taille, options,
                                   erreurs[p] == 0, erreurs[p], rapport, progression));
            }
            continue;
        }
        compter(c, Photographier(systeme, systeme.zoomboxes[c], parts[c].rangs, fichiers[c],
                                 options, nb_fils, rayons, toiles, rapport, progression));
        ++c;
    }
    if (!mesure) return statut;
    Mesures mesures = mesure->Finir();
    if (options.courbes && !EcrireCourbes(systeme, mesures, options, rapport, progression)) {
        statut = -1;
    }
    if (bilan) bilan->mesures = std::move(mesures);
    return statut;
}

}  // namespace optic
