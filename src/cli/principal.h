#pragma once

#include <cstdio>
#include <ostream>

namespace optic {

// The program's command line (see LireArguments and --help).  Messages go to `sortie`;
// explanations and complaints about the command line to `erreurs`; the progress display,
// when `terminal` is one, to `terminal`.  Returns the exit status.
int Principal(int argc, char** argv, std::ostream& sortie, std::ostream& erreurs,
              std::FILE* terminal);

}  // namespace optic
