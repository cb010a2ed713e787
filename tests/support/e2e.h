#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace optic::test {

// What one run of the built program gave.
struct Execution {
    int statut = 0;       // exit status as the shell sees it (255 for -1)
    std::string sortie;   // standard output
    std::string erreurs;  // standard error
    // Every file the run left in its directory, except the description, by name.
    std::map<std::string, std::vector<std::uint8_t>> fichiers;
};

// A fresh scratch directory, removed with everything in it at the end of the test.
class Dossier {
  public:
    Dossier();
    ~Dossier();
    Dossier(const Dossier&) = delete;
    Dossier& operator=(const Dossier&) = delete;
    const std::filesystem::path& chemin() const { return chemin_; }
    void Ecrire(const std::string& nom, const std::string& contenu) const;

  private:
    std::filesystem::path chemin_;
};

// Runs the program in `dossier` with the given arguments (none: no argument at all).
// `avant`, when given, is a shell fragment run just before it (a ulimit, say).
Execution Lancer(const Dossier& dossier, const std::vector<std::string>& arguments,
                 const std::string& avant = "");

// Writes `description` as "bench.txt" in a fresh directory and runs the program on it.
Execution LancerDescription(const std::string& description);

// The text of a file of the source tree (examples, the default bench).
std::string LireSource(const std::string& chemin_relatif);

}  // namespace optic::test
