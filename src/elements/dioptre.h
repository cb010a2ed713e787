#pragma once

#include <cmath>

#include "model/constantes.h"
#include "model/point.h"
#include "model/voies.h"

namespace optic {

struct Image;

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

    // Draws the surface's outline (a segment, or chords along the visible arc).
    void Dessin(const Image& image) const;
};

inline bool Dioptre::Interrieur(Point p) const {
    const double dx = p.x - sommet.x;
    const double dy = p.y - sommet.y;
    const double a = cosinus * dx + sinus * dy;
    const double b = cosinus * dy - sinus * dx;
    if (std::fabs(b) > demi_ouverture + kTolerance) return false;
    if (courbure == 0) return a >= -kTolerance;
    const double d2 = (a - centre.x) * (a - centre.x) + b * b;
    if (courbure == 1) return d2 <= rayon_carre;
    return d2 >= rayon_carre && a > centre.x;
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

// The parameter of a half-line's hit with a surface, or -1 without one.  Written without
// branches on the ray, so that several rays run side by side with the same arithmetic.
template <typename T>
OPTIC_EN_LIGNE T ParametrePlan(const Dioptre& d, const Repere<T>& r) {
    const T t = -r.u / r.du;
    const T hv = r.v + t * r.dv;
    return Choisir((t > kTolerance) & (Abs(hv) <= d.demi_ouverture), t, Partout<T>(-1.0));
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
                   Partout<T>(-1.0));
}

// The nearest hit of the half-line from `position` along `direction` with the surface, at a
// parameter above the tolerance and within the surface's band.
inline bool Intersection(const Dioptre& d, Point position, Point direction, Impact& impact) {
    const Repere<double> r = DansLeRepere(d, position.x, position.y, direction.x, direction.y);
    const double t = d.courbure == 0 ? ParametrePlan(d, r) : ParametreSphere(d, r);
    if (!(t > 0)) return false;
    // The hit and the tangent in the frame, then in the world.
    double hu, tu, tv;
    const double hv = r.v + t * r.dv;
    if (d.courbure == 0) {
        hu = 0.0;
        tu = 0.0;
        tv = d.transparent == 1 ? 1.0 : 0.0;
    } else {
        hu = r.u + t * r.du;
        tu = -hv;
        tv = hu - d.centre.x;
    }
    const double s = d.sinus;
    const double c = d.cosinus;
    impact.t = t;
    impact.h = Point{c * hu - s * hv + d.sommet.x, s * hu + c * hv + d.sommet.y};
    Point tg{c * tu - s * tv, s * tu + c * tv};
    if (std::fabs(tg.x) > kTolerance || std::fabs(tg.y) > kTolerance) {
        const double norme = std::sqrt(tg.x * tg.x + tg.y * tg.y);
        tg.x = tg.x / norme;
        tg.y = tg.y / norme;
    }
    impact.tangente = tg;
    return true;
}

}  // namespace optic
