#pragma once

#include <cmath>
#include <limits>

#include "base/constantes.h"
#include "base/point.h"
#include "base/voies.h"

namespace optic {

// One refracting or opaque surface: a segment or a circular arc with its own frame.
// The frame's origin is `sommet`, its first (axial) direction (cosinus, sinus) points to the
// inside, its second (lateral) direction is a quarter turn from it.
struct Dioptre {
    Point centre;                 // centre of curvature in the surface's frame: (signed radius, 0)
    Point sommet;                 // origin of the frame, world coordinates
    double rayon_carre = -1.0;    // square of the radius; -1 for a plane
    double demi_ouverture = 0.0;  // the surface covers lateral coordinates within ± this
    double sinus = 0.0;
    double cosinus = 1.0;
    int courbure = 0;     // 0 plane; +1 inside is the disc; -1 inside is outside the disc
    int transparent = 1;  // 1: a ray goes on; 0: a ray ends here

    void Orienter(double angle) {
        sinus = std::sin(angle);
        cosinus = std::cos(angle);
    }

    // True when p lies on the inner side of the surface and within its lateral band.
    bool Interrieur(Point p) const;
};

// The axial coordinate of the surface at lateral coordinate b, in its frame: 0 on a plane,
// on an arc the point of its circle on the vertex side (b within the circle).
inline double Fleche(const Dioptre& d, double b) {
    return d.courbure == 0 ? 0.0 : d.centre.x - d.courbure * std::sqrt(d.rayon_carre - b * b);
}

// The point of the surface at lateral coordinate b, in the world: on its segment or its arc.
inline Point Bout(const Dioptre& d, double b) {
    const double a = Fleche(d, b);
    return Point{d.cosinus * a - d.sinus * b + d.sommet.x,
                 d.sinus * a + d.cosinus * b + d.sommet.y};
}

// Whether (x, y) lies on the inner side of the surface and within its lateral band, for one
// point or for several side by side (see model/voies.h).
template <typename T>
OPTIC_EN_LIGNE auto Dedans(const Dioptre& d, T x, T y) {
    const T dx = x - d.sommet.x;
    const T dy = y - d.sommet.y;
    const T a = d.cosinus * dx + d.sinus * dy;
    const T b = d.cosinus * dy - d.sinus * dx;
    const auto bande = Non(Abs(b) > d.demi_ouverture + kTolerance);
    if (d.courbure == 0) return bande & (a >= -kTolerance);
    const T d2 = (a - d.centre.x) * (a - d.centre.x) + b * b;
    if (d.courbure == 1) return bande & (d2 <= d.rayon_carre);
    return bande & (d2 >= d.rayon_carre) & (a > d.centre.x);
}

inline bool Dioptre::Interrieur(Point p) const {
    return Dedans(*this, p.x, p.y);
}

// Where a half-line meets a surface: the parameter along the direction, the hit point and
// the tangent there (unit length, or zero on an opaque plane), in world coordinates.
struct Impact {
    double t = 0.0;
    Point h;
    Point tangente;
};

// A half-line in a surface's frame: its start (u, v) and its direction (du, dv); for one ray
// (T = double) or for several side by side (T = a vector, see model/voies.h).
template <typename T>
struct Repere {
    T u, v, du, dv;
};

template <typename T>
OPTIC_EN_LIGNE Repere<T> DansLeRepere(const Dioptre& d, T px, T py, T dx, T dy) {
    const double s = d.sinus;
    const double c = d.cosinus;
    const double x0 = d.sommet.x;
    const double y0 = d.sommet.y;
    return Repere<T>{c * (px - x0) + s * (py - y0), c * (py - y0) - s * (px - x0), c * dx + s * dy,
                     c * dy - s * dx};
}

// The parameter of no hit: not a number, which no comparison takes.
inline constexpr double kSansImpact = std::numeric_limits<double>::quiet_NaN();

// The parameter of a half-line's hit with a surface, or kSansImpact.  Written without
// branches on the ray, so that several rays run side by side with the same arithmetic.
template <typename T>
OPTIC_EN_LIGNE T ParametrePlan(const Dioptre& d, const Repere<T>& r) {
    const T t = -r.u / r.du;
    const T hv = r.v + t * r.dv;
    return Choisir((t > kTolerance) & (Abs(hv) <= d.demi_ouverture), t, Partout<T>(kSansImpact));
}

// For an arc only the half of the circle on the vertex side of the centre counts; a half-line
// that only touches the circle passes it.
template <typename T>
OPTIC_EN_LIGNE T ParametreSphere(const Dioptre& d, const Repere<T>& r) {
    const double xc = d.centre.x;
    const double sens = d.courbure;
    const double h = d.demi_ouverture;
    const T w = r.u - xc;
    const T a = r.du * r.du + r.dv * r.dv;
    const T b = r.du * w + r.dv * r.v;
    const T disc = b * b - (w * w + r.v * r.v - d.rayon_carre) * a;
    const T racine = Racine(Choisir(disc > 0.0, disc, Partout<T>(0.0)));
    const T t1 = (-b - racine) / a;
    const T t2 = (racine - b) / a;
    // a > 0, so t1 <= t2: the first candidate is the smallest.
    const auto c1 =
        (sens * ((r.u + t1 * r.du) - xc) < 0.0) & (t1 > kTolerance) & Non(Abs(r.v + t1 * r.dv) > h);
    const auto c2 =
        (sens * ((r.u + t2 * r.du) - xc) < 0.0) & (t2 > kTolerance) & Non(Abs(r.v + t2 * r.dv) > h);
    const T t = Choisir(c1, t1, t2);
    return Choisir((disc > 0.0) & (c1 | c2) & (t > kTolerance) & (Abs(r.v + t * r.dv) <= h), t,
                   Partout<T>(kSansImpact));
}

// The hit in the surface's frame: on a plane (0, hv), on an arc (hu, hv).
template <typename T>
OPTIC_EN_LIGNE T HitU(const Repere<T>& r, T t, bool plan) {
    return plan ? Partout<T>(0.0) : r.u + t * r.du;
}
template <typename T>
OPTIC_EN_LIGNE T HitV(const Repere<T>& r, T t) {
    return r.v + t * r.dv;
}

// A hit (hu, hv) in the frame of a surface (cosinus c, sinus s, vertex (x0, y0), centre at
// xc along its axis), taken to the world with the tangent there: along a plane, (0, 1) when
// it is transparent and (0, 0) when it is opaque; on an arc, perpendicular to the radius.  A
// tangent that is not zero is scaled to unit length.  For one surface or for one per lane.
template <typename T, typename M>
OPTIC_EN_LIGNE void VersLeMonde(T c, T s, T x0, T y0, T xc, M plan, T transparent, T hu, T hv,
                                T& hx, T& hy, T& tx, T& ty) {
    const T tu = Choisir(plan, Partout<T>(0.0), -hv);
    const T tv = Choisir(plan, transparent, hu - xc);
    hx = c * hu - s * hv + x0;
    hy = s * hu + c * hv + y0;
    tx = c * tu - s * tv;
    ty = s * tu + c * tv;
    const auto unite = Ou(Abs(tx) > kTolerance, Abs(ty) > kTolerance);
    const T norme = Racine(tx * tx + ty * ty);
    tx = Choisir(unite, tx / norme, tx);
    ty = Choisir(unite, ty / norme, ty);
}

// The nearest hit of the half-line from `position` along `direction` with the surface, at a
// parameter above the tolerance and within the surface's band.
inline bool Intersection(const Dioptre& d, Point position, Point direction, Impact& impact) {
    const Repere<double> r = DansLeRepere(d, position.x, position.y, direction.x, direction.y);
    const bool plan = d.courbure == 0;
    const double t = plan ? ParametrePlan(d, r) : ParametreSphere(d, r);
    if (std::isnan(t)) return false;
    impact.t = t;
    VersLeMonde(d.cosinus, d.sinus, d.sommet.x, d.sommet.y, d.centre.x, plan,
                d.transparent == 1 ? 1.0 : 0.0, HitU(r, t, plan), HitV(r, t), impact.h.x,
                impact.h.y, impact.tangente.x, impact.tangente.y);
    return true;
}

}  // namespace optic
