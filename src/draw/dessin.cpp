// Drawing the bench into a zoombox: the elements, each filled then outlined, then the rays.
#include "draw/dessin.h"

#include "draw/contour.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/parallele.h"
#include "draw/interieur.h"
#include "model/system.h"
#include "raster/couleur.h"
#include "raster/image.h"

namespace optic {

namespace {

// Fills an element: its box, clipped to the window, is scanned one pixel step apart from its
// corner (each step added to the last), and every point inside the element is plotted.
// The scan's points along a row and their columns are the same for every row: they are
// found once, then each row's inside points are found as runs (InterieurRangee) and written
// in runs of neighbouring pixels.
void Remplir(const Element& e, const Image& image) {
    Boite b = BoiteElement(e);
    if (b.xmin < image.XMin()) b.xmin = image.XMin();
    if (b.ymin < image.YMin()) b.ymin = image.YMin();
    if (image.decalage_x + b.xmax > image.largeur) b.xmax = image.XMax();
    if (image.decalage_y + b.ymax > image.largeur) b.ymax = image.YMax();

    const Pixel couleur = e.type == kTypeLentille ? kCouleurLentille : kCouleurDiaphragme;
    const double pas = 1 / image.zoom;
    const double xfin = b.xmax + pas;
    const double yfin = b.ymax + pas;
    // Past this many steps every point lies beyond the picture.
    const long limite = static_cast<long>(image.taille) + 2;
    // The points of a row, and their columns (-1 outside the picture), as TracePoint finds
    // them.
    std::vector<double> xs;
    std::vector<std::int32_t> colonnes;
    double x = b.xmin;
    for (long i = 0; i <= limite; ++i, x += pas) {
        if (!(x < xfin)) break;
        xs.push_back(x);
        const double px = (x + image.decalage_x) * image.zoom;
        const double cx = px + 0.5;
        colonnes.push_back(px >= 0.0 && cx < image.taille ? static_cast<std::int32_t>(cx) : -1);
    }
    const int n = static_cast<int>(xs.size());
    if (n == 0) return;
    std::vector<std::uint8_t> motif(3 * static_cast<std::size_t>(image.taille));
    for (std::size_t i = 0; i < motif.size(); i += 3) {
        motif[i] = couleur.bleu;
        motif[i + 1] = couleur.vert;
        motif[i + 2] = couleur.rouge;
    }
    // suite[i]: past the run of points from i on whose columns follow one another.
    std::vector<int> suite(static_cast<std::size_t>(n));
    for (int i = n - 1; i >= 0; --i) {
        const auto k = static_cast<std::size_t>(i);
        suite[k] = i + 1 < n && colonnes[k] >= 0 && colonnes[k + 1] == colonnes[k] + 1
                       ? suite[k + 1]
                       : i + 1;
    }
    // Writes the points [debut, fin) of a row, all inside, that fall in the picture.
    auto poser = [&](std::uint8_t* ligne, int debut, int fin) {
        for (int i = debut; i < fin;) {
            const auto k = static_cast<std::size_t>(i);
            if (colonnes[k] < 0) {
                ++i;
                continue;
            }
            const int j = std::min(suite[k], fin);
            const std::size_t longueur = static_cast<std::size_t>(
                colonnes[static_cast<std::size_t>(j - 1)] - colonnes[k] + 1);
            std::memcpy(ligne + 3 * static_cast<std::ptrdiff_t>(colonnes[k]), motif.data(),
                        3 * longueur);
            i = j;
        }
    };
    Intervalles runs;
    Brouillon brouillon;

    double y = b.ymin;
    for (long j = 0; j <= limite; ++j, y += pas) {
        if (!(y < yfin)) break;
        // Only the rows of this view are scanned; rows only go down the picture.
        const double py = (y + image.decalage_y) * image.zoom;
        if (py + 0.5 >= image.rang_fin) break;
        if (!(py >= 0) || py + 0.5 < image.rang_debut) continue;
        const double cy = py + 0.5;
        if (!(cy < image.taille)) continue;
        const int rang = static_cast<int>(cy);
        if (rang < image.rang_debut || rang >= image.rang_fin) continue;
        std::uint8_t* const ligne = image.Ligne(rang);
        if (InterieurRangee(e.type, e.dioptres.data(), xs.data(), n, y, runs, brouillon)) {
            for (const Intervalle& r : runs) poser(ligne, r.debut, r.fin);
            continue;
        }
        // Numbers too large for runs: each point is tested.
        for (int i = 0; i < n;) {
            int k = i;
            while (k < n && Contient(e.type, e.dioptres.data(), xs[static_cast<std::size_t>(k)], y))
                ++k;
            poser(ligne, i, k);
            i = k + 1;
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

// Calls trace(a, b) for each segment DessinRayons draws of a prepared ray: with `couverts`
// (drawn from the last ray), the first one is passed when a later ray drew it already.
template <typename Tracer>
void SegmentsPrepares(const Rayon& r, const RayonPrepare& p, bool couverts, Tracer trace) {
    const std::span<const Point> chemin = r.Chemin();
    if (chemin.empty() || (chemin.size() == 1 && r.arret)) return;
    // Drawn from the last ray, a segment drawn already finds its pixels covered: the first
    // one (from the first node to the next, or on to the window) is passed.
    const bool passer = couverts && p.premier_deja_trace;
    for (std::size_t k = passer ? 2 : 1; k < chemin.size(); ++k) trace(chemin[k - 1], chemin[k]);
    if (!r.arret && !(passer && chemin.size() == 1)) trace(r.position, p.sortie);
}

// Rays prepared by one thread before another is worth waking.
constexpr std::size_t kRayonsParPreparation = 4096;

void PreparerRayon(const Rayon& r, const Image& image, RayonPrepare& p) {
    p.couleur = EnPixel(Couleur(r.lambda));
    // Every end of its segments, as Segment sees them: rows plus half a pixel.
    double bas = INFINITY, haut = -INFINITY;
    bool sur = true;
    auto voir = [&](Point q) {
        const double v = (q.y + image.decalage_y) * image.zoom + 0.5;
        sur = sur && !std::isnan(v);
        bas = std::min(bas, v);
        haut = std::max(haut, v);
    };
    for (const Point q : r.Chemin()) voir(q);
    if (!r.arret) {
        p.sortie = SortieFenetre(r.position, r.direction, image);
        voir(r.position);
        voir(p.sortie);
    }
    p.rangs_min = sur ? bas : -INFINITY;
    p.rangs_max = sur ? haut : INFINITY;
}

}  // namespace

void DessinElements(const System_Physique& systeme, const Image& image) {
    if (image.taille <= 0) return;
    for (const Element& e : systeme.elements) {
        if (e.dioptres.empty()) continue;
        Remplir(e, image);
        for (const Dioptre& d : e.dioptres) Dessin(d, image);
    }
}

RayonsPrepares PreparerRayons(std::span<const Rayon> rayons, const Image& image, int nb_fils) {
    RayonsPrepares prepares(rayons.size());
    if (image.taille <= 0) return prepares;
    const std::size_t parts = std::clamp<std::size_t>(
        rayons.size() / kRayonsParPreparation, 1, static_cast<std::size_t>(std::max(nb_fils, 1)));
    EnParallele(parts, nb_fils, [&](std::size_t part) {
        const std::size_t fin = rayons.size() * (part + 1) / parts;
        for (std::size_t i = rayons.size() * part / parts; i < fin; ++i) {
            PreparerRayon(rayons[i], image, prepares[i]);
        }
    });
    return prepares;
}

void DessinRayons(std::span<const Rayon> rayons, std::span<const RayonPrepare> prepares,
                  const Image& image) {
    if (image.taille <= 0) return;
    auto dessiner = [&](std::size_t i) {
        const RayonPrepare& p = prepares[i];
        // Every segment of it certainly misses the view's rows (see Segment).
        if (p.rangs_max < image.rang_debut - 1 || p.rangs_min >= image.rang_fin + 1) return;
        SegmentsPrepares(rayons[i], p, image.couverts != nullptr,
                         [&](Point a, Point b) { Segment(image, a, b, p.couleur); });
    };
    if (image.couverts) {
        for (std::size_t i = rayons.size(); i-- > 0;) dessiner(i);
    } else {
        for (std::size_t i = 0; i < rayons.size(); ++i) dessiner(i);
    }
}

void ChargeDesRayons(std::span<const Rayon> rayons, std::span<const RayonPrepare> prepares,
                     const Image& image, bool couverts, std::size_t premier, std::size_t pas,
                     Charge& charge) {
    if (image.taille <= 0) return;
    const auto poids = static_cast<double>(pas);
    for (std::size_t i = premier; i < rayons.size(); i += pas) {
        SegmentsPrepares(rayons[i], prepares[i], couverts,
                         [&](Point a, Point b) { charge.Ajouter(image, a, b, poids); });
    }
}

double PointsDesRayons(std::span<const Rayon> rayons, const Image& image) {
    double points = 0;
    for (const Rayon& r : rayons) {
        SegmentsDuRayon(r, image,
                        [&](Point a, Point b) { points += PointsDuSegment(image, a, b); });
    }
    return points;
}

}  // namespace optic
