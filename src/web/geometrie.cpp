#include "web/geometrie.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <set>
#include <string_view>
#include <vector>

#include "base/constantes.h"
#include "elements/lentille.h"
#include "measure/focale.h"
#include "measure/systemes.h"
#include "write/json.h"

namespace optic {

namespace {

// Points an arc's outline is drawn with, from one end to the other.
constexpr int kPointsArc = 24;
// How far past their element, at the least, the handles off an element lie (world units).
constexpr double kBrasMin = 10.0;
// Wavelengths a system's chromatic focal shift is sampled at, across its glasses' range.
constexpr int kPointsChromatiques = 41;

Point Plus(Point p, Point d, double t) {
    return Point{p.x + t * d.x, p.y + t * d.y};
}

// An element's frame: its first surface's vertex, its axis and the quarter turn from it
// (in the pictures, the lateral direction's negative side is up when the angle is 0).
struct Repere2 {
    Point origine, axe, cote;
};

Repere2 RepereDe(const Dioptre& d) {
    return Repere2{d.sommet, Point{d.cosinus, d.sinus}, Point{-d.sinus, d.cosinus}};
}

// The point of a surface at lateral coordinate b of its own frame.
Point SurLaSurface(const Dioptre& d, double b) {
    double a = 0.0;
    if (d.courbure != 0) {
        const double r = d.centre.x;
        a = r - std::copysign(std::sqrt(std::max(0.0, d.rayon_carre - b * b)), r);
    }
    const Repere2 f = RepereDe(d);
    return Plus(Plus(f.origine, f.axe, a), f.cote, b);
}

class Ecrivain {
  public:
    explicit Ecrivain(std::ostream& sortie) : json_(sortie, MiseEnPage::Compacte) {}

    JsonWriter& json() { return json_; }

    void Paire(Point p) { json_.BeginArray().Number(p.x).Number(p.y).EndArray(); }

    void Valeurs(const Provenance& p) {
        json_.Key("line").Integer(p.ligne);
        json_.Key("values").BeginArray();
        for (const double v : p.valeurs) {
            if (std::isinf(v)) {
                json_.String("inf");
            } else {
                json_.Number(v);
            }
        }
        json_.EndArray();
    }

    void Contour(const std::vector<std::vector<Point>>& parties) {
        json_.Key("outline").BeginArray();
        for (const std::vector<Point>& partie : parties) {
            json_.BeginArray();
            for (const Point p : partie) Paire(p);
            json_.EndArray();
        }
        json_.EndArray();
    }

    void Poignee(std::string_view nom, Point ou, std::initializer_list<int> champs) {
        json_.BeginObject().Key("name").String(nom).Key("at");
        Paire(ou);
        json_.Key("fields").BeginArray();
        for (const int c : champs) json_.Integer(c);
        json_.EndArray().EndObject();
    }

    void Repere(const Repere2& f) {
        json_.Key("origin");
        Paire(f.origine);
        json_.Key("axis");
        Paire(f.axe);
    }

