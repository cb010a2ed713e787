#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace optic {

// Runs `executer` once, then again each time the file at `chemin` changes, until SIGINT or SIGTERM
// ends the watch with status 0; `executer` writes to `sortie` and `erreurs`.  An editor that saves
// by writing a new file and renaming it over the old one is followed too, and a burst of changes
// gives one run.  If the file disappears, the watch says so on `erreurs` and waits for it to come
// back; with `bavard` it also says when it starts watching and when it runs again.
//
// Each run happens in a child process, which the ending signals end as they would end a
// single run: a picture being written is removed, never left half-written.  The watch itself
// only waits and starts runs.  Returns 0; or, when the file's directory cannot be watched,
// 255 after a single run.
int Surveiller(const std::string& chemin, const std::function<int()>& executer,
               std::ostream& sortie, std::ostream& erreurs, bool bavard);

}  // namespace optic
