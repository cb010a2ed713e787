#pragma once

#include <string_view>

#include "base/rapport.h"

namespace optic {

// Every message the program prints, as it prints them.  "%s" stands for a file name.
namespace messages {
inline constexpr std::string_view kFichierAbsent = " Error File %s doesn't exist\n";
inline constexpr std::string_view kDiaphragme =
    "Warning: Probleme avec un diaphragme dans le fichier %s \n";
inline constexpr std::string_view kIndiceEspace =
    "Warning: Probleme avec l'indice de l'espace dans le fichier %s \n";
inline constexpr std::string_view kIndice =
    "Warning: Probleme avec un indice dans le fichier %s \n";
inline constexpr std::string_view kDiametre = "Error: Diametre de la lentille trop grand...\n";
inline constexpr std::string_view kIndiceManquant =
    "Error: Un Indice n'a pas ete trouve dans le fichier %s \n";
inline constexpr std::string_view kLentille =
    "Warning: Probleme avec une lentille dans le fichier %s \n";
inline constexpr std::string_view kSource =
    "Warning: Probleme avec une source dans le fichier %s \n";
inline constexpr std::string_view kZoombox =
    "Warning: Probleme avec une zoombox dans le fichier %s \n";
inline constexpr std::string_view kZoomPlafonne =
    " Warning: Zoombox trop petit small: Calcul automatique du zoom...\n";
inline constexpr std::string_view kEcriture = "Error: Impossible d'ecrire le fichier %s \n";

// All of them, for whoever documents or checks them.
inline constexpr std::string_view kTous[] = {
    kFichierAbsent, kDiaphragme, kIndiceEspace, kIndice,       kDiametre, kIndiceManquant,
    kLentille,      kSource,     kZoombox,      kZoomPlafonne, kEcriture,
};
}  // namespace messages

// Reports a message, the file name in place of its "%s"; `lieu` says which line of the
// description it is about, and why.
void Signaler(Rapport& rapport, std::string_view message, std::string_view fichier = {},
              const Lieu& lieu = {});

}  // namespace optic
