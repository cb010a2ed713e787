#pragma once

#include <string>

#include "run/demande.h"

namespace optic {

// Everything the command line can ask for: a run, and how the program itself behaves.
struct Options : Demande {
    bool aide = false;
    bool version = false;
    bool bavard = false;  // explain each refused line on standard error
    bool surveiller = false;
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
