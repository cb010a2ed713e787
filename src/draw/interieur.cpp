// Which points of a row lie inside an element, from where its tests change along the row.
//
// Along a row, x grows from point to point and y stays; in a surface's frame the axial
// coordinate a and the lateral one b are each one rounded sum of products with x - x0, so
// each moves one way (rounding never reverses a move).  Then so do |b| - H's sign, a - xc,
// and the squares of a - xc and of b move one way then the other.  Their rounded sum d2
// moves one way while both squares do; where one rises as the other falls, the two squares'
// values at the ends of that stretch bound d2 there.  With numbers far from overflowing, all
// of this holds exactly for the rounded values the inside test compares.
#include "draw/interieur.h"

#include <algorithm>
#include <cmath>

#include "elements/element.h"

namespace optic {

namespace {

// Beyond this magnitude a product or a square could overflow, and the reasoning above fail.
constexpr double kGrand = 1e100;
// Stretches of at most this many points are tested point by point.
constexpr int kPointsUnParUn = 8;

// The first i in [l, r) where `vrai` holds, it being false then true over [l, r); r if never.
template <typename Predicat>
int Premier(int l, int r, Predicat vrai) {
    while (l < r) {
        const int m = l + (r - l) / 2;
        if (vrai(m)) {
            r = m;
        } else {
            l = m + 1;
        }
    }
    return l;
}

// A surface's tested quantities at point i of the row, with the inside test's arithmetic
// (Dedans).
struct Quantites {
    const Dioptre& d;
    const double* xs;
    double y;

    double A(int i) const {
        const double dx = xs[i] - d.sommet.x;
        const double dy = y - d.sommet.y;
        return d.cosinus * dx + d.sinus * dy;
    }
    double B(int i) const {
        const double dx = xs[i] - d.sommet.x;
        const double dy = y - d.sommet.y;
        return d.cosinus * dy - d.sinus * dx;
    }
    double F(int i) const {
        const double u = A(i) - d.centre.x;
        return u * u;
    }
    double G(int i) const {
        const double b = B(i);
        return b * b;
    }
    double D2(int i) const { return F(i) + G(i); }
};

// The run of [l, r) where a condition holds that compares a quantity moving one way along it
// with a threshold: a prefix or a suffix of [l, r), as its ends show.
template <typename Condition>
Intervalle Seuil(int l, int r, Condition tient) {
    if (l >= r) return {l, l};
    const bool debut = tient(l), fin = tient(r - 1);
    if (debut == fin) return debut ? Intervalle{l, r} : Intervalle{l, l};
    if (fin) return {Premier(l, r, tient), r};
    return {l, Premier(l, r, [&](int i) { return !tient(i); })};
}

void Inter(const Intervalles& a, const Intervalles& b, Intervalles& c) {
    c.clear();
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const std::int32_t debut = std::max(a[i].debut, b[j].debut);
        const std::int32_t fin = std::min(a[i].fin, b[j].fin);
        if (debut < fin) c.push_back({debut, fin});
        if (a[i].fin < b[j].fin) {
            ++i;
        } else {
            ++j;
        }
    }
}

void Union(const Intervalles& a, const Intervalles& b, Intervalles& c) {
    c.clear();
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        const Intervalle s =
            j >= b.size() || (i < a.size() && a[i].debut <= b[j].debut) ? a[i++] : b[j++];
        if (!c.empty() && s.debut <= c.back().fin) {
            c.back().fin = std::max(c.back().fin, s.fin);
        } else {
            c.push_back(s);
        }
    }
}

void Ajouter(Intervalles& c, Intervalle s) {
    if (s.debut >= s.fin) return;
    if (!c.empty() && c.back().fin == s.debut) {
        c.back().fin = s.fin;
    } else {
        c.push_back(s);
    }
}

// Whether the surface's numbers and the row's keep every quantity far from overflowing.
bool Moderes(const Dioptre& d, const double* xs, int n, double y) {
    for (const double v : {xs[0], xs[n - 1], y, d.sommet.x, d.sommet.y, d.centre.x,
                           d.demi_ouverture, d.cosinus, d.sinus}) {
        if (!(std::fabs(v) < kGrand)) return false;
    }
    return std::fabs(d.rayon_carre) < kGrand * kGrand;
}

