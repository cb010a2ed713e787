#include "model/messages.h"

#include <string>

namespace optic {

void Signaler(Rapport& rapport, std::string_view message, std::string_view fichier,
              const Lieu& lieu) {
    const std::size_t trou = message.find("%s");
    if (trou == std::string_view::npos) {
        rapport.Message(message, lieu);
        return;
    }
    std::string texte(message.substr(0, trou));
    texte.append(fichier).append(message.substr(trou + 2));
    rapport.Message(texte, lieu);
}

}  // namespace optic