  private:
    JsonWriter json_;
};

// The middle of the bench's wavelengths, each taken once, in increasing order; 0 without a
// wavelength.
double LongueurMilieu(const System_Physique& systeme) {
    std::set<double> longueurs;
    for (const Source_polychromatique& g : systeme.sources) {
        for (const Source_monochromatique& s : g.sources) longueurs.insert(s.lambda);
    }
    if (longueurs.empty()) return 0.0;
    return *std::next(longueurs.begin(), static_cast<long>(longueurs.size() / 2));
}

// A lens: its two faces joined at the aperture; handles on its back vertex, the top of its
// aperture, its axis past the back vertex and each face at the top of the aperture.
void Lentille_(Ecrivain& e, const Element& l, double n_espace, double lambda) {
    const Dioptre& face1 = l.dioptres[0];
    const Dioptre& face2 = l.dioptres[1];
    const double h = face1.demi_ouverture;
    std::vector<Point> tour;
    // Face 1 from the top of the aperture down, face 2 (its lateral side turned) back up.
    for (int k = 0; k <= kPointsArc; ++k) {
        tour.push_back(SurLaSurface(face1, h * (2.0 * k / kPointsArc - 1)));
    }
    for (int k = 0; k <= kPointsArc; ++k) {
        tour.push_back(SurLaSurface(face2, h * (2.0 * k / kPointsArc - 1)));
    }
    e.json().Key("kind").String("L");
    const Repere2 f = RepereDe(face1);
    e.Repere(f);
    e.Contour({tour});
    const double bras = std::max({h, kBrasMin, 0.0});
    e.json().Key("handles").BeginArray();
    e.Poignee("move", f.origine, {1, 2});
    e.Poignee("thickness", face2.sommet, {3});
    e.Poignee("diameter", l.dioptres[3].sommet, {6});
    e.Poignee("tilt", Plus(face2.sommet, f.axe, bras), {7});
    e.Poignee("radius1", SurLaSurface(face1, -h), {4});
    e.Poignee("radius2", SurLaSurface(face2, h), {5});
    e.json().EndArray();
    e.json().Key("aperture").Number(h);
    if (lambda > 0) e.json().Key("focal_length").Number(FocaleParaxiale(l, n_espace, lambda));
}

// A diaphragm: its two blades; handles on the top blade's inner and outer edges.
void Diaphragme_(Ecrivain& e, const Element& d, const Provenance& p) {
    const Repere2 f = RepereDe(d.dioptres[0]);
    const Point centre{p.valeurs[0], p.valeurs[1]};
    const double epaisseur = 2 * d.dioptres[4].demi_ouverture;
    std::vector<std::vector<Point>> lames;
    for (const std::size_t k : {std::size_t{1}, std::size_t{0}}) {
        const Dioptre& entree = d.dioptres[k];
        const Point a = Plus(entree.sommet, f.cote, -entree.demi_ouverture);
        const Point b = Plus(entree.sommet, f.cote, entree.demi_ouverture);
        lames.push_back({a, b, Plus(b, f.axe, epaisseur), Plus(a, f.axe, epaisseur)});
    }
    // The reader takes the smaller of the two radii as the inner edge.
    const bool echange = std::fabs(p.valeurs[3]) > std::fabs(p.valeurs[4]);
    const double interieur = std::min(std::fabs(p.valeurs[3]), std::fabs(p.valeurs[4]));
    const double exterieur = std::max(std::fabs(p.valeurs[3]), std::fabs(p.valeurs[4]));
    e.json().Key("kind").String("D");
    e.Repere(Repere2{centre, f.axe, f.cote});
    e.Contour(lames);
    e.json().Key("handles").BeginArray();
    e.Poignee("move", centre, {1, 2});
    e.Poignee("inner", Plus(centre, f.cote, -interieur), {echange ? 5 : 4});
    e.Poignee("outer", Plus(centre, f.cote, -exterieur), {echange ? 4 : 5});
    e.json().EndArray();
}

// A source line: its start segment; handles on its middle (the start point), its axis, its
// first edge ray and the segment's first end.
void Source_(Ecrivain& e, const Provenance& p) {
    const std::size_t nb = static_cast<std::size_t>(p.valeurs[0]);
    const double* g = p.valeurs.data() + 1 + nb;  // x, y, opening, direction, width, rays
    const int c = static_cast<int>(nb) + 2;       // x's field
    const Point milieu{g[0], g[1]};
    const double theta = -Radians(g[3]);
    const double demi_ouverture = Radians(g[2]) / 2;
    const double w = std::fabs(g[4]) / 2;
    const Point axe{std::cos(theta), std::sin(theta)};
    const Point cote{-axe.y, axe.x};
    const Point bout = Plus(milieu, cote, -w);
    const double bras = std::max(2 * w, kBrasMin);
    const Point bord{std::cos(theta - demi_ouverture), std::sin(theta - demi_ouverture)};
    e.json().Key("kind").String("S");
    e.Repere(Repere2{milieu, axe, cote});
    e.Contour({{bout, Plus(milieu, cote, w)}});
    e.json().Key("handles").BeginArray();
    e.Poignee("move", milieu, {c, c + 1});
    e.Poignee("direction", Plus(milieu, axe, bras), {c + 3});
    e.Poignee("opening", Plus(bout, bord, bras), {c + 2});
    e.Poignee("width", bout, {c + 4});
    e.json().EndArray();
}

// Each system's chromatic focal shift, over its glasses' and the bench's wavelengths.
void Chromatique(JsonWriter& json, const System_Physique& systeme) {
    std::vector<double> longueurs;
    for (const Source_polychromatique& g : systeme.sources) {
        for (const Source_monochromatique& m : g.sources) longueurs.push_back(m.lambda);
    }
    json.Key("systems").BeginArray();
    const std::vector<SystemeOptique> systemes = Systemes(systeme);
    for (std::size_t k = 0; k < systemes.size(); ++k) {
        json.BeginObject().Key("system").Integer(static_cast<std::int64_t>(k + 1));
        json.Key("bfd").BeginArray();
        for (const Point p : DecalageChromatique(systemes[k], systeme.espace.indice_espace,
                                                 longueurs, kPointsChromatiques)) {
            json.BeginObject().Key("wavelength_nm").Number(p.x).Key("bfd").Number(p.y).EndObject();
        }
        json.EndArray().EndObject();
    }
    json.EndArray();
}

}  // namespace

void EcrireGeometrie(std::ostream& sortie, const System_Physique& systeme) {
    Ecrivain e(sortie);
    JsonWriter& json = e.json();
    const double lambda = LongueurMilieu(systeme);
    json.BeginObject();
    json.Key("wavelength_nm").Number(lambda);
    json.Key("elements").BeginArray();
    for (std::size_t k = 0; k < systeme.elements.size(); ++k) {
        const Element& el = systeme.elements[k];
        const Provenance& p = systeme.provenance_elements[k];
        json.BeginObject();
        e.Valeurs(p);
        if (el.type == kTypeLentille) {
            Lentille_(e, el, systeme.espace.indice_espace, lambda);
        } else {
            Diaphragme_(e, el, p);
        }
        json.EndObject();
    }
    json.EndArray();
    json.Key("sources").BeginArray();
    for (const Provenance& p : systeme.provenance_sources) {
        json.BeginObject();
        e.Valeurs(p);
        const double nb = p.valeurs.empty() ? 0.0 : p.valeurs[0];
        if (nb >= 1 && static_cast<double>(p.valeurs.size()) >= nb + 7) Source_(e, p);
        json.EndObject();
    }
    json.EndArray();
    json.Key("zoomboxes").BeginArray();
    for (const Provenance& p : systeme.provenance_zoomboxes) {
        json.BeginObject();
        e.Valeurs(p);
        json.EndObject();
    }
    json.EndArray();
    Chromatique(json, systeme);
    json.EndObject();
    sortie << '\n';
}

}  // namespace optic
