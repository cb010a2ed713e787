#pragma once

#include <cstddef>
#include <cstdint>

#include "base/point.h"
#include "raster/fenetre.h"
#include "raster/pixel.h"
#include "raster/raster.h"

namespace optic {

inline constexpr Pixel kCouleurFond = Gris(0.0);
inline constexpr Pixel kCouleurGrille = Gris(45.0);
inline constexpr Pixel kCouleurLentille = Gris(200.0);    // a lens's body
inline constexpr Pixel kCouleurDiaphragme = Gris(100.0);  // a diaphragm's blades
inline constexpr Pixel kCouleurContour = Gris(75.0);      // every surface's outline

// A zoombox being drawn: its window, and a view onto the pixels of its picture restricted to
// a band of rows.
struct Image : Fenetre {
    Image() = default;
    Image(const Fenetre& fenetre) : Fenetre(fenetre) {}  // a view onto no pixels yet

    // Drawing target: the rows [rang_debut, rang_fin) this view may write, the first byte of
    // row rang_debut and the step from one row to the next (the picture stores its rows
    // bottom-up).  Null while the zoombox is not being drawn.
    std::uint8_t* pixels = nullptr;
    std::ptrdiff_t pas_ligne = 0;
    int rang_debut = 0;
    int rang_fin = 0;
    // When given, one bit a pixel (rows `mots_ligne` words apart): a pixel whose bit is set
    // is not written again, and writing one sets its bit.  So the first drawing that reaches
    // a pixel keeps it, and drawings given in reverse order give the picture of the usual
    // order.
    std::uint64_t* couverts = nullptr;
    std::ptrdiff_t mots_ligne = 0;

    // Points the view at a raster of this image's size, limited to rows [debut, fin), which
    // the raster must hold.
    void Attacher(Raster& raster, int debut, int fin);
    // First byte of row `rang`, one of the view's.
    std::uint8_t* Ligne(int rang) const { return pixels + (rang - rang_debut) * pas_ligne; }
    void Attacher(Raster& raster) { Attacher(raster, 0, taille); }
    // From now on the first drawing that reaches a pixel keeps it (see `couverts`).
    void Couvrir(Couverture& couverture) {
        couverts = couverture.Mots();
        mots_ligne = couverture.MotsParLigne();
    }
};

// Paints the black background and the grey grid over raster rows [debut, fin).
void PeindreFond(const Image& image, Raster& raster, int debut = 0, int fin = kTailleMax);

// Plots the world point (x, y): the nearest pixel, if it lies in the picture and in the
// view's band of rows.  The colour replaces what was there.
inline void TracePoint(const Image& image, double x, double y, Pixel couleur) {
    const double px = (x + image.decalage_x) * image.zoom;
    const double py = (y + image.decalage_y) * image.zoom;
    if (!(px >= 0.0 && py >= 0.0)) return;  // also drops not-a-number
    const double cx = px + 0.5;
    const double cy = py + 0.5;
    // For a non-negative c, trunc(c) < n exactly when c < n.
    if (!(cx < image.taille && cy < image.taille)) return;
    const int ix = static_cast<int>(cx);
    const int iy = static_cast<int>(cy);
    if (iy < image.rang_debut || iy >= image.rang_fin) return;
    if (image.couverts) {
        std::uint64_t& mot = image.couverts[iy * image.mots_ligne + (ix >> 6)];
        const std::uint64_t bit = std::uint64_t{1} << (ix & 63);
        if (mot & bit) return;
        mot |= bit;
    }
    std::uint8_t* p = image.Ligne(iy) + 3 * static_cast<std::ptrdiff_t>(ix);
    p[0] = couleur.bleu;
    p[1] = couleur.vert;
    p[2] = couleur.rouge;
}

// Draws the world segment AB: points one pixel apart along its major axis, clipped to the
// window along that axis; a segment shorter than a pixel both ways plots its midpoint.
void TraceSegment(const Image& image, Point a, Point b, Pixel couleur);

// About how many points TraceSegment steps through for AB (a measure of drawing work).
double PointsDuSegment(const Image& image, Point a, Point b);

}  // namespace optic
