#include "optic/principal.h"

#include <unistd.h>

#include <csignal>
#include <string>
#include <string_view>

#include "optic/execution.h"
#include "optic/parallele.h"
#include "optic/progression.h"

namespace optic {

namespace {

constexpr std::string_view kUsage =
    "usage: optic [DESCRIPTION]\n"
    "       optic --help | --version\n"
    "\n"
    "Traces every ray of the optical bench described in DESCRIPTION (default_optic.txt in\n"
    "the working directory when omitted) and writes one picture per zoombox line,\n"
    "OpticZoomBox_0.bmp, OpticZoomBox_1.bmp, ..., in the working directory.  Problems with\n"
    "the description are reported on standard output, one line each.\n"
    "\n"
    "The description format and every message are documented in the README and in optic(1).\n"
    "\n"
    "Exit status: 0 after a complete run; 255 when the description cannot be read, when a\n"
    "lens line comes before any usable index line, or when a picture cannot be written.\n";

}  // namespace

int Principal(int argc, char** argv, std::ostream& sortie, std::FILE* erreurs) {
    if (argc >= 2) {
        const std::string_view option = argv[1];
        if (option == "--help" || option == "-h") {
            sortie << kUsage;
            return 0;
        }
        if (option == "--version") {
            sortie << "optic " << OPTIC_VERSION << "\n";
            return 0;
        }
    }
    // A picture beyond the file size limit is a failed write, reported like any other.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::string description = argc < 2 ? kDescriptionParDefaut : argv[1];
    Progression progression(erreurs, ::isatty(::fileno(erreurs)) == 1);
    const int statut = Executer(description, sortie, NombreFilsParDefaut(), &progression);
    sortie.flush();
    progression.Fin();
    return statut;
}

}  // namespace optic
