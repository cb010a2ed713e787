#pragma once

#include <string>

#include "model/system.h"
#include "raster/image.h"
#include "raster/pixel.h"
#include "trace/rayons.h"

namespace optic {

// Appends a colour as "#rrggbb", as every SVG file of the program writes it.
void Hex(std::string& s, Pixel p);

// Writes what zoombox `image` shows of the traced bench as an SVG picture at `chemin`, whole
// or not at all (see EcrireFichier): the window as the view box in bench units (y downwards,
// as in the pictures), the background and grid, each element's body and outline (lens faces
// as circular arcs), then every ray as a line of its colour clipped to the window, in the
// drawing order of the pictures.  Drawn at the picture's size it matches the BMP picture
// within a pixel.  False when the picture could not be written.
bool EcritureSVG(const System_Physique& systeme, const Image& image, RayonsDuBanc& rayons,
                 const std::string& chemin);

}  // namespace optic
