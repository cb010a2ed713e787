#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/rapport.h"
#include "elements/element.h"
#include "elements/indice.h"
#include "model/source.h"
#include "raster/fenetre.h"

namespace optic {

// The medium around every element.
struct Espace {
    double indice_espace = 1.0;
};

// Where one object of the bench comes from: its line of the description (1 = the first) and
// the numbers of that line as read, value k at entry k - 1 (a flat face's radius is infinite),
// for whoever shows the bench and edits its text (the web page).
struct Provenance {
    int ligne = 0;
    std::vector<double> valeurs;
};

// The whole bench as its description file gives it.
struct System_Physique {
    Espace espace;
    std::vector<Element> elements;  // lenses and diaphragms, in file order
    std::vector<Source_polychromatique> sources;
    // Glasses in the order of the usable index lines: a lens line's index k is entry k - 1.
    // Held by pointer so that the lenses' links stay valid.
    std::vector<std::unique_ptr<IndiceRefraction>> indices;
    std::vector<Fenetre> zoomboxes;  // picture c is entry c
    // Entry k is where elements[k], sources[k], zoomboxes[k] come from.
    std::vector<Provenance> provenance_elements;
    std::vector<Provenance> provenance_sources;
    std::vector<Provenance> provenance_zoomboxes;

    enum class Lecture { Complete, IndiceManquant };

    // Builds the bench from a description file, reporting every line it cannot use.
    // IndiceManquant: a lens line came before any usable index line; the run must end.
    Lecture ReadSystem_Physique(const std::string& chemin, Rapport& rapport);
    // The same from two streams over the same text (one per reading pass); `nom` is the
    // name the messages give.
    Lecture ReadSystem_Physique(std::FILE* premiere_passe, std::FILE* seconde_passe,
                                const std::string& nom, Rapport& rapport);
};

}  // namespace optic
