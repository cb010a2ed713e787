#pragma once

#include <string>

namespace optic {

inline constexpr const char* kDescriptionParDefaut = "default_optic.txt";

// The kinds of picture file the run can write.
enum class FormatImage { Bmp, Png, Svg };

// What the run says about its rays after the messages: nothing, a table for people, or one
// JSON document for scripts (then the only thing on standard output).
enum class FormeCompteRendu { Aucun, Texte, Json };

// Everything the command line can ask for.
struct Options {
    std::string description = kDescriptionParDefaut;
    bool aide = false;
    bool version = false;
    bool bavard = false;  // explain each refused line on standard error
    FormatImage format = FormatImage::Bmp;
    std::string dossier;  // where pictures go; empty for the working directory
    bool surveiller = false;
    FormeCompteRendu compte_rendu = FormeCompteRendu::Aucun;
};

// The command line read, or why it cannot be: `erreur` is then the line to print on
// standard error, and the program ends with status 2.
struct LectureArguments {
    Options options;
    std::string erreur;
};

// Options may come before or after the description's path; "--" ends them.  The first
// argument that is not an option is the description; further ones are ignored.
LectureArguments LireArguments(int argc, const char* const* argv);

}  // namespace optic
