#include "measure/systemes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "elements/element.h"

namespace optic {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The curvature of a lens face along the lens axis, from its surface: face 1's centre lies at
// R1 from its vertex along the axis; face 2's surface frame points back into the glass, so
// its centre is stored at -R2.
double Courbure(const Dioptre& face, bool deuxieme) {
    if (face.courbure == 0) return 0;
    return deuxieme ? -1 / face.centre.x : 1 / face.centre.x;
}

double Scalaire(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}

Point Moins(Point a, Point b) {
    return Point{a.x - b.x, a.y - b.y};
}

double Indice(const IndiceRefraction* verre, double n_espace, double lambda) {
    return verre ? verre->Indice(lambda) : n_espace;
}

// Two faces meet as one when their radii are the same: both flat, or curvatures equal to
// kCoaxial.
bool MemeRayon(double c1, double c2) {
    return std::fabs(c1 - c2) <= kCoaxial * std::max(std::fabs(c1), std::fabs(c2));
}

}  // namespace

Point SystemeOptique::Local(Point p) const {
    return LocalVecteur(Moins(p, origine));
}

Point SystemeOptique::LocalVecteur(Point v) const {
    return Point{Scalaire(v, axe), Scalaire(v, lateral)};
}

double TailleDuBanc(const System_Physique& systeme) {
    double taille = 1;
    for (const Element& e : systeme.elements) {
        if (e.type != kTypeLentille) continue;
        for (const Dioptre& d : e.dioptres) {
            if (std::isfinite(d.sommet.x)) taille = std::max(taille, std::fabs(d.sommet.x));
            if (std::isfinite(d.sommet.y)) taille = std::max(taille, std::fabs(d.sommet.y));
        }
    }
    return taille;
}

bool SurLAxe(const SystemeOptique& s, Point p, Point u, double taille) {
    return std::fabs(u.x - s.axe.x) <= kCoaxial && std::fabs(u.y - s.axe.y) <= kCoaxial &&
           std::fabs(s.Local(p).y) <= kCoaxial * taille;
}

std::vector<SystemeOptique> Systemes(const System_Physique& systeme) {
    const double taille = TailleDuBanc(systeme);
    struct Membre {
        const Element* lentille;
        int numero;
        double t;  // its front vertex along the system's axis
    };
    std::vector<std::vector<Membre>> groupes;
    std::vector<SystemeOptique> systemes;
    int numero = 0;
    for (const Element& e : systeme.elements) {
        if (e.type != kTypeLentille) continue;
        ++numero;
        if (e.dioptres.size() < 2 || !e.indice) continue;
        const Dioptre& face = e.dioptres[0];
        const Point axe{face.cosinus, face.sinus};
        std::size_t g = 0;
        while (g < systemes.size() && !SurLAxe(systemes[g], face.sommet, axe, taille)) ++g;
        if (g == systemes.size()) {
            systemes.push_back(
                SystemeOptique{{}, face.sommet, axe, {-face.sinus, face.cosinus}, {}});
            groupes.emplace_back();
        }
        groupes[g].push_back(Membre{&e, numero, systemes[g].Local(face.sommet).x});
    }
    for (std::size_t g = 0; g < systemes.size(); ++g) {
        SystemeOptique& s = systemes[g];
        std::vector<Membre>& membres = groupes[g];
        std::stable_sort(membres.begin(), membres.end(),
                         [](const Membre& a, const Membre& b) { return a.t < b.t; });
        s.origine = membres.front().lentille->dioptres[0].sommet;
        for (const Membre& m : membres) {
            const Element& e = *m.lentille;
            s.lentilles.push_back(m.numero);
            const double t1 = s.Local(e.dioptres[0].sommet).x;
            const double t2 = s.Local(e.dioptres[1].sommet).x;
            const double c1 = Courbure(e.dioptres[0], false);
            SurfaceAxiale* avant = s.surfaces.empty() ? nullptr : &s.surfaces.back();
            if (avant && !avant->apres && std::fabs(avant->position - t1) <= kCoaxial * taille &&
                MemeRayon(avant->courbure, c1)) {
                avant->apres = e.indice;  // in contact: one surface between the two glasses
            } else {
                s.surfaces.push_back(SurfaceAxiale{t1, c1, nullptr, e.indice});
            }
            s.surfaces.push_back(
                SurfaceAxiale{t2, Courbure(e.dioptres[1], true), e.indice, nullptr});
        }
    }
    return systemes;
}

