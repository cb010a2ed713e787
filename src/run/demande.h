#pragma once

#include <string>

#include "output/formats.h"

namespace optic {

inline constexpr const char* kDescriptionParDefaut = "default_optic.txt";

// What one run is asked to do, whoever asks (the command line, the web page).
struct Demande {
    std::string description = kDescriptionParDefaut;
    FormatImage format = FormatImage::Bmp;
    std::string dossier;  // where pictures go; empty for the working directory
    FormeCompteRendu compte_rendu = FormeCompteRendu::Aucun;
    bool courbes = false;  // also write the aberration plots as SVG files beside the pictures
    // When `parts` runs of the same description share out its pictures (see PartsDesImages;
    // the first of them measures for all, when they measure), this run's share: it draws
    // only its rows of them, and counts the others as written by the runs that draw them.
    int part = 0, parts = 1;
};

}  // namespace optic
