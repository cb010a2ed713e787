#include "output/compte_rendu.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "output/compte_rendu_optique.h"
#include "write/json.h"
#include "write/table.h"

namespace optic {

namespace {

std::string Focale(double f) {
    return std::isinf(f) ? "infinite" : Decimales(f, 4);
}

std::string Image(const BilanFaisceau& b) {
    switch (b.convergence) {
        case Convergence::Point:
            return b.reelle ? "real" : "virtual";
        case Convergence::Parallele:
            return "collimated, direction " + (std::isnan(b.direction)
                                                   ? std::string("undefined (both ways)")
                                                   : Decimales(b.direction, 3) + " deg");
        case Convergence::Aucune:
            return "none (fewer than two rays left)";
        case Convergence::Indeterminee:
            break;
    }
    return "none (numbers out of range)";
}

void EcrireFaisceaux(std::ostream& sortie, const std::vector<BilanFaisceau>& faisceaux) {
    if (faisceaux.empty()) {
        sortie << "Fans of rays: none\n";
        return;
    }
    sortie << "Fans of rays\n";
    std::vector<Colonne> colonnes = {{"source", true}, {"wavelength", true}, {"rays", true},
                                     {"left", true},   {"stopped", true},    {"trapped", true},
                                     {"image", false}};
    std::vector<std::vector<std::string>> lignes;
    for (const BilanFaisceau& b : faisceaux) {
        std::vector<std::string>& l = lignes.emplace_back();
        l = {std::to_string(b.source),
             Shortest(b.lambda) + " nm",
             std::to_string(b.rayons),
             std::to_string(b.sortis),
             std::to_string(b.arretes),
             std::to_string(b.pieges),
             Image(b)};
        if (b.convergence == Convergence::Point) {
            l.push_back(Decimales(b.image.x, 4));
            l.push_back(Decimales(b.image.y, 4));
            l.push_back(Decimales(b.rms, 4));
        }
    }
    // The point's columns, when a fan has one.
    if (std::any_of(faisceaux.begin(), faisceaux.end(),
                    [](const BilanFaisceau& b) { return b.convergence == Convergence::Point; })) {
        colonnes.insert(colonnes.end(), {{"x", true}, {"y", true}, {"rms", true}});
    }
    EcrireTable(sortie, colonnes, lignes);
}

void EcrireLentilles(std::ostream& sortie, const Mesures& mesures) {
    if (mesures.focales.empty()) {
        sortie << "Lenses: none\n";
        return;
    }
    if (mesures.longueurs_onde.empty()) {
        sortie << "Lenses: no fan of rays, so no wavelength to give focal lengths at\n";
        return;
    }
    sortie << "Lenses: paraxial focal length at each wavelength\n";
    std::vector<std::string> titres = {"lens"};
    for (const double lambda : mesures.longueurs_onde) titres.push_back(Shortest(lambda) + " nm");
    std::vector<Colonne> colonnes;
    for (const std::string& t : titres) colonnes.push_back({t, true});
    std::vector<std::vector<std::string>> lignes;
    for (std::size_t k = 0; k < mesures.focales.size(); ++k) {
        std::vector<std::string>& l = lignes.emplace_back();
        l.push_back(std::to_string(k + 1));
        for (const double f : mesures.focales[k]) l.push_back(Focale(f));
    }
    EcrireTable(sortie, colonnes, lignes);
}

void EcrireFaisceau(JsonWriter& json, const BilanFaisceau& b, const Aberrations* a,
                    bool sans_rayons) {
    json.BeginObject();
    json.Key("source").Integer(b.source);
    json.Key("wavelength_nm").Number(b.lambda);
    json.Key("rays").Integer(static_cast<std::int64_t>(b.rayons));
    json.Key("left").Integer(static_cast<std::int64_t>(b.sortis));
    json.Key("stopped").Integer(static_cast<std::int64_t>(b.arretes));
    json.Key("trapped").Integer(static_cast<std::int64_t>(b.pieges));
    json.Key("image");
    if (b.convergence == Convergence::Point) {
        json.BeginObject();
        json.Key("x").Number(b.image.x);
        json.Key("y").Number(b.image.y);
        json.Key("rms").Number(b.rms);
        json.Key("kind").String(b.reelle ? "real" : "virtual");
        json.EndObject();
    } else {
        json.Null();
    }
    json.Key("collimated");
    if (b.convergence == Convergence::Parallele) {
        json.BeginObject().Key("direction_deg").Number(b.direction).EndObject();
    } else {
        json.Null();
    }
    EcrireAberrationsJson(json, a ? *a : Aberrations{}, sans_rayons);
    json.EndObject();
}

}  // namespace

void EcrireJson(std::ostream& sortie, const CompteRendu& compte_rendu, MiseEnPage mise,
                bool sans_rayons) {
    JsonWriter json(sortie, mise);
    json.BeginObject();
    json.Key("description").String(compte_rendu.description);
    json.Key("status").Integer(compte_rendu.statut);
    json.Key("messages").BeginArray();
    for (const std::string& m : compte_rendu.messages) json.String(m);
    json.EndArray();
    json.Key("pictures").BeginArray();
    for (const std::string& i : compte_rendu.bilan.images) json.String(i);
    json.EndArray();

    const Mesures vide;
    const Mesures& mesures = compte_rendu.bilan.mesures ? *compte_rendu.bilan.mesures : vide;
    json.Key("fans").BeginArray();
    for (std::size_t f = 0; f < mesures.faisceaux.size(); ++f) {
        EcrireFaisceau(json, mesures.faisceaux[f],
                       f < mesures.aberrations.size() ? &mesures.aberrations[f] : nullptr,
                       sans_rayons);
    }
    json.EndArray();
    json.Key("lenses").BeginArray();
    for (std::size_t k = 0; k < mesures.focales.size(); ++k) {
        json.BeginObject();
        json.Key("lens").Integer(static_cast<std::int64_t>(k + 1));
        json.Key("focal_length").BeginArray();
        for (std::size_t w = 0; w < mesures.longueurs_onde.size(); ++w) {
            json.BeginObject();
            json.Key("wavelength_nm").Number(mesures.longueurs_onde[w]);
            json.Key("f").Number(mesures.focales[k][w]);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    EcrireSystemesJson(json, mesures);
    json.EndObject();
    sortie << '\n';
}

void EcrireTableaux(std::ostream& sortie, const Mesures& mesures) {
    EcrireFaisceaux(sortie, mesures.faisceaux);
    sortie << '\n';
    EcrireLentilles(sortie, mesures);
    sortie << '\n';
    EcrireSystemes(sortie, mesures);
    sortie << '\n';
    EcrireAberrations(sortie, mesures);
}

}  // namespace optic
