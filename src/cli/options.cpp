#include "cli/options.h"

#include <optional>
#include <string_view>

namespace optic {

namespace {

std::string Inconnue(std::string_view option) {
    return "optic: unknown option '" + std::string(option) + "'; see optic --help";
}

std::optional<FormatImage> Format(std::string_view nom) {
    if (nom == "bmp") return FormatImage::Bmp;
    if (nom == "png") return FormatImage::Png;
    if (nom == "svg") return FormatImage::Svg;
    return std::nullopt;
}

}  // namespace

LectureArguments LireArguments(int argc, const char* const* argv) {
    LectureArguments l;
    Options& o = l.options;
    bool description = false;
    bool options_finies = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        // "-" alone and every argument after "--" are names, as is a name after the first.
        if (options_finies || a.size() < 2 || a[0] != '-') {
            if (!description) o.description = std::string(a);
            description = true;
            continue;
        }
        if (a == "--") {
            options_finies = true;
            continue;
        }
        const std::size_t egal = a.find('=');
        const std::string_view nom = a.substr(0, egal);
        const bool a_valeur = egal != std::string_view::npos;
        const std::string_view valeur = a_valeur ? a.substr(egal + 1) : std::string_view{};
        // An option that takes a value takes it after "=" or as the next argument.
        auto valeur_requise = [&](std::string_view quoi) -> std::optional<std::string_view> {
            if (a_valeur) return valeur;
            if (i + 1 < argc) return std::string_view(argv[++i]);
            l.erreur = "optic: option '" + std::string(nom) + "' needs " + std::string(quoi) +
                       "; see optic --help";
            return std::nullopt;
        };
        if (!a_valeur && (a == "--help" || a == "-h")) {
            o.aide = true;
        } else if (!a_valeur && a == "--version") {
            o.version = true;
        } else if (!a_valeur && (a == "--verbose" || a == "-v")) {
            o.bavard = true;
        } else if (!a_valeur && a == "--watch") {
            o.surveiller = true;
        } else if (!a_valeur && a == "--plots") {
            o.courbes = true;
        } else if (nom == "--report") {
            if (!a_valeur || valeur == "text") {
                o.compte_rendu = FormeCompteRendu::Texte;
            } else if (valeur == "json") {
                o.compte_rendu = FormeCompteRendu::Json;
            } else {
                l.erreur = "optic: unknown report form '" + std::string(valeur) +
                           "'; use --report or --report=json";
                return l;
            }
        } else if (nom == "--format") {
            const auto v = valeur_requise("a format (bmp, png or svg)");
            if (!v) return l;
            const auto f = Format(*v);
            if (!f) {
                l.erreur = "optic: unknown picture format '" + std::string(*v) +
                           "'; use --format=bmp, png or svg";
                return l;
            }
            o.format = *f;
        } else if (nom == "--output-dir") {
            const auto v = valeur_requise("a directory");
            if (!v) return l;
            if (v->empty()) {
                l.erreur = "optic: option '--output-dir' needs a directory; see optic --help";
                return l;
            }
            o.dossier = std::string(*v);
        } else if (a_valeur &&
                   (nom == "--help" || nom == "-h" || nom == "--version" || nom == "--verbose" ||
                    nom == "-v" || nom == "--watch" || nom == "--plots")) {
            l.erreur = "optic: option '" + std::string(nom) + "' takes no value; see optic --help";
            return l;
        } else {
            l.erreur = Inconnue(a_valeur ? nom : a);
            return l;
        }
    }
    return l;
}

}  // namespace optic
