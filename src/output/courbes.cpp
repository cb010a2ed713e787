#include "output/courbes.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "raster/couleur.h"
#include "write/nombre.h"

namespace optic {

namespace {

constexpr int kEchantillons = 200;  // steps of a chromatic focal shift curve
constexpr Pixel kGrisCourbe = Couleur3(60, 60, 60);

std::string Longueur(double lambda) {
    return Shortest(lambda) + " nm";
}

// The ray fan and the spherical aberration of one source line's fans along an axis.
void CourbesDeLaSource(int source, const Mesures& mesures, std::vector<Courbe>& courbes) {
    Graphique fan, spherique;
    int systeme = 0;
    bool point = false;
    for (std::size_t f = 0; f < mesures.faisceaux.size() && f < mesures.aberrations.size(); ++f) {
        const Aberrations& a = mesures.aberrations[f];
        if (mesures.faisceaux[f].source != source || a.systeme == 0) continue;
        systeme = a.systeme;
        point = a.point_source;
        const double lambda = mesures.faisceaux[f].lambda;
        const Pixel couleur = EnPixel(Couleur(lambda));
        Serie& t = fan.series.emplace_back(Serie{Longueur(lambda), couleur, {}, {}});
        Serie& l = spherique.series.emplace_back(Serie{Longueur(lambda), couleur, {}, {}});
        for (const RayonAberration& r : a.rayons) {
            const double depart = point ? r.angle : r.hauteur;
            t.points.push_back(Point{depart, r.transverse});
            l.points.push_back(Point{r.croisement, depart});
        }
        l.marques.push_back(Point{a.paraxial, 0});
    }
    if (systeme == 0) return;
    const std::string de =
        ", source " + std::to_string(source) + " through system " + std::to_string(systeme);
    const std::string depart = point ? "start angle from the axis (deg)" : "start height (units)";
    fan.titre = "Ray fan" + de;
    fan.axe_x = depart;
    fan.axe_y = "transverse aberration at the paraxial image (units)";
    spherique.titre = "Spherical aberration" + de + " (dots: paraxial)";
    spherique.axe_x = "axis crossing from the last vertex (units)";
    spherique.axe_y = depart;
    courbes.push_back({"OpticRayFan_" + std::to_string(source) + ".svg", std::move(fan)});
    courbes.push_back({"OpticSpherical_" + std::to_string(source) + ".svg", std::move(spherique)});
}

}  // namespace

std::vector<Courbe> Courbes(const System_Physique& systeme, const Mesures& mesures) {
    std::vector<Courbe> courbes;
    int derniere = 0;
    for (const BilanFaisceau& b : mesures.faisceaux) {
        if (b.source == derniere) continue;
        derniere = b.source;
        CourbesDeLaSource(b.source, mesures, courbes);
    }
    for (std::size_t k = 0; k < mesures.systemes.size() && k < mesures.premier_ordre.size(); ++k) {
        const SystemeOptique& s = mesures.systemes[k];
        Graphique g;
        g.titre = "Chromatic focal shift, system " + std::to_string(k + 1);
        g.axe_x = "wavelength (nm)";
        g.axe_y = "paraxial back focal distance (units)";
        Serie& courbe = g.series.emplace_back(Serie{"bfd", kGrisCourbe, {}, {}});
        bool foyer = false;
        for (const Point p : DecalageChromatique(s, systeme.espace.indice_espace,
                                                 mesures.longueurs_onde, kEchantillons + 1)) {
            courbe.points.push_back(p);
            foyer = foyer || std::isfinite(p.y);
        }
        for (const PremierOrdre& p : mesures.premier_ordre[k]) {
            g.series.push_back(Serie{
                Longueur(p.lambda), EnPixel(Couleur(p.lambda)), {}, {Point{p.lambda, p.bfd}}});
            foyer = foyer || std::isfinite(p.bfd);
        }
        if (foyer) {
            courbes.push_back({"OpticFocalShift_" + std::to_string(k + 1) + ".svg", std::move(g)});
        }
    }
    return courbes;
}

}  // namespace optic
