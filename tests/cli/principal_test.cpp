#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "model/messages.h"
#include "support/e2e.h"

namespace optic::test {
namespace {

// Help and version answer without reading or writing anything; otherwise the one argument,
// default_optic.txt without one, is the description's path.  An unknown option stops all.
TEST(LigneDeCommande, AideVersionEtDescription) {
    const std::string kUsage = "usage: optic [OPTION]... [DESCRIPTION]\n";
    const std::string kInconnue = "optic: unknown option '--fromat'; see optic --help\n";
    // The arguments, how standard output starts, the status, the files left, standard error.
    const std::tuple<std::vector<std::string>, std::string, int, std::size_t, std::string> cas[] = {
        {{"--help"}, kUsage, 0, 1, ""},
        {{"-h", "bench.txt"}, kUsage, 0, 1, ""},
        {{"--version"}, "optic " OPTIC_VERSION_ATTENDUE "\n", 0, 1, ""},
        {{}, "", 0, 2, ""},
        {{}, " Error File default_optic.txt doesn't exist\n", 255, 0, ""},  // none to read
        {{"./--verbose"}, " Error File ./--verbose doesn't exist\n", 255, 1, ""},
        {{"--", "--verbose"}, " Error File --verbose doesn't exist\n", 255, 1, ""},
        // A wrong command line says so, with status 2, and does nothing else.
        {{"default_optic.txt", "--fromat=png"}, "", 2, 1, kInconnue},
    };
    for (const auto& [arguments, debut, statut, fichiers, erreurs] : cas) {
        SCOPED_TRACE(arguments.empty() ? "" : arguments[0]);
        Dossier d;
        if (fichiers > 0) d.Ecrire("default_optic.txt", "Z 0 0 10 10 20 1\n");
        const Execution e = Lancer(d, arguments);
        EXPECT_EQ(e.statut, statut);
        const bool debut_seul = statut == 0 && !debut.empty();  // the usage goes on
        EXPECT_EQ(debut_seul ? e.sortie.substr(0, debut.size()) : e.sortie, debut);
        EXPECT_EQ(e.fichiers.size(), fichiers);
        EXPECT_EQ(e.erreurs, erreurs);
    }
}

// On a terminal the progress line and the summary appear on standard error, and the messages
// on standard output are those of a run without a terminal.
TEST(LigneDeCommande, ProgressionSurUnTerminalSeulement) {
    Dossier d("D 1 2\nS 3 450 550 650 0 0 10 0 2 200\nZ -1 -5 9 5 120 1\n");
    const Execution sans = Lancer(d, {"bench.txt"});
    EXPECT_EQ(sans.sortie, "Warning: Probleme avec un diaphragme dans le fichier bench.txt \n");
    const Execution avec = Lancer(d, {},
                                  std::string("rm *.bmp && exec script -qec '") + OPTIC_EXE +
                                      " bench.txt' /dev/null >session.txt 2>&1; true #");
    const auto session = avec.fichiers.find("session.txt");
    ASSERT_NE(session, avec.fichiers.end());
    const std::string texte = Texte(session->second);
    EXPECT_NE(texte.find("Warning: Probleme avec un diaphragme dans le fichier bench.txt \r\n"),
              std::string::npos);
    EXPECT_NE(texte.find("tracing rays: "), std::string::npos);
    EXPECT_NE(texte.find("optic: 600 rays traced, 1 picture written (OpticZoomBox_0.bmp 120x120)"),
              std::string::npos);
    EXPECT_EQ(avec.fichiers.at("OpticZoomBox_0.bmp"), sans.fichiers.at("OpticZoomBox_0.bmp"));
}

// Whoever meets a message or an option can look it up: each message is in the README and in
// the manual page (which writes a trailing space as "\&" after it), each option in the usage
// too (the manual writing a minus as "\-").
TEST(Documentation, ChaqueMessageEtChaqueOption) {
    const std::string readme = LireSource("README.md"), manuel = LireSource("docs/optic.1");
    std::string sans_esperluette = manuel;
    for (std::size_t p; (p = sans_esperluette.find("\\&")) != std::string::npos;)
        sans_esperluette.erase(p, 2);
    for (std::string_view m : messages::kTous) {
        const std::string ligne(m.substr(0, m.size() - 1));  // without the line feed
        EXPECT_NE(readme.find("`" + ligne + "`"), std::string::npos) << ligne;
        EXPECT_NE(sans_esperluette.find(ligne + "\n"), std::string::npos) << ligne;
    }
    Dossier d;
    const std::string aide = Lancer(d, {"--help"}).sortie;
    for (const std::string option : {"--verbose", "-v", "--format=", "--output-dir=", "--watch",
                                     "--plots", "--help", "--version"}) {
        std::string roff;
        for (const char c : option) roff += c == '-' ? std::string("\\-") : std::string(1, c);
        EXPECT_NE(aide.find(option), std::string::npos) << option;
        EXPECT_NE(readme.find("`" + option), std::string::npos) << option;
        EXPECT_NE(manuel.find(roff), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace optic::test
