#pragma once

#include <cstdio>
#include <ostream>

namespace optic {

// The program's command line: `optic [DESCRIPTION]`, `optic --help` (or -h) and
// `optic --version`.  Messages go to `sortie`; the progress display, when `erreurs` is a
// terminal, to `erreurs`.  Returns the exit status.
int Principal(int argc, char** argv, std::ostream& sortie, std::FILE* erreurs);

}  // namespace optic
