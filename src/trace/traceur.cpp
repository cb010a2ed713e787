// Tracing rays side by side: each step (the nearest surface, the hit, the new medium, the new
// direction) runs over several rays at once in vector lanes (see Pas), each lane with the
// same operations in the same order as the plain tracer, so every result is the same to the
// bit.  A ray that ends leaves its lane to the next one.
#include "trace/traceur.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "trace/pas.h"
#include "trace/propagation.h"

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
    int impacts = 0;
    Rayon rayon;
    std::vector<Point> chemin;
};

}  // namespace

void Tracer(const Banc& banc, std::size_t debut, std::size_t fin, Rayon* rayons,
            std::vector<Point>& noeuds) {
    noeuds.clear();
    const std::size_t nb_elements = banc.NombreElements();
    // Where each ray's path starts in `noeuds`, until it stops growing.
    std::vector<std::size_t> departs(fin - debut);
    std::vector<double> indices(nb_elements * kVoies);
    Distributeur distributeur(banc, debut, fin);
    Voies v;
    v.indices = indices.data();
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
        voie.rayon.faisceau = static_cast<std::uint32_t>(source);
        const double* n = banc.Indices(source);
        for (std::size_t e = 0; e < nb_elements; ++e) indices[e * kVoies + l] = n[e];
        voie.impacts = 0;
        Rayon& r = voie.rayon;
        const double n0 = banc.Milieu(r.position, n);
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
        Pas(banc.Plat(), v);
        actives = false;
        for (int l = 0; l < kVoies; ++l) {
            Voie& voie = voies[l];
            if (!voie.active) continue;
            Rayon& r = voie.rayon;
            if (v.issue[l] == kRien) {
                finir(l);  // open end: the ray leaves the bench
            } else if (v.issue[l] == kArret) {
                voie.chemin.push_back(Point{v.hx[l], v.hy[l]});  // the ray ends here
                r.arret = true;
                r.fin = FinRayon::Opaque;
                finir(l);
            } else {
                r.position = Point{v.hx[l], v.hy[l]};
                r.direction = Point{v.dx[l], v.dy[l]};
                voie.chemin.push_back(r.position);
                v.px[l] = r.position.x;
                v.py[l] = r.position.y;
                if (++voie.impacts == kImpactsMax) {
                    r.arret = true;
                    r.fin = FinRayon::Limite;
                    finir(l);
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
