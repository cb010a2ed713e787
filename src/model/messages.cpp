#include "model/messages.h"

namespace optic {

void Signaler(std::ostream& rapport, std::string_view message, std::string_view fichier) {
    const std::size_t trou = message.find("%s");
    if (trou == std::string_view::npos) {
        rapport << message;
    } else {
        rapport << message.substr(0, trou) << fichier << message.substr(trou + 2);
    }
}

}  // namespace optic