// The points of the row inside one surface (Dedans), as runs.
void Surface(const Dioptre& d, const double* xs, int n, double y, Intervalles& runs) {
    runs.clear();
    const Quantites q{d, xs, y};
    const double h = d.demi_ouverture + kTolerance;
    // Within the band: |b| <= h, i.e. -h <= b <= h, each on one side of b's move.
    const auto b = [&](int i) { return q.B(i); };
    const Intervalle bas = Seuil(0, n, [&](int i) { return q.B(i) >= -h; });
    const Intervalle bande = Seuil(bas.debut, bas.fin, [&](int i) { return q.B(i) <= h; });
    const int p = bande.debut, r = bande.fin;
    if (p >= r) return;
    if (d.courbure == 0) {
        Ajouter(runs, Seuil(p, r, [&](int i) { return q.A(i) >= -kTolerance; }));
        return;
    }
    int l = p, m = r;  // for courbure -1, only where a > xc
    if (d.courbure != 1) {
        const Intervalle s = Seuil(p, r, [&](int i) { return q.A(i) > d.centre.x; });
        l = s.debut;
        m = s.fin;
        if (l >= m) return;
    }
    const bool disque = d.courbure == 1;
    auto tient = [&](int i) {
        const double d2 = q.D2(i);
        return disque ? d2 <= d.rayon_carre : d2 >= d.rayon_carre;
    };
    // Where each square stops falling and starts rising: where a - xc, or b, crosses zero
    // (a quantity that does not move leaves its square still: any split will do).
    const auto u = [&](int i) { return q.A(i) - d.centre.x; };
    auto creux = [&](auto v) {
        const double v0 = v(l), v1 = v(m - 1);
        if (v0 == v1) return -1;
        return v0 < v1 ? Premier(l, m, [&](int i) { return v(i) >= 0; })
                       : Premier(l, m, [&](int i) { return v(i) <= 0; });
    };
    int m1 = creux(u), m2 = creux(b);
    if (m1 < 0 && m2 < 0) m1 = m2 = l;
    if (m1 < 0) m1 = m2;
    if (m2 < 0) m2 = m1;
    const int lo = std::min(m1, m2), hi = std::max(m1, m2);
    // Before both hollows d2 falls, after both it rises.
    Ajouter(runs, Seuil(l, lo, tient));
    // In between, one square rises and the other falls: over a stretch, d2 lies between the
    // sums of their values at its two ends.  Stretches that these bounds do not settle are
    // halved, down to a few points tested one by one.
    const bool f_monte = m1 <= m2;
    auto milieu = [&](auto& soi, int x, int z) -> void {
        if (z - x <= kPointsUnParUn) {
            for (int i = x; i < z; ++i) {
                if (tient(i)) Ajouter(runs, {i, i + 1});
            }
            return;
        }
        const double f_x = q.F(x), f_z = q.F(z - 1), g_x = q.G(x), g_z = q.G(z - 1);
        const double plus = f_monte ? f_z + g_x : f_x + g_z;
        const double moins = f_monte ? f_x + g_z : f_z + g_x;
        if (disque ? plus <= d.rayon_carre : moins >= d.rayon_carre) {
            Ajouter(runs, {x, z});
        } else if (disque ? !(moins > d.rayon_carre) : !(plus < d.rayon_carre)) {
            const int y = x + (z - x) / 2;
            soi(soi, x, y);
            soi(soi, y, z);
        }
    };
    milieu(milieu, lo, hi);
    Ajouter(runs, Seuil(hi, m, tient));
}

}  // namespace

bool InterieurRangee(int type, const Dioptre* dioptres, const double* xs, int n, double y,
                     Intervalles& dedans, Brouillon& brouillon) {
    dedans.clear();
    if (n <= 0) return true;
    const int faces = type == kTypeLentille ? 2 : 4;
    for (int k = 0; k < faces; ++k) {
        if (!Moderes(dioptres[k], xs, n, y)) return false;
    }
    Intervalles* const s = brouillon.faces;
    for (int k = 0; k < faces; ++k) Surface(dioptres[k], xs, n, y, s[k]);
    if (type == kTypeLentille) {
        Inter(s[0], s[1], dedans);
        return true;
    }
    Inter(s[0], s[2], brouillon.lame);
    Inter(s[1], s[3], brouillon.autre);
    Union(brouillon.lame, brouillon.autre, dedans);
    return true;
}

}  // namespace optic
