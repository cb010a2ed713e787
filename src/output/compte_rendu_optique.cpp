#include "output/compte_rendu_optique.h"

#include <span>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "base/constantes.h"
#include "write/table.h"

namespace optic {

namespace {

// A direction in the lens lines' convention: degrees, 0 towards +x, (cos a, -sin a).
double Degres(Point u) {
    return std::atan2(-u.y, u.x) * 180 / kPi + 0.0;  // + 0.0: no "-0"
}

void PointJson(JsonWriter& json, const char* cle, Point p) {
    json.Key(cle);
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
        json.Null();
        return;
    }
    json.BeginObject().Key("x").Number(p.x).Key("y").Number(p.y).EndObject();
}

std::string Lentilles(const SystemeOptique& s) {
    std::string texte;
    for (const int l : s.lentilles) texte += (texte.empty() ? "" : ", ") + std::to_string(l);
    return texte;
}

// The fan's marginal ray: the one that starts farthest from the axis (a parallel beam) or at
// the widest angle (a point source), the first of them on a tie; none without rays.
const RayonAberration* Marginal(const Aberrations& a) {
    const RayonAberration* marginal = nullptr;
    for (const RayonAberration& r : a.rayons) {
        const double ecart = std::fabs(a.point_source ? r.angle : r.hauteur);
        if (!marginal || ecart > std::fabs(a.point_source ? marginal->angle : marginal->hauteur))
            marginal = &r;
    }
    return marginal;
}

}  // namespace

void EcrireSystemesJson(JsonWriter& json, const Mesures& mesures) {
    json.Key("systems").BeginArray();
    for (std::size_t k = 0; k < mesures.systemes.size(); ++k) {
        const SystemeOptique& s = mesures.systemes[k];
        json.BeginObject();
        json.Key("system").Integer(static_cast<std::int64_t>(k + 1));
        json.Key("lenses").BeginArray();
        for (const int l : s.lentilles) json.Integer(l);
        json.EndArray();
        json.Key("axis").BeginObject();
        json.Key("x").Number(s.origine.x).Key("y").Number(s.origine.y);
        json.Key("direction_deg").Number(Degres(s.axe));
        json.EndObject();
        json.Key("first_order").BeginArray();
        for (const PremierOrdre& p : mesures.premier_ordre[k]) {
            json.BeginObject();
            json.Key("wavelength_nm").Number(p.lambda);
            json.Key("efl").Number(p.efl);
            json.Key("bfd").Number(p.bfd);
            json.Key("ffd").Number(p.ffd);
            PointJson(json, "front_focal_point", p.foyer_objet);
            PointJson(json, "back_focal_point", p.foyer_image);
            PointJson(json, "front_principal_point", p.principal_objet);
            PointJson(json, "back_principal_point", p.principal_image);
            json.Key("afocal").Boolean(p.afocal);
            json.Key("angular_magnification").Number(p.grossissement);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

void EcrireSystemes(std::ostream& sortie, const Mesures& mesures) {
    if (mesures.systemes.empty()) {
        sortie << "Systems: none\n";
        return;
    }
    if (mesures.longueurs_onde.empty()) {
        sortie << "Systems: no fan of rays, so no wavelength to give first-order properties at\n";
        return;
    }
    sortie << "Systems: paraxial first-order properties at each wavelength\n";
    const std::vector<Colonne> colonnes = {{"system", true},     {"lenses", false},
                                           {"wavelength", true}, {"EFL", true},
                                           {"BFD", true},        {"FFD", true}};
    std::vector<std::vector<std::string>> lignes;
    for (std::size_t k = 0; k < mesures.systemes.size(); ++k) {
        bool premiere = true;
        for (const PremierOrdre& p : mesures.premier_ordre[k]) {
            std::vector<std::string>& l = lignes.emplace_back();
            l = {premiere ? std::to_string(k + 1) : "",
                 premiere ? Lentilles(mesures.systemes[k]) : "", Shortest(p.lambda) + " nm"};
            if (p.afocal) {
                l.push_back("afocal, angular magnification " + Decimales(p.grossissement, 4));
            } else {
                for (const double v : {p.efl, p.bfd, p.ffd}) l.push_back(Decimales(v, 4));
            }
            premiere = false;
        }
    }
    EcrireTable(sortie, colonnes, lignes);
}

void EcrireAberrationsJson(JsonWriter& json, const Aberrations& a, bool sans_rayons) {
    json.Key("aberrations");
    if (a.systeme == 0) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Key("system").Integer(a.systeme);
    PointJson(json, "reference", a.reference);
    json.Key("rays").BeginArray();
    for (const RayonAberration& r : sans_rayons ? std::span<const RayonAberration>{} : a.rayons) {
        json.BeginObject();
        json.Key("height").Number(r.hauteur);
        json.Key("angle_deg").Number(r.angle);
        json.Key("axis_crossing").Number(r.croisement);
        json.Key("transverse").Number(r.transverse);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void EcrireAberrations(std::ostream& sortie, const Mesures& mesures) {
    const std::size_t n = std::min(mesures.faisceaux.size(), mesures.aberrations.size());
    std::vector<std::vector<std::string>> lignes;
    for (std::size_t f = 0; f < n; ++f) {
        const Aberrations& a = mesures.aberrations[f];
        if (a.systeme == 0) continue;
        const RayonAberration* m = Marginal(a);
        double transverse = std::nan("");  // the largest, none while no ray has one
        for (const RayonAberration& r : a.rayons) {
            if (std::isfinite(r.transverse) &&
                (std::isnan(transverse) || std::fabs(r.transverse) > transverse)) {
                transverse = std::fabs(r.transverse);
            }
        }
        const std::string marginal = !m               ? "n/a"
                                     : a.point_source ? Decimales(m->angle, 4) + " deg"
                                                      : Decimales(m->hauteur, 4);
        lignes.push_back({std::to_string(mesures.faisceaux[f].source),
                          Shortest(mesures.faisceaux[f].lambda) + " nm", std::to_string(a.systeme),
                          marginal, Decimales(m ? m->croisement - a.paraxial : std::nan(""), 4),
                          Decimales(transverse, 4)});
    }
    if (lignes.empty()) {
        sortie << "Aberrations: no fan runs along a system's axis\n";
        return;
    }
    sortie << "Aberrations: the marginal ray's longitudinal aberration, the largest transverse\n";
    EcrireTable(sortie,
                {{"source", true},
                 {"wavelength", true},
                 {"system", true},
                 {"marginal", true},
                 {"longitudinal", true},
                 {"transverse", true}},
                lignes);
}

}  // namespace optic
