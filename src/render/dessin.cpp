// Drawing the bench into a zoombox: the elements, each filled then outlined, then the rays.
#include <algorithm>
#include <cmath>

#include "model/system.h"
#include "render/couleur.h"
#include "render/image.h"

namespace optic {

namespace {

inline constexpr Pixel kCouleurLentille = Gris(200.0);
inline constexpr Pixel kCouleurDiaphragme = Gris(100.0);

struct Boite {
    double xmin, xmax, ymin, ymax;
};

// The box around an element: the corners of each surface's extent, in the world.
Boite BoiteElement(const Element& e) {
    Boite b{};
    bool premiere = true;
    for (const Dioptre& d : e.dioptres) {
        const double h = d.demi_ouverture;
        const double s =
            d.rayon_carre >= 0 ? d.centre.x - d.courbure * std::sqrt(d.rayon_carre - h * h) : 0;
        const Point coins[4] = {{s, h}, {0, -h}, {0, h}, {s, -h}};
        for (const Point& c : coins) {
            const double x = d.sommet.x + d.cosinus * c.x - d.sinus * c.y;
            const double y = d.sommet.y + d.sinus * c.x + d.cosinus * c.y;
            if (premiere) {
                b = Boite{x, x, y, y};
                premiere = false;
            }
            b.xmin = std::min(b.xmin, x);
            b.xmax = std::max(b.xmax, x);
            b.ymin = std::min(b.ymin, y);
            b.ymax = std::max(b.ymax, y);
        }
    }
    return b;
}

bool Dedans(const Element& e, Point p) {
    const std::vector<Dioptre>& d = e.dioptres;
    if (e.type == kTypeLentille) return d[0].Interrieur(p) && d[1].Interrieur(p);
    return (d[0].Interrieur(p) && d[2].Interrieur(p)) || (d[1].Interrieur(p) && d[3].Interrieur(p));
}

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
        double x = b.xmin;
        for (long i = 0; i <= limite; ++i, x += pas) {
            if (!(x < xfin)) break;
            if (Dedans(e, Point{x, y})) TracePoint(image, x, y, couleur);
        }
    }
}

void DessinRayon(const Rayon& r, const Image& image) {
    const std::span<const Point> chemin = r.Chemin();
    if (chemin.empty() || (chemin.size() == 1 && r.arret)) return;
    const Pixel couleur = EnPixel(Couleur(r.lambda));
    for (std::size_t k = 1; k < chemin.size(); ++k) {
        TraceSegment(image, chemin[k - 1], chemin[k], couleur);
    }
    if (!r.arret) {
        TraceSegment(image, r.position, SortieFenetre(r.position, r.direction, image), couleur);
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
    for (const Source_polychromatique& groupe : sources) {
        for (const Source_monochromatique& source : groupe.sources) {
            for (const Rayon& r : source.rayons) DessinRayon(r, image);
        }
    }
}

}  // namespace optic
