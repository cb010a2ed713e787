// The outline of one surface: a plane as one segment, an arc as chords between the points
// where it crosses the window's edges and its ends.
#include <algorithm>
#include <cmath>

#include "draw/contour.h"

#include "base/constantes.h"

namespace optic {

namespace {

// Largest angular step between two chords, radians.
inline constexpr double kPasAngulaireMax = 0.174;
// Chords allowed between two neighbouring points of an arc, per pixel of the window's side.
// A visible stretch of arc needs at most about four (its length in pixels over a chord of at
// least a pixel); an arc far larger than the window is drawn with longer chords rather than
// without end.
inline constexpr long kCordesParPixel = 8;
inline constexpr long kCordesMin = 64;

struct PointArc {
    Point p;
    double angle;
};

}  // namespace

void Dessin(const Dioptre& d, const Image& image) {
    if (!(d.demi_ouverture > 0)) return;
    const double xmin = image.XMin(), xmax = image.XMax();
    const double ymin = image.YMin(), ymax = image.YMax();

    if (d.courbure == 0) {
        const Point a{d.sommet.x - d.sinus * d.demi_ouverture,
                      d.sommet.y + d.cosinus * d.demi_ouverture};
        const Point b{d.sommet.x + d.sinus * d.demi_ouverture,
                      d.sommet.y - d.cosinus * d.demi_ouverture};
        TraceSegment(image, a, b, kCouleurContour);
        return;
    }

    // The points bounding the visible parts of the arc: where half-lines cast from each
    // corner along its two edges meet it, then its ends that lie inside the window.
    PointArc points[10];
    int n = 0;
    const struct {
        Point coin, direction;
    } lancers[8] = {
        {{xmin, ymin}, {0, 1}}, {{xmin, ymin}, {1, 0}},  {{xmax, ymin}, {-1, 0}},
        {{xmax, ymin}, {0, 1}}, {{xmax, ymax}, {0, -1}}, {{xmax, ymax}, {-1, 0}},
        {{xmin, ymax}, {1, 0}}, {{xmin, ymax}, {0, -1}},
    };
    for (const auto& l : lancers) {
        Impact impact;
        if (Intersection(d, l.coin, l.direction, impact)) points[n++].p = impact.h;
    }
    for (const double b : {d.demi_ouverture, -d.demi_ouverture}) {
        const Point p = Bout(d, b);
        if (xmin < p.x && p.x < xmax && ymin < p.y && p.y < ymax) points[n++].p = p;
    }

    const Point k{d.cosinus * d.centre.x - d.sinus * d.centre.y + d.sommet.x,
                  d.sinus * d.centre.x + d.cosinus * d.centre.y + d.sommet.y};
    const double r = std::sqrt(d.rayon_carre);
    auto angle = [&](Point p) {  // seen from the centre, in [0, 2π)
        const double q = std::clamp((p.y - k.y) / r, -1.0, 1.0);
        double alpha = std::asin(q);
        if (p.x - k.x < 0) alpha = kPi - alpha;
        if (alpha < 0) alpha = alpha + kDeuxPi;
        return alpha;
    };
    // An arc around the angle 0 takes the angles past π as negative, so that its angles
    // form one unbroken interval.
    const bool autour_de_zero = std::fabs(angle(d.sommet) - kPi) > kDemiPi;
    int ordre[10];
    for (int i = 0; i < n; ++i) {
        double alpha = angle(points[i].p);
        if (autour_de_zero && alpha > kPi) alpha = alpha - kDeuxPi;
        points[i].angle = alpha;
        int place = i;  // after every point of the same angle
        while (place > 0 && points[ordre[place - 1]].angle > alpha) {
            ordre[place] = ordre[place - 1];
            --place;
        }
        ordre[place] = i;
    }

    double delta = 0.5 / std::sqrt((image.zoom - kTolerance) * (r - kTolerance));
    if (delta > kPasAngulaireMax) delta = kPasAngulaireMax;
    const long limite = kCordesParPixel * image.taille + kCordesMin;

    for (int i = 0; i + 1 < n; ++i) {
        const PointArc& de = points[ordre[i]];
        const PointArc& a_ = points[ordre[i + 1]];
        Point q = de.p;
        if (de.angle < a_.angle) {
            double pas = delta;
            if ((a_.angle - de.angle) / pas > static_cast<double>(limite)) {
                pas = (a_.angle - de.angle) / static_cast<double>(limite);
            }
            // The first chord ends at the start itself; the step count bounds the walk.
            double alpha = de.angle;
            for (long j = 0; j <= limite + 1; ++j, alpha += pas) {
                if (j > 0 && !(alpha < a_.angle)) break;
                const Point m{k.x + r * std::cos(alpha), k.y + r * std::sin(alpha)};
                TraceSegment(image, q, m, kCouleurContour);
                q = m;
            }
        }
        TraceSegment(image, q, a_.p, kCouleurContour);
    }
}

}  // namespace optic
