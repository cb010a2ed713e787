#include "trace/propagation.h"

#include <cmath>

#include "surfaces/refraction.h"

namespace optic {

namespace {

double Norme(Point v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
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

Point Devier(Point d, Point t, double n) {
    Point r;
    Devier(d.x, d.y, t.x, t.y, n, r.x, r.y);
    return r;
}

void Deviation(const System_Physique& systeme, Rayon& rayon, Point h, Point t) {
    const double n = IndiceMilieu(systeme, Sonde(h, rayon.direction), rayon.lambda);
    rayon.direction = Devier(rayon.direction, t, n);
}

void Propagation(const System_Physique& systeme, Rayon& rayon, std::vector<Point>& chemin) {
    chemin.assign(1, rayon.position);
    const double n0 = IndiceMilieu(systeme, rayon.position, rayon.lambda);
    // Born where the index is 0, inside a blade, the ray cannot go anywhere.
    rayon.fin = n0 == 0 ? FinRayon::Opaque : FinRayon::Ouverte;
    rayon.arret = false;
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

        if (Opaque(meilleur.tangente)) {
            chemin.push_back(meilleur.h);  // opaque surface: the ray ends here
            rayon.arret = true;
            rayon.fin = FinRayon::Opaque;
            break;
        }
        rayon.position = meilleur.h;
        Deviation(systeme, rayon, meilleur.h, meilleur.tangente);
        chemin.push_back(meilleur.h);
        if (++impacts == kImpactsMax) {
            rayon.arret = true;
            rayon.fin = FinRayon::Limite;
            break;
        }
    }
    rayon.chemin = chemin;
}

}  // namespace optic