bool MatriceParaxiale::Afocale() const {
    return std::fabs(C) <= kAfocal * puissances;
}

MatriceParaxiale Matrice(const SystemeOptique& s, double n_espace, double lambda) {
    MatriceParaxiale m;
    for (std::size_t i = 0; i < s.surfaces.size(); ++i) {
        const SurfaceAxiale& f = s.surfaces[i];
        const double n = Indice(f.avant, n_espace, lambda);
        if (i > 0) {  // the way from the surface before, in the medium between
            const double d = (f.position - s.surfaces[i - 1].position) / n;
            m.A += d * m.C;
            m.B += d * m.D;
        }
        const double p = (Indice(f.apres, n_espace, lambda) - n) * f.courbure;
        m.C -= p * m.A;
        m.D -= p * m.B;
        m.puissances += std::fabs(p);
    }
    return m;
}

PremierOrdre ProprietesParaxiales(const SystemeOptique& s, double n_espace, double lambda) {
    const MatriceParaxiale m = Matrice(s, n_espace, lambda);
    PremierOrdre p;
    p.lambda = lambda;
    if (m.Afocale()) {
        p.afocal = true;
        p.efl = p.bfd = p.ffd = kNaN;
        p.foyer_objet = p.foyer_image = p.principal_objet = p.principal_image = Point{kNaN, kNaN};
        p.grossissement = m.D;  // a ray's n u leaves multiplied by D, in the same medium
        return p;
    }
    // A ray parallel to the axis at height y leaves at A y with n u' = C y; one that leaves
    // parallel came in with n u = -C y / D.
    p.efl = -n_espace / m.C;
    p.bfd = -n_espace * m.A / m.C;
    p.ffd = -n_espace * m.D / m.C;
    const double dernier = s.Dernier();
    p.foyer_image = s.SurLAxe(dernier + p.bfd);
    p.principal_image = s.SurLAxe(dernier + p.bfd - p.efl);
    p.foyer_objet = s.SurLAxe(-p.ffd);
    p.principal_objet = s.SurLAxe(-p.ffd + p.efl);
    p.grossissement = kNaN;
    return p;
}

double ImageParaxiale(const SystemeOptique& s, double n_espace, double lambda, double objet) {
    const MatriceParaxiale m = Matrice(s, n_espace, lambda);
    // From the object to the first vertex, then through the system: the image is where the
    // height no longer depends on the angle.
    const double d = -objet / n_espace;
    const double b = m.A * d + m.B, dd = m.C * d + m.D;
    if (dd == 0) return kNaN;
    return s.Dernier() - n_espace * b / dd;
}

std::vector<Point> DecalageChromatique(const SystemeOptique& s, double n_espace,
                                       std::span<const double> longueurs, int points) {
    double bas = INFINITY, haut = -INFINITY;
    const auto etendre = [&](double l) { bas = std::min(bas, l), haut = std::max(haut, l); };
    for (const SurfaceAxiale& f : s.surfaces) {
        for (const IndiceRefraction* verre : {f.avant, f.apres}) {
            if (!verre) continue;
            for (const double l : verre->indice_lambda) etendre(l);
        }
    }
    for (const double l : longueurs) etendre(l);
    std::vector<Point> courbe;
    for (int i = 0; i < points && haut > bas; ++i) {
        const double lambda = points == 1 ? bas : bas + (haut - bas) * i / (points - 1);
        courbe.push_back(Point{lambda, ProprietesParaxiales(s, n_espace, lambda).bfd});
    }
    return courbe;
}

}  // namespace optic
