#include "support/e2e.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace optic::test {

namespace fs = std::filesystem;

Dossier::Dossier() {
    std::string modele = (fs::temp_directory_path() / "optic_test_XXXXXX").string();
    if (!::mkdtemp(modele.data())) throw std::runtime_error("mkdtemp failed");
    chemin_ = modele;
}

Dossier::~Dossier() {
    std::error_code ignore;
    fs::remove_all(chemin_, ignore);
}

void Dossier::Ecrire(const std::string& nom, const std::string& contenu) const {
    std::ofstream(chemin_ / nom, std::ios::binary) << contenu;
}

namespace {

std::string Lire(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string Guillemets(const std::string& s) {
    std::string r = "'";
    for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

}  // namespace

Execution Lancer(const Dossier& dossier, const std::vector<std::string>& arguments,
                 const std::string& avant) {
    const fs::path sortie = dossier.chemin() / ".stdout";
    const fs::path erreurs = dossier.chemin() / ".stderr";
    std::string commande;
    commande.append("cd ").append(Guillemets(dossier.chemin().string())).append(" && ");
    if (!avant.empty()) commande.append(avant).append("; ");
    commande.append("exec ").append(Guillemets(OPTIC_EXE));
    for (const std::string& a : arguments) commande.append(" ").append(Guillemets(a));
    commande.append(" >").append(Guillemets(sortie.string()));
    commande.append(" 2>").append(Guillemets(erreurs.string()));
    const int brut = std::system(commande.c_str());

    Execution e;
    e.statut = WIFEXITED(brut) ? WEXITSTATUS(brut) : 128 + WTERMSIG(brut);
    e.sortie = Lire(sortie);
    e.erreurs = Lire(erreurs);
    fs::remove(sortie);
    fs::remove(erreurs);
    for (const auto& entree : fs::directory_iterator(dossier.chemin())) {
        const std::string nom = entree.path().filename().string();
        if (nom == "bench.txt" || !entree.is_regular_file()) continue;
        const std::string contenu = Lire(entree.path());
        e.fichiers[nom] = std::vector<std::uint8_t>(contenu.begin(), contenu.end());
    }
    return e;
}

Execution LancerDescription(const std::string& description) {
    Dossier d;
    d.Ecrire("bench.txt", description);
    return Lancer(d, {"bench.txt"});
}

std::string LireSource(const std::string& chemin_relatif) {
    return Lire(fs::path(OPTIC_SOURCE_DIR) / chemin_relatif);
}

}  // namespace optic::test
