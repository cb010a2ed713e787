#include "cli/principal.h"

#include <unistd.h>

#include <csignal>
#include <string>
#include <string_view>

#include "base/parallele.h"
#include "cli/options.h"
#include "cli/progression.h"
#include "cli/rendre_compte.h"
#include "cli/surveillance.h"

namespace optic {

namespace {

constexpr std::string_view kUsage =
    "usage: optic [OPTION]... [DESCRIPTION]\n"
    "\n"
    "Traces every ray of the optical bench described in DESCRIPTION (default_optic.txt in\n"
    "the working directory when omitted) and writes one picture per zoombox line,\n"
    "OpticZoomBox_0.bmp, OpticZoomBox_1.bmp, ..., in the working directory.  Problems with\n"
    "the description are reported on standard output, one line each.\n"
    "\n"
    "Options (before or after DESCRIPTION; -- ends them):\n"
    "  -v, --verbose        after each message about a line, say on standard error where\n"
    "                       and why (FILE:LINE: ...); the default when standard error is\n"
    "                       a terminal\n"
    "      --format=FORMAT  write pictures as bmp (the default), png or svg\n"
    "      --output-dir=DIR write pictures into DIR (it must exist)\n"
    "      --report         after the run, tables of where each fan of rays meets, of each\n"
    "                       lens's focal length, of each system's EFL, BFD and FFD, and of\n"
    "                       the aberrations of the fans along a system's axis\n"
    "      --report=json    the run's messages, pictures and that report as one JSON\n"
    "                       document, the only thing on standard output\n"
    "      --plots          also write the aberration plots as SVG files beside the\n"
    "                       pictures: OpticRayFan_K.svg and OpticSpherical_K.svg for each\n"
    "                       source line K along a system's axis, OpticFocalShift_S.svg for\n"
    "                       each system S with a focus\n"
    "      --watch          run again each time DESCRIPTION changes, until Ctrl-C\n"
    "  -h, --help           show this help and exit\n"
    "      --version        show the version and exit\n"
    "\n"
    "The description format and every message are documented in the README and in optic(1).\n"
    "\n"
    "Exit status: 0 after a complete run; 255 when the description cannot be read, when a\n"
    "lens line comes before any usable index line, or when a picture cannot be written;\n"
    "2 when the command line is wrong.\n";

}  // namespace

int Principal(int argc, char** argv, std::ostream& sortie, std::ostream& erreurs,
              std::FILE* terminal) {
    const LectureArguments arguments = LireArguments(argc, argv);
    if (!arguments.erreur.empty()) {
        erreurs << arguments.erreur << '\n';
        return 2;
    }
    const Options& options = arguments.options;
    if (options.aide) {
        sortie << kUsage;
        return 0;
    }
    if (options.version) {
        sortie << "optic " << OPTIC_VERSION << "\n";
        return 0;
    }
    // A picture beyond the file size limit is a failed write, reported like any other.
    std::signal(SIGXFSZ, SIG_IGN);
    const bool sur_terminal = ::isatty(::fileno(terminal)) == 1;
    std::ostream* explications = options.bavard || sur_terminal ? &erreurs : nullptr;
    auto executer = [&] {
        Progression progression(terminal, sur_terminal);
        return ExecuterEtRendreCompte(options, sortie, explications, NombreFilsParDefaut(),
                                      progression);
    };
    if (options.surveiller) {
        return Surveiller(options.description, executer, sortie, erreurs, explications != nullptr);
    }
    return executer();
}

}  // namespace optic
