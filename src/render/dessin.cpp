// Drawing the bench into a zoombox: the elements, each filled then outlined, then the rays.
#include <algorithm>
#include <cmath>

#include "model/system.h"
#include "render/couleur.h"
#include "render/image.h"

namespace optic {

namespace {

// Fills an element: its box, clipped to the window, is scanned one pixel step apart from its
// corner (each step added to the last), and every point inside the element is plotted.
// Every plotted point has the same colour, so the scan goes row by row, in the picture's
// memory order.
void Remplir(const Element& e, const Image& image) {
    Boite b = BoiteElement(e);
    if (image.decalage_x + b.xmin < 0) b.xmin = -image.decalage_x;
    if (image.decalage_y + b.ymin < 0) b.ymin = -image.decalage_y;
    if (image.decalage_x + b.xmax > image.largeur) b.xmax = image.largeur - image.decalage_x;
    if (image.decalage_y + b.ymax > image.largeur) b.ymax = image.largeur - image.decalage_y;

    const Pixel couleur = e.type == kTypeLentille ? kCouleurLentille : kCouleurDiaphragme;
    const double pas = 1 / image.zoom;
    const double xfin = b.xmax + pas;
    const double yfin = b.ymax + pas;
    // Past this many steps every point lies beyond the picture.
    const long limite = static_cast<long>(image.taille) + 2;
    double y = b.ymin;
    for (long j = 0; j <= limite; ++j, y += pas) {
        if (!(y < yfin)) break;
        // Only the rows of this view are scanned; rows only go down the picture.
        const double py = (y + image.decalage_y) * image.zoom;
        if (py + 0.5 >= image.rang_fin) break;
        if (!(py >= 0) || py + 0.5 < image.rang_debut) continue;
        double x = b.xmin;
        for (long i = 0; i <= limite; ++i, x += pas) {
            if (!(x < xfin)) break;
            if (Contient(e, Point{x, y})) TracePoint(image, x, y, couleur);
        }
    }
}

// Draws a segment unless it certainly misses the view's rows.  Its points may stray half a
// pixel past its ends along the walk, hence the margin.
void Segment(const Image& image, Point a, Point b, Pixel couleur) {
    const double pa = (a.y + image.decalage_y) * image.zoom + 0.5;
    const double pb = (b.y + image.decalage_y) * image.zoom + 0.5;
    if (std::max(pa, pb) < image.rang_debut - 1 || std::min(pa, pb) >= image.rang_fin + 1) return;
    TraceSegment(image, a, b, couleur);
}

// Calls trace(a, b) for each segment of a ray's drawing: the polyline of its nodes, then,
// for an open ray, the half-line on to the window's edge.
template <typename Tracer>
void SegmentsDuRayon(const Rayon& r, const Image& image, Tracer trace) {
    const std::span<const Point> chemin = r.Chemin();
    if (chemin.empty() || (chemin.size() == 1 && r.arret)) return;
    for (std::size_t k = 1; k < chemin.size(); ++k) trace(chemin[k - 1], chemin[k]);
    if (!r.arret) trace(r.position, SortieFenetre(r.position, r.direction, image));
}

template <typename Fonction>
void PourChaqueRayon(const std::vector<Source_polychromatique>& sources, Fonction f) {
    for (const Source_polychromatique& groupe : sources) {
        for (const Source_monochromatique& source : groupe.sources) {
            for (const Rayon& r : source.rayons) f(r);
        }
    }
}

}  // namespace

void System_Physique::Dessin(const Image& image) const {
    if (image.taille <= 0) return;
    for (const Element& e : elements) {
        if (e.dioptres.empty()) continue;
        Remplir(e, image);
        for (const Dioptre& d : e.dioptres) d.Dessin(image);
    }
    PourChaqueRayon(sources, [&](const Rayon& r) {
        const Pixel couleur = EnPixel(Couleur(r.lambda));
        SegmentsDuRayon(r, image, [&](Point a, Point b) { Segment(image, a, b, couleur); });
    });
}

double System_Physique::PointsDesRayons(const Image& image) const {
    double points = 0;
    PourChaqueRayon(sources, [&](const Rayon& r) {
        SegmentsDuRayon(r, image,
                        [&](Point a, Point b) { points += PointsDuSegment(image, a, b); });
    });
    return points;
}

}  // namespace optic
