#include "measure/aberrations.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/constantes.h"

namespace optic {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Where the line through p along d (in a system's frame) meets the axis, along it; NaN when
// it runs parallel to the axis.
double Croisement(Point p, Point d) {
    if (!(std::fabs(d.y) > kParalleleALAxe * std::hypot(d.x, d.y))) return kNaN;
    return p.x - p.y * d.x / d.y;
}

// Where the line through p along d (in a system's frame) meets the plane across the axis at
// `plan`, across the axis; NaN when it runs parallel to that plane.
double Hauteur(Point p, Point d, double plan) {
    if (!(std::fabs(d.x) > kParalleleALAxe * std::hypot(d.x, d.y))) return kNaN;
    return p.y + (plan - p.x) * d.y / d.x;
}

}  // namespace

std::vector<std::size_t> RayonsGardes(std::size_t n) {
    std::vector<std::size_t> k;
    const std::size_t m = std::min(n, kRayonsAberrations);
    for (std::size_t i = 0; i < m; ++i) k.push_back(n == m ? i : i * (n - 1) / (m - 1));
    return k;
}

ReleveAberrations::ReleveAberrations(const System_Physique& systeme,
                                     const std::vector<SystemeOptique>& systemes)
    : systemes_(systemes) {
    const double taille = TailleDuBanc(systeme);
    const double n_espace = systeme.espace.indice_espace;
    std::size_t premier = 0;
    for (const Source_polychromatique& ligne : systeme.sources) {
        for (const Source_monochromatique& source : ligne.sources) {
            Releve& fan = fans_.emplace_back();
            fan.premier = premier;
            premier += source.NombreRayons();
            const Point milieu = source.Milieu();
            const Point u{std::cos(source.Axe()), std::sin(source.Axe())};
            std::size_t g = 0;
            while (g < systemes_.size() && !(SurLAxe(systemes_[g], milieu, u, taille) &&
                                             systemes_[g].Local(milieu).x < 0)) {
                ++g;
            }
            if (g == systemes_.size() || source.NombreRayons() == 0) continue;
            const SystemeOptique& s = systemes_[g];
            Aberrations& a = fan.aberrations;
            a.systeme = static_cast<int>(g + 1);
            a.point_source = source.DemiOuverture() != 0;
            double image;  // along the axis from the first vertex
            if (a.point_source) {
                // The rays seem to come from the point where their lines meet: the middle of
                // the segment when it has no width, otherwise behind it (or ahead).
                const double recul = source.DemiLargeur() == 0
                                         ? 0
                                         : source.DemiLargeur() / std::tan(source.DemiOuverture());
                image = ImageParaxiale(s, n_espace, source.lambda, s.Local(milieu).x - recul);
            } else {
                image = s.Dernier() + ProprietesParaxiales(s, n_espace, source.lambda).bfd;
            }
            a.paraxial = image - s.Dernier();
            a.reference = std::isfinite(image) ? s.SurLAxe(image) : Point{kNaN, kNaN};
            for (const std::size_t k : RayonsGardes(source.NombreRayons()))
                fan.gardes.push_back(Garde{k, source.Depart(k), source.Ecart(k), {}, {}, false});
        }
    }
}

void ReleveAberrations::Ajouter(std::size_t debut, std::span<const Rayon> rayons) {
    for (std::size_t i = 0; i < rayons.size(); ++i) {
        const Rayon& r = rayons[i];
        if (r.faisceau >= fans_.size()) continue;
        Releve& fan = fans_[r.faisceau];
        if (fan.gardes.empty()) continue;
        const std::size_t k = debut + i - fan.premier;
        const auto g = std::lower_bound(fan.gardes.begin(), fan.gardes.end(), k,
                                        [](const Garde& a, std::size_t b) { return a.k < b; });
        if (g == fan.gardes.end() || g->k != k) continue;
        g->position = r.position;
        g->direction = r.direction;
        // Left the system: it goes on without end after meeting at least one surface (a ray
        // that passed beside every lens tells nothing of them).
        g->sorti = r.fin == FinRayon::Ouverte && r.chemin.size() > 1;
    }
}

std::vector<Aberrations> ReleveAberrations::Resultat() const {
    std::vector<Aberrations> resultat;
    for (const Releve& fan : fans_) {
        Aberrations& a = resultat.emplace_back(fan.aberrations);
        if (a.systeme == 0) continue;
        const SystemeOptique& s = systemes_[static_cast<std::size_t>(a.systeme - 1)];
        const double plan = s.Dernier() + a.paraxial;
        for (const Garde& g : fan.gardes) {
            if (!g.sorti) continue;
            const Point p = s.Local(g.position), d = s.LocalVecteur(g.direction);
            a.rayons.push_back(
                RayonAberration{s.Local(g.depart.position).y, -g.ecart * 180 / kPi + 0.0,
                                Croisement(p, d) - s.Dernier(), Hauteur(p, d, plan)});
        }
    }
    return resultat;
}

}  // namespace optic
