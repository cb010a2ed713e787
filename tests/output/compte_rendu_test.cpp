// optic --report and --report=json: the run is the one without them, then the measurements
// follow as a table, or everything comes as one JSON document.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

#include "support/e2e.h"
#include "support/json.h"

namespace optic::test {
namespace {

// A stop cutting a parallel beam, a point source, a single ray, a ray trapped in a glass rod,
// a source without rays, a lens no ray meets; a refused line; one picture.
const std::string kBanc =
    "I 1.5 400 1.5 500 1.5 600\n"
    "D 1 2\n"
    "D 10 0 1 5.5 20 0\n"
    "S 1 550 0 0 0 0 20 21\n"
    "S 1 486.1 3 100 40 180 0 9\n"
    "S 1 550 -30 50 0 0 0 1\n"
    "L 0 -100 10 inf inf 60 0 1\n"
    "S 1 550 5 -100 0 45 0 1\n"
    "L 100 200 2 50 -50 10 0 1\n"
    "S 1 550 0 300 0 0 0 -5\n"
    "Z 0 0 1 1 10 0\n";
const std::string kAvertissement =
    "Warning: Probleme avec un diaphragme dans le fichier bench.txt \n";

Json LireDocument(const std::string& sortie) {
    std::string erreur;
    const auto document = LireJson(sortie, &erreur);
    if (!document) ADD_FAILURE() << erreur << "\n" << sortie.substr(0, 2000);
    return document ? *document : Json::object();
}

// Runs the bench with a report option; the run must be the one without it: same status, same
// pictures, nothing on standard error.
Execution AvecCompteRendu(const std::string& option) {
    const Execution sans = LancerDescription(kBanc);
    const Execution avec = LancerDescription(kBanc, {option});
    EXPECT_EQ(avec.statut, sans.statut);
    EXPECT_EQ(avec.erreurs, "");
    EXPECT_EQ(avec.fichiers, sans.fichiers);
    EXPECT_EQ(sans.fichiers.size(), 1u);
    return avec;
}

// Lens 2 in air: 1/f = (n - 1)(1/R1 - 1/R2) + (n - 1)² e / (n R1 R2), n = 1.5, R = ±50, e = 2.
TEST(CompteRendu, TableauApresLesMessages) {
    EXPECT_EQ(
        AvecCompteRendu("--report").sortie,
        kAvertissement +
            "Fans of rays\n"
            "source  wavelength  rays  left  stopped  trapped  image         x         y     rms\n"
            "     1      550 nm    21    11       10        0  collimated, direction 0.000 deg\n"
            "     2    486.1 nm     9     9        0        0  virtual  3.0000  100.0000  0.0000\n"
            "     3      550 nm     1     1        0        0  none (fewer than two rays left)\n"
            "     4      550 nm     1     0        0        1  none (fewer than two rays left)\n"
            "     5      550 nm     0     0        0        0  none (fewer than two rays left)\n"
            "\n"
            "Lenses: paraxial focal length at each wavelength\n"
            "lens  486.1 nm    550 nm\n"
            "   1  infinite  infinite\n"
            "   2   50.3356   50.3356\n"
            "\n"
            "Systems: paraxial first-order properties at each wavelength\n"
            "system  lenses  wavelength      EFL      BFD      FFD\n"
            "     1  1         486.1 nm  afocal, angular magnification 1.0000\n"
            "                    550 nm  afocal, angular magnification 1.0000\n"
            "     2  2         486.1 nm  50.3356  49.6644  49.6644\n"
            "                    550 nm  50.3356  49.6644  49.6644\n"
            "\n"
            "Aberrations: no fan runs along a system's axis\n");
}

// The document says what the tables say (their numbers are pinned above, the layout by the
// README's example): here the run's fields, each fan's counts, and what is null.  Whoever
// reads it can look up every key of it, and of the bundled bench's, in the README and the
// manual page.
TEST(CompteRendu, DocumentJsonEtSesCles) {
    const Json d = LireDocument(AvecCompteRendu("--report=json").sortie);
    EXPECT_EQ(d.at("description"), "bench.txt");
    EXPECT_EQ(d.at("status"), 0);
    EXPECT_EQ(d.at("messages"), Json::array({kAvertissement}));
    EXPECT_EQ(d.at("pictures"), Json::array({"OpticZoomBox_0.bmp"}));
    const Json& fans = d.at("fans");
    ASSERT_EQ(fans.size(), 5u);
    for (std::size_t k = 0; k < 5; ++k) {  // the counts: the README's document, and the table
        EXPECT_EQ(fans[k].at("image").is_null(), k != 1) << k;
        EXPECT_EQ(fans[k].at("collimated").is_null(), k != 0) << k;
        EXPECT_TRUE(fans[k].at("aberrations").is_null());  // none runs along a lens's axis
    }
    EXPECT_EQ(fans[3].at("trapped"), 1);
    EXPECT_EQ(fans[1].at("image").at("kind"), "virtual");
    EXPECT_NEAR(fans[1].at("image").at("y").get<double>(), 100, 1e-9);
    const Json& lentilles = d.at("lenses");
    ASSERT_EQ(lentilles.size(), 2u);
    EXPECT_TRUE(lentilles[0].at("focal_length")[1].at("f").is_null());  // two flat faces
    const double f2 = 1 / (0.02 - 0.25 * 2 * 4e-4 / 1.5);  // the formula above the table's test
    EXPECT_NEAR(lentilles[1].at("focal_length")[1].at("f").get<double>(), f2, 1e-9);

    const std::string readme = LireSource("README.md"), manuel = LireSource("docs/optic.1");
    std::set<std::string> cles;
    const std::function<void(const Json&)> parcourir = [&](const Json& v) {
        for (const auto& [cle, valeur] : v.items()) {
            if (v.is_object()) cles.insert(cle);
            if (valeur.is_structured()) parcourir(valeur);
        }
    };
    parcourir(d);
    parcourir(
        LireDocument(LancerDescription(LireSource("default_optic.txt"), {"--report=json"}).sortie));
    EXPECT_EQ(cles.size(), 41u);
    for (const std::string& cle : cles) {
        EXPECT_NE(readme.find("`" + cle + "`"), std::string::npos) << cle;
        EXPECT_TRUE(manuel.find(".B " + cle) != std::string::npos ||
                    manuel.find(".BR " + cle) != std::string::npos)
            << cle;
    }
}

// The README's examples are what the program prints.
TEST(CompteRendu, ExemplesDuReadme) {
    const std::string readme = LireSource("README.md");
    const std::string section = readme.substr(readme.find("## Measurements"));
    // The indented block after "For the bundled bench", without its indentation.
    std::string tableaux;
    std::istringstream lignes(section.substr(section.find("\n\n    Fans of rays") + 2));
    for (std::string l; std::getline(lignes, l) && (l.empty() || l.rfind("    ", 0) == 0);)
        tableaux += (l.empty() ? "" : l.substr(4)) + "\n";
    while (tableaux.size() > 1 && tableaux.substr(tableaux.size() - 2) == "\n\n")
        tableaux.pop_back();
    const std::size_t json = section.find("```json\n") + 8;
    const Json document = LireDocument(section.substr(json, section.find("```\n", json) - json));

    Dossier d;
    d.Ecrire("default_optic.txt", LireSource("default_optic.txt"));
    d.Ecrire("stop.txt", LireSource("examples/stop.txt"));
    EXPECT_EQ(Lancer(d, {"--report"}).sortie, tableaux);
    // The README cuts each fan's list of rays to its first and last.
    Json sortie = LireDocument(Lancer(d, {"--report=json", "stop.txt"}).sortie);
    for (Json& fan : sortie.at("fans")) {
        Json& aberrations = fan.at("aberrations");
        if (aberrations.is_null()) continue;
        const Json rayons = aberrations.at("rays");
        aberrations.at("rays") = Json::array({rayons.front(), rayons.back()});
    }
    EXPECT_EQ(sortie, document) << sortie.dump(2);
}

// Runs that end early, or fail to write a picture, still give one document with their status
// and messages; names that are not UTF-8 or hold control characters stay valid JSON.
TEST(CompteRendu, ExecutionsQuiEchouent) {
    const std::string kPasUtf8 = "b\xe9\tnch\x7f.txt", kSuivante = "OpticZoomBox_1.bmp";
    // What; the file's name, and what it holds if it is there; the message as printed; the one
    // picture written, if any.
    const std::tuple<const char*, std::string, std::string, std::string, std::string> cas[] = {
        {"a missing file", "absent.txt", "", " Error File absent.txt doesn't exist\n", ""},
        {"a name that is not UTF-8", kPasUtf8, "", " Error File " + kPasUtf8 + " doesn't exist\n",
         ""},
        {"a lens before any glass", "l.txt", "S 1 550 0 0 0 0 0 1\nL 0 0 1 inf inf 2 0 1\n",
         "Error: Un Indice n'a pas ete trouve dans le fichier l.txt \n", ""},
        {"a picture that cannot be written", "p.txt",
         "Z 0 0 1 1 5 0\n#\nZ 0 0 1 1 5 0\nS 1 550 0 0 0 0 0 1\n",
         "Error: Impossible d'ecrire le fichier OpticZoomBox_0.bmp \n", kSuivante},
    };
    // In the document, a byte that is not UTF-8 reads U+FFFD.
    const auto decode = [](std::string s) {
        for (std::size_t p; (p = s.find('\xe9')) != std::string::npos;) s.replace(p, 1, "\uFFFD");
        return s;
    };
    for (const auto& [nom, description, texte, message, image] : cas) {
        SCOPED_TRACE(nom);
        Dossier d;
        if (!texte.empty()) d.Ecrire(description, texte);
        if (!image.empty()) fs::create_directory(d.chemin() / "OpticZoomBox_0.bmp");  // in the way
        const Execution e = Lancer(d, {"--report=json", description});
        EXPECT_EQ(e.statut, 255);
        const Json document = LireDocument(e.sortie);
        EXPECT_EQ(document.at("status"), 255);
        EXPECT_EQ(document.at("description"), decode(description));
        EXPECT_EQ(document.at("messages"), Json::array({decode(message)}));
        EXPECT_EQ(document.at("pictures"), image.empty() ? Json::array() : Json::array({image}));
        EXPECT_EQ(document.at("fans").size(), image.empty() ? 0u : 1u);
        // The table form adds nothing where nothing was traced.
        if (image.empty()) {
            EXPECT_EQ(Lancer(d, {"--report", description}).sortie, message);
        }
    }
}

}  // namespace
}  // namespace optic::test
