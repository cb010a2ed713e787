#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "model/messages.h"
#include "support/e2e.h"

namespace optic::test {
namespace {

TEST(LigneDeCommande, AideEtVersionRepondentSansRienLireNiEcrire) {
    struct Cas {
        std::vector<std::string> arguments;
        std::string debut;  // how standard output starts
    };
    const Cas cas[] = {
        {{"--help"}, "usage: optic [DESCRIPTION]\n"},
        {{"-h"}, "usage: optic [DESCRIPTION]\n"},
        {{"--help", "bench.txt"}, "usage: optic [DESCRIPTION]\n"},
        {{"--version"}, "optic " OPTIC_VERSION_ATTENDUE "\n"},
    };
    for (const Cas& c : cas) {
        Dossier d;
        d.Ecrire("default_optic.txt", "Z 0 0 10 10 20 1\n");
        const Execution e = Lancer(d, c.arguments);
        SCOPED_TRACE(c.arguments[0]);
        EXPECT_EQ(e.statut, 0);
        EXPECT_EQ(e.sortie.substr(0, c.debut.size()), c.debut);
        EXPECT_EQ(e.fichiers.size(), 1u);  // the description alone: no picture
        EXPECT_EQ(e.erreurs, "");
    }
    // Anything else is a description's path.
    Dossier d;
    const Execution e = Lancer(d, {"--verbose"});
    EXPECT_EQ(e.statut, 255);
    EXPECT_EQ(e.sortie, " Error File --verbose doesn't exist\n");
}

// On a terminal the progress line and the summary appear on standard error, and the messages
// on standard output are those of a run without a terminal.
TEST(LigneDeCommande, ProgressionSurUnTerminalSeulement) {
    const std::string bench =
        "D 1 2\n"
        "S 3 450 550 650 0 0 10 0 2 200\n"
        "Z -1 -5 9 5 120 1\n";
    Dossier d;
    d.Ecrire("bench.txt", bench);
    const Execution sans = Lancer(d, {"bench.txt"});
    ASSERT_EQ(sans.statut, 0);
    EXPECT_EQ(sans.sortie, "Warning: Probleme avec un diaphragme dans le fichier bench.txt \n");
    EXPECT_EQ(sans.erreurs, "");

    Dossier t;
    t.Ecrire("bench.txt", bench);
    const std::string commande = std::string("script -qec '") + OPTIC_EXE + " bench.txt' /dev/null";
    const Execution avec = Lancer(t, {}, "exec " + commande + " >session.txt 2>&1; true #");
    const auto session = avec.fichiers.find("session.txt");
    ASSERT_NE(session, avec.fichiers.end());
    const std::string texte(session->second.begin(), session->second.end());
    EXPECT_NE(texte.find("Warning: Probleme avec un diaphragme dans le fichier bench.txt \r\n"),
              std::string::npos);
    EXPECT_NE(texte.find("tracing rays: "), std::string::npos);
    EXPECT_NE(texte.find("optic: 600 rays traced, 1 picture written (OpticZoomBox_0.bmp 120x120)"),
              std::string::npos);
    EXPECT_EQ(avec.fichiers.at("OpticZoomBox_0.bmp"), sans.fichiers.at("OpticZoomBox_0.bmp"));
}

// Whoever meets a message can look it up: each is in the README and in the manual page.
TEST(Documentation, ChaqueMessageEstDocumente) {
    const std::string readme = LireSource("README.md");
    std::string manuel = LireSource("docs/optic.1");
    // The manual page writes a trailing space as "\&" after it.
    for (std::size_t p; (p = manuel.find("\\&")) != std::string::npos;) manuel.erase(p, 2);
    for (std::string_view m : messages::kTous) {
        std::string ligne(m.substr(0, m.size() - 1));  // without the line feed
        SCOPED_TRACE(ligne);
        EXPECT_NE(readme.find("`" + ligne + "`"), std::string::npos);
        EXPECT_NE(manuel.find(ligne + "\n"), std::string::npos);
    }
}

}  // namespace
}  // namespace optic::test
