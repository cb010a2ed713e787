#pragma once

namespace optic {

// The kinds of picture file the run can write.
enum class FormatImage { Bmp, Png, Svg };

// What the run says about its rays after the messages: nothing, a table for people, or one
// JSON document for scripts (then the only thing on standard output).
enum class FormeCompteRendu { Aucun, Texte, Json };

}  // namespace optic
