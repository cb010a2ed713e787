#include "optic/execution.h"

#include <sys/stat.h>

#include <cstdio>
#include <new>

#include "model/messages.h"
#include "model/system.h"
#include "optic/bmp.h"
#include "optic/propagation.h"
#include "render/raster.h"

namespace optic {

namespace {

// The description must open and be a regular file (a directory opens, but holds no lines).
bool Lisible(const std::string& chemin) {
    std::FILE* f = std::fopen(chemin.c_str(), "r");
    if (!f) return false;
    struct stat etat;
    const bool ok = ::fstat(::fileno(f), &etat) == 0 && S_ISREG(etat.st_mode);
    std::fclose(f);
    return ok;
}

// Draws zoombox c into a picture of its own and writes it; the pixels live only meanwhile.
bool Photographier(const System_Physique& systeme, int c, std::ostream& rapport) {
    Image image = systeme.zoomboxes[static_cast<std::size_t>(c)];
    try {
        Raster raster(image.taille);
        PeindreFond(image, raster);
        image.Attacher(raster);
        systeme.Dessin(image);
        return EcritureBMP(raster, c, rapport);
    } catch (const std::bad_alloc&) {
        Signaler(rapport, messages::kEcriture, NomImage(c));
        return false;
    }
}

}  // namespace

int Executer(const std::string& description, std::ostream& rapport, int nb_fils) {
    if (!Lisible(description)) {
        Signaler(rapport, messages::kFichierAbsent, description);
        return -1;
    }
    System_Physique systeme;
    if (systeme.ReadSystem_Physique(description, rapport) ==
        System_Physique::Lecture::IndiceManquant) {
        return -1;
    }
    PropagerTout(systeme, nb_fils);
    int statut = 0;
    for (std::size_t c = 0; c < systeme.zoomboxes.size(); ++c) {
        if (!Photographier(systeme, static_cast<int>(c), rapport)) statut = -1;
    }
    return statut;
}

}  // namespace optic
