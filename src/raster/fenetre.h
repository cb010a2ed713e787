#pragma once

namespace optic {

inline constexpr double kZoomMax = 100000.0;
// Largest side whose picture still fits a BMP file (its size is a 32-bit field).
inline constexpr int kTailleMax = 37837;

// One zoombox's window onto the bench as numbers: where it lies, its scale, its picture's side.
struct Fenetre {
    int taille = 0;           // side of the picture, pixels
    double grille = 0.0;      // grid step, world units
    double decalage_x = 0.0;  // minus the window's left x
    double decalage_y = 0.0;  // minus the window's first y
    double zoom = 0.0;        // pixels per world unit
    double largeur = 0.0;     // side of the window, world units

    // The window's bounds, world units.
    double XMin() const { return -decalage_x; }
    double XMax() const { return largeur - decalage_x; }
    double YMin() const { return -decalage_y; }
    double YMax() const { return largeur - decalage_y; }
};

// What the construction of a zoombox from its line gave.
struct Zoombox {
    Fenetre fenetre;
    bool zoom_plafonne = false;  // the zoom was capped at kZoomMax
    bool utilisable = false;     // the raster is sound and its picture fits a BMP file
};

// Builds a zoombox from two corners of its window, the requested side in pixels and the
// grid step in world units.
Zoombox ConstruireZoombox(double x1, double y1, double x2, double y2, double cote, double grille);

}  // namespace optic
