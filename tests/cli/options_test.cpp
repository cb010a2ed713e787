// The command line read the conventional way: options anywhere, "--" ends them, values after
// "=" or as the next argument, and a clear complaint for anything else.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cli/options.h"

namespace optic {
namespace {

LectureArguments Lire(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "optic");
    return LireArguments(static_cast<int>(arguments.size()), arguments.data());
}

// What the arguments ask for, in short: description, format, directory, report, verbosity.
std::string EnBref(const Options& o) {
    const char* formats[] = {"bmp", "png", "svg"};
    const char* rapports[] = {"", "text", "json"};
    return o.description + " " + formats[static_cast<int>(o.format)] + " [" + o.dossier + "] " +
           rapports[static_cast<int>(o.compte_rendu)] + (o.bavard ? " -v" : "");
}

TEST(Options, LectureDesArguments) {
    const std::pair<std::vector<const char*>, std::string> cas[] = {
        {{}, "default_optic.txt bmp [] "},
        {{"b.txt", "--format=png"}, "b.txt png [] "},
        {{"--format", "svg", "b.txt"}, "b.txt svg [] "},
        {{"-v", "--output-dir=out", "b.txt", "c.txt"}, "b.txt bmp [out]  -v"},
        {{"--output-dir", "-x", "--report"}, "default_optic.txt bmp [-x] text"},
        {{"--report=json", "--", "--help"}, "--help bmp [] json"},
        {{"-", "--verbose"}, "- bmp []  -v"},
    };
    for (const auto& [arguments, attendu] : cas) {
        const LectureArguments l = Lire(arguments);
        ASSERT_EQ(l.erreur, "");
        EXPECT_EQ(EnBref(l.options), attendu);
    }
}

TEST(Options, PlaintesSurLaLigneDeCommande) {
    const std::pair<std::vector<const char*>, std::string> cas[] = {
        {{"--fromat=png"}, "optic: unknown option '--fromat'; see optic --help"},
        {{"b.txt", "-x"}, "optic: unknown option '-x'; see optic --help"},
        {{"--format=jpg"}, "optic: unknown picture format 'jpg'; use --format=bmp, png or svg"},
        {{"--format"},
         "optic: option '--format' needs a format (bmp, png or svg); see optic --help"},
        {{"--output-dir="}, "optic: option '--output-dir' needs a directory; see optic --help"},
        {{"--report=xml"}, "optic: unknown report form 'xml'; use --report or --report=json"},
        {{"--watch=yes"}, "optic: option '--watch' takes no value; see optic --help"},
        {{"--plots=svg"}, "optic: option '--plots' takes no value; see optic --help"},
    };
    for (const auto& [arguments, erreur] : cas) {
        SCOPED_TRACE(erreur);
        EXPECT_EQ(Lire(arguments).erreur, erreur);
    }
}

}  // namespace
}  // namespace optic
