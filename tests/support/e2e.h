// Running the built program in a scratch directory and collecting what it gave.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace optic::test {

namespace fs = std::filesystem;

// A run's exit status, standard output and standard error, compared in one go.
using Issue = std::tuple<int, std::string, std::string>;

// What one run of the built program gave.
struct Execution {
    int statut = 0;       // exit status as the shell sees it (255 for -1)
    std::string sortie;   // standard output
    std::string erreurs;  // standard error
    // Every regular file the run left in its directory, except "bench.txt", by name.
    std::map<std::string, std::vector<std::uint8_t>> fichiers;
    Issue Fin() const { return {statut, sortie, erreurs}; }
};

// A fresh scratch directory, removed with everything in it at the end of the test.
class Dossier {
  public:
    // Holding "bench.txt" with the description given, if one is.
    explicit Dossier(const std::string& banc = "") {
        std::string modele = (fs::temp_directory_path() / "optic_test_XXXXXX").string();
        if (!::mkdtemp(modele.data())) throw std::runtime_error("mkdtemp failed");
        chemin_ = modele;
        if (!banc.empty()) Ecrire("bench.txt", banc);
    }
    ~Dossier() {
        std::error_code ignore;
        fs::remove_all(chemin_, ignore);
    }
    Dossier(const Dossier&) = delete;
    Dossier& operator=(const Dossier&) = delete;
    const fs::path& chemin() const { return chemin_; }
    void Ecrire(const std::string& nom, const std::string& contenu) const {
        std::ofstream(chemin_ / nom, std::ios::binary) << contenu;
    }

  private:
    fs::path chemin_;
};

inline std::string Texte(const std::vector<std::uint8_t>& octets) {
    return {octets.begin(), octets.end()};
}
inline std::vector<std::uint8_t> Octets(const std::string& texte) {
    return {texte.begin(), texte.end()};
}

inline std::string Lire(const fs::path& p) {
    std::ostringstream s;
    s << std::ifstream(p, std::ios::binary).rdbuf();
    return s.str();
}

// The text of a file of the source tree.
inline std::string LireSource(const std::string& chemin_relatif) {
    return Lire(fs::path(OPTIC_SOURCE_DIR) / chemin_relatif);
}

inline std::string Guillemets(const std::string& s) {
    std::string r = "'";
    for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

// Whether a shell command succeeds on the file (a checker such as xmllint), its output aside.
inline bool Accepte(const std::string& commande, const fs::path& fichier) {
    const std::string ligne = commande + " " + Guillemets(fichier.string()) + " >/dev/null";
    return std::system(ligne.c_str()) == 0;
}

// Every regular file of the directory, except "bench.txt", by name.
inline std::map<std::string, std::vector<std::uint8_t>> Fichiers(const fs::path& dossier) {
    std::map<std::string, std::vector<std::uint8_t>> fichiers;
    for (const auto& entree : fs::directory_iterator(dossier)) {
        const std::string nom = entree.path().filename().string();
        if (nom != "bench.txt" && entree.is_regular_file())
            fichiers[nom] = Octets(Lire(entree.path()));
    }
    return fichiers;
}

// Runs the program in `dossier` with the given arguments; `avant`, when given, is a shell
// fragment run just before it (a ulimit, say).
inline Execution Lancer(const Dossier& dossier, const std::vector<std::string>& arguments,
                        const std::string& avant = "") {
    const fs::path sortie = dossier.chemin() / ".stdout", erreurs = dossier.chemin() / ".stderr";
    std::string commande = "cd " + Guillemets(dossier.chemin().string()) + " && ";
    if (!avant.empty()) commande += avant + "; ";
    commande.append("exec ").append(Guillemets(OPTIC_EXE));
    for (const std::string& a : arguments) commande.append(" ").append(Guillemets(a));
    commande.append(" >").append(Guillemets(sortie.string()));
    commande.append(" 2>").append(Guillemets(erreurs.string()));
    const int brut = std::system(commande.c_str());
    Execution e{WIFEXITED(brut) ? WEXITSTATUS(brut) : 128 + WTERMSIG(brut),
                Lire(sortie),
                Lire(erreurs),
                {}};
    fs::remove(sortie);
    fs::remove(erreurs);
    e.fichiers = Fichiers(dossier.chemin());
    return e;
}

// Writes `description` as "bench.txt" in a fresh directory and runs the program on it, with
// the options given.
inline Execution LancerDescription(const std::string& description,
                                   std::vector<std::string> options = {}) {
    Dossier d;
    d.Ecrire("bench.txt", description);
    options.push_back("bench.txt");
    return Lancer(d, options);
}

}  // namespace optic::test
