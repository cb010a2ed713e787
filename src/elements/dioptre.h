#pragma once

#include <cmath>

#include "model/constantes.h"
#include "model/point.h"

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

// The nearest hit of the half-line from `position` along `direction` with the surface, at a
// parameter above the tolerance and within the surface's band.  For an arc only the half of
// the circle on the vertex side of the centre counts.
inline bool Intersection(const Dioptre& d, Point position, Point direction, Impact& impact) {
    const double s = d.sinus;
    const double c = d.cosinus;
    const double x0 = d.sommet.x;
    const double y0 = d.sommet.y;
    const double u = c * (position.x - x0) + s * (position.y - y0);
    const double v = c * (position.y - y0) - s * (position.x - x0);
    const double du = c * direction.x + s * direction.y;
    const double dv = c * direction.y - s * direction.x;

    double t, hu, hv, tu, tv;
    if (d.courbure == 0) {
        t = -u / du;
        if (t <= 0) return false;
        hu = 0.0;
        hv = v + t * dv;
        tu = 0.0;
        tv = d.transparent == 1 ? 1.0 : 0.0;
    } else {
        const double xc = d.centre.x;
        const double w = u - xc;
        const double a = du * du + dv * dv;
        const double b = du * w + dv * v;
        const double disc = b * b - (w * w + v * v - d.rayon_carre) * a;
        if (!(disc > 0)) return false;
        const double racine = std::sqrt(disc);
        const double sens = d.courbure;
        auto candidat = [&](double tc) {
            return sens * ((u + tc * du) - xc) < 0 && tc > kTolerance &&
                   !(std::fabs(v + tc * dv) > d.demi_ouverture);
        };
        const double t1 = (-b - racine) / a;
        const double t2 = (racine - b) / a;
        // a > 0, so t1 <= t2: the first candidate is the smallest.
        if (candidat(t1)) {
            t = t1;
        } else if (candidat(t2)) {
            t = t2;
        } else {
            return false;
        }
        hu = u + t * du;
        hv = v + t * dv;
        tu = -hv;
        tv = hu - xc;
    }
    if (!(t > kTolerance && std::fabs(hv) <= d.demi_ouverture)) return false;

    impact.t = t;
    impact.h = Point{c * hu - s * hv + x0, s * hu + c * hv + y0};
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
