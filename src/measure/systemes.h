#pragma once

#include <span>
#include <vector>

#include "base/point.h"
#include "elements/indice.h"
#include "model/system.h"

namespace optic {

// Lenses belong to one system when their axes' unit directions differ by at most this much
// and the offset of one axis from the other is at most this fraction of the bench's size.
inline constexpr double kCoaxial = 1e-9;
// A system is afocal when its power is at most this fraction of the sum of the absolute
// powers of its surfaces.
inline constexpr double kAfocal = 1e-9;

// One refracting surface of a system as paraxial optics sees it: its vertex on the axis, its
// curvature, and the glasses on either side (none: the surrounding space).
struct SurfaceAxiale {
    double position = 0;  // along the axis, from the system's first vertex
    double courbure = 0;  // 1 / radius, positive when the centre lies further along the axis
    const IndiceRefraction* avant = nullptr;
    const IndiceRefraction* apres = nullptr;
};

// Lenses of a bench whose axes lie on one line and point the same way.
struct SystemeOptique {
    std::vector<int>
        lentilles;  // lens numbers (from 1 in file order), in the order light meets them
    Point origine;  // the front vertex of the lens light meets first
    Point axe;      // the axis's unit direction
    Point lateral;  // a quarter turn from it: the lens frame's second axis
    std::vector<SurfaceAxiale> surfaces;  // in the order light meets them

    // The point of the axis at `t` from the first vertex.
    Point SurLAxe(double t) const { return Point{origine.x + t * axe.x, origine.y + t * axe.y}; }
    // A point's coordinates in the system's frame: along the axis from the first vertex, and
    // across it along `lateral`.
    Point Local(Point p) const;
    // A vector's components along the axis and along `lateral`.
    Point LocalVecteur(Point v) const;
    // The last vertex's place along the axis.
    double Dernier() const { return surfaces.empty() ? 0 : surfaces.back().position; }
};

// The size of a bench that offsets are compared with: the largest coordinate of its lenses'
// vertices, at least 1.
double TailleDuBanc(const System_Physique& systeme);

// The systems of a bench, numbered in the order of their first lens in the file.  Two lenses
// in contact (the back vertex of one on the front vertex of the next, faces of the same
// radius) meet at one surface between their glasses.
std::vector<SystemeOptique> Systemes(const System_Physique& systeme);

// Whether the line through p along the unit direction u is the axis of system s, pointing
// its way, within kCoaxial (offsets scaled by `taille`).
bool SurLAxe(const SystemeOptique& s, Point p, Point u, double taille);

// The paraxial ray-transfer matrix of a system, from its first vertex to its last, on
// (height, index x angle), at a wavelength, in a space of index `n_espace`; with the sum of
// its surfaces' absolute powers.
struct MatriceParaxiale {
    double A = 1, B = 0, C = 0, D = 1;
    double puissances = 0;
    bool Afocale() const;
};
MatriceParaxiale Matrice(const SystemeOptique& s, double n_espace, double lambda);

// A system's first-order properties at one wavelength.  Distances are signed along the
// axis: efl from the back principal point to the back focal point, bfd from the last vertex
// to the back focal point, ffd from the front focal point to the first vertex.  An afocal
// system has none of them (NaN), only its angular magnification.
struct PremierOrdre {
    double lambda = 0;
    bool afocal = false;
    double efl = 0, bfd = 0, ffd = 0;
    Point foyer_objet, foyer_image, principal_objet, principal_image;
    double grossissement = 0;  // the angular magnification of an afocal system; NaN otherwise
};
PremierOrdre ProprietesParaxiales(const SystemeOptique& s, double n_espace, double lambda);

// Where the paraxial image of the axial point at `objet` (along the axis, from the first
// vertex) lies along the axis, from the first vertex; NaN when it is at infinity.
double ImageParaxiale(const SystemeOptique& s, double n_espace, double lambda, double objet);

// A system's chromatic focal shift: its paraxial back focal distance (y, NaN where it is
// afocal) at `points` wavelengths (x) evenly spread from the shortest to the longest that
// its glasses are sampled at or `longueurs` holds; none when they span no range.
std::vector<Point> DecalageChromatique(const SystemeOptique& s, double n_espace,
                                       std::span<const double> longueurs, int points);

}  // namespace optic
