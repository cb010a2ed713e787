#include "optic/propagation.h"

#include <algorithm>
#include <cmath>

#include "optic/parallele.h"

namespace optic {

namespace {

double Norme(Point v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}

// Total reflection: the new medium cannot carry the tangential component (always so where
// the index is 0, in an opaque blade).
bool ReflexionTotale(double q) {
    return q <= 0;
}

}  // namespace

double IndiceMilieu(const System_Physique& systeme, Point p, double lambda) {
    // The last element containing p decides, so look from the end.
    for (auto e = systeme.elements.rbegin(); e != systeme.elements.rend(); ++e) {
        if (e->dioptres.empty() || !Contient(*e, p)) continue;
        return e->indice ? e->indice->Indice(lambda) : 0.0;
    }
    return systeme.espace.indice_espace;
}

void Deviation(const System_Physique& systeme, Rayon& rayon, Point h, Point t) {
    const Point d = rayon.direction;
    const double produit = d.x * t.x + d.y * t.y;
    const Point dt{produit * t.x, produit * t.y};  // tangential part, conserved
    Point dn{d.x - dt.x, d.y - dt.y};              // normal part
    const double n =
        IndiceMilieu(systeme, Point{h.x + kSondage * d.x, h.y + kSondage * d.y}, rayon.lambda);
    const double q = n * n - (dt.x * dt.x + dt.y * dt.y);
    double longueur;
    if (ReflexionTotale(q)) {
        dn = Point{-dn.x, -dn.y};
        longueur = Norme(d);
    } else {
        const double dn2 = dn.x * dn.x + dn.y * dn.y;
        // A ray meeting the surface along its tangent has no normal part to stretch.
        if (dn2 > 0) {
            const double f = std::sqrt(q / dn2);
            dn = Point{dn.x * f, dn.y * f};
        }
        longueur = n;
    }
    const Point s{dn.x + dt.x, dn.y + dt.y};
    const double ns = Norme(s);
    rayon.direction = Point{s.x * longueur / ns, s.y * longueur / ns};
}

void Propagation(const System_Physique& systeme, Rayon& rayon, std::vector<Point>& chemin) {
    chemin.assign(rayon.Chemin().begin(), rayon.Chemin().end());
    const double n0 = IndiceMilieu(systeme, rayon.position, rayon.lambda);
    // Born where the index is 0, inside a blade, the ray cannot go anywhere.
    rayon.fin = n0 == 0 ? FinRayon::Opaque : FinRayon::Ouverte;
    const double f = n0 / Norme(rayon.direction);
    rayon.direction = Point{rayon.direction.x * f, rayon.direction.y * f};

    for (int impacts = 0;;) {
        // Nearest surface ahead; equal distances go to the later surface of the bench.
        Impact meilleur;
        meilleur.t = -1;
        Impact impact;
        for (const Element& e : systeme.elements) {
            for (const Dioptre& d : e.dioptres) {
                if (Intersection(d, rayon.position, rayon.direction, impact) && impact.t > 0 &&
                    (impact.t <= meilleur.t || meilleur.t < 0)) {
                    meilleur = impact;
                }
            }
        }
        if (meilleur.t < 0) break;  // open end: the ray leaves the bench

        const Point tg = meilleur.tangente;
        if (std::fabs(tg.x) < kTolerance && std::fabs(tg.y) < kTolerance) {
            chemin.push_back(meilleur.h);  // opaque surface: the ray ends here
            rayon.arret = true;
            rayon.fin = FinRayon::Opaque;
            break;
        }
        rayon.position = meilleur.h;
        Deviation(systeme, rayon, meilleur.h, tg);
        chemin.push_back(meilleur.h);
        if (++impacts == kImpactsMax) {
            rayon.arret = true;
            rayon.fin = FinRayon::Limite;
            break;
        }
    }
    rayon.DefinirChemin(chemin);
}

void PropagerTout(System_Physique& systeme, int nb_fils, Suivi* suivi) {
    std::vector<Rayon*> rayons;
    for (Source_polychromatique& groupe : systeme.sources) {
        for (Source_monochromatique& source : groupe.sources) {
            for (Rayon& r : source.rayons) rayons.push_back(&r);
        }
    }
    if (suivi) suivi->Trace(rayons.size());
    constexpr std::size_t kParTache = 256;
    const std::size_t nb_taches = (rayons.size() + kParTache - 1) / kParTache;
    EnParallele(nb_taches, nb_fils, [&](std::size_t tache) {
        std::vector<Point> chemin;
        const std::size_t fin = std::min(rayons.size(), (tache + 1) * kParTache);
        for (std::size_t i = tache * kParTache; i < fin; ++i)
            Propagation(systeme, *rayons[i], chemin);
        if (suivi) suivi->RayonsTraces(fin - tache * kParTache);
    });
}

}  // namespace optic
