// Tracing rays side by side.  The search for the nearest surface, the bulk of the work, runs
// over a handful of rays at once, in loops the compiler turns into vector instructions: each
// lane does the same operations in the same order as the plain tracer, so every result is
// the same to the bit.  A ray that ends leaves its lane to the next one.  The rest of a step
// (the hit, the new medium, the new direction) is done ray by ray.
#include "optic/traceur.h"

#include <cmath>
#include <limits>

#include "optic/propagation.h"
#include "optic/recherche.h"

namespace optic {

namespace {

double Norme(Point v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}

// Hands out rays debut .. fin - 1 in order, with their source.
class Distributeur {
  public:
    Distributeur(const Banc& banc, std::size_t debut, std::size_t fin)
        : banc_(banc), suivant_(debut), fin_(fin) {
        if (debut < fin) {
            source_ = banc.SourceDuRayon(debut);
            k_ = debut - banc.PremierRayon(source_);
        }
    }
    bool Reste() const { return suivant_ < fin_; }
    // The next ray, its number and its source.
    std::size_t Prendre(Rayon& r, std::size_t& source) {
        while (k_ >= banc_.Source(source_).NombreRayons()) {
            ++source_;
            k_ = 0;
        }
        r = banc_.Source(source_).Depart(k_++);
        source = source_;
        return suivant_++;
    }

  private:
    const Banc& banc_;
    std::size_t suivant_, fin_;
    std::size_t source_ = 0, k_ = 0;
};

// One lane's ray in progress.
struct Voie {
    bool active = false;
    std::size_t numero = 0;  // in the task
    const double* indices = nullptr;
    int impacts = 0;
    Rayon rayon;
    std::vector<Point> chemin;
};

}  // namespace

void Tracer(const Banc& banc, std::size_t debut, std::size_t fin, Rayon* rayons,
            std::vector<Point>& noeuds) {
    noeuds.clear();
    const std::vector<Dioptre>& surfaces = banc.Surfaces();
    // Where each ray's path starts in `noeuds`, until it stops growing.
    std::vector<std::size_t> departs(fin - debut);
    Distributeur distributeur(banc, debut, fin);
    Voies v;
    Voie voies[kVoies];

    auto charger = [&](int l) {
        Voie& voie = voies[l];
        voie.active = distributeur.Reste();
        if (!voie.active) {
            const double rien = std::numeric_limits<double>::quiet_NaN();
            v.px[l] = rien;
            v.py[l] = rien;
            v.dx[l] = rien;
            v.dy[l] = rien;
            return;
        }
        std::size_t source;
        voie.numero = distributeur.Prendre(voie.rayon, source) - debut;
        voie.indices = banc.Indices(source);
        voie.impacts = 0;
        Rayon& r = voie.rayon;
        const double n0 = banc.Milieu(r.position, voie.indices);
        // Born where the index is 0, inside a blade, the ray cannot go anywhere.
        r.fin = n0 == 0 ? FinRayon::Opaque : FinRayon::Ouverte;
        const double f = n0 / Norme(r.direction);
        r.direction = Point{r.direction.x * f, r.direction.y * f};
        voie.chemin.assign(1, r.position);
        v.px[l] = r.position.x;
        v.py[l] = r.position.y;
        v.dx[l] = r.direction.x;
        v.dy[l] = r.direction.y;
    };
    auto finir = [&](int l) {
        Voie& voie = voies[l];
        departs[voie.numero] = noeuds.size();
        noeuds.insert(noeuds.end(), voie.chemin.begin(), voie.chemin.end());
        voie.rayon.chemin = {static_cast<const Point*>(nullptr), voie.chemin.size()};
        rayons[voie.numero] = voie.rayon;
        charger(l);
    };

    bool actives = false;
    for (int l = 0; l < kVoies; ++l) {
        charger(l);
        actives = actives || voies[l].active;
    }
    while (actives) {
        Chercher(surfaces.data(), surfaces.size(), v);
        actives = false;
        for (int l = 0; l < kVoies; ++l) {
            Voie& voie = voies[l];
            if (!voie.active) continue;
            Rayon& r = voie.rayon;
            if (v.meilleur[l] < 0) {
                finir(l);  // open end: the ray leaves the bench
            } else {
                Impact impact;
                Intersection(surfaces[static_cast<std::size_t>(v.surface[l])], r.position,
                             r.direction, impact);
                if (Opaque(impact.tangente)) {
                    voie.chemin.push_back(impact.h);  // opaque surface: the ray ends here
                    r.arret = true;
                    r.fin = FinRayon::Opaque;
                    finir(l);
                } else {
                    r.position = impact.h;
                    const double n = banc.Milieu(Sonde(impact.h, r.direction), voie.indices);
                    r.direction = Devier(r.direction, impact.tangente, n);
                    voie.chemin.push_back(impact.h);
                    if (++voie.impacts == kImpactsMax) {
                        r.arret = true;
                        r.fin = FinRayon::Limite;
                        finir(l);
                    } else {
                        v.px[l] = r.position.x;
                        v.py[l] = r.position.y;
                        v.dx[l] = r.direction.x;
                        v.dy[l] = r.direction.y;
                    }
                }
            }
            actives = actives || voies[l].active;
        }
    }
    for (std::size_t i = 0; i < fin - debut; ++i) {
        rayons[i].chemin = {noeuds.data() + departs[i], rayons[i].chemin.size()};
    }
}

}  // namespace optic
