#pragma once

#include <type_traits>

#include "base/constantes.h"
#include "base/voies.h"

namespace optic {

// Total reflection: the new medium cannot carry the tangential component (always so where
// the index is 0, in an opaque blade).
template <typename T>
OPTIC_EN_LIGNE auto ReflexionTotale(T q) {
    return q <= 0.0;
}

// Whether a hit's tangent (tx, ty) is that of an opaque surface, where the ray ends.
template <typename T>
OPTIC_EN_LIGNE auto Opaque(T tx, T ty) {
    if constexpr (std::is_floating_point_v<T>) {
        return Abs(tx) < kTolerance && Abs(ty) < kTolerance;
    } else {
        return (Abs(tx) < kTolerance) & (Abs(ty) < kTolerance);  // lane by lane
    }
}

// The new direction (rx, ry) of a ray of direction (dx, dy), whose length is the index of its
// medium, where it meets a surface of unit tangent (tx, ty) with the index n beyond: the
// tangential part is kept and the normal part stretched so that the length becomes n
// (Snell's law), or the normal part turned back (total reflection).  For one ray or for
// several side by side.
template <typename T>
OPTIC_EN_LIGNE void Devier(T dx, T dy, T tx, T ty, T n, T& rx, T& ry) {
    const T produit = dx * tx + dy * ty;
    const T ttx = produit * tx;  // tangential part, conserved
    const T tty = produit * ty;
    const T nx = dx - ttx;  // normal part
    const T ny = dy - tty;
    const T q = n * n - (ttx * ttx + tty * tty);
    const auto totale = ReflexionTotale(q);
    const T n2 = nx * nx + ny * ny;
    // A ray meeting the surface along its tangent has no normal part to stretch.
    const auto etirer = Non(totale) & (n2 > 0.0);
    const T f = Racine(Choisir(etirer, q / n2, Partout<T>(0.0)));
    const T mx = Choisir(totale, -nx, Choisir(etirer, nx * f, nx));
    const T my = Choisir(totale, -ny, Choisir(etirer, ny * f, ny));
    const T longueur = Choisir(totale, Racine(dx * dx + dy * dy), n);
    const T sx = mx + ttx;
    const T sy = my + tty;
    const T ns = Racine(sx * sx + sy * sy);
    rx = sx * longueur / ns;
    ry = sy * longueur / ns;
}

}  // namespace optic
