#pragma once

#include <cstddef>

// The calls the engine makes out to the JavaScript that runs it (see web/optic.mjs), one per
// thing it has to hand over.  Byte strings go by address and length.
extern "C" {
// What the program prints on standard output.
void optic_sortie(const char* texte, std::size_t longueur);
// One message as printed, and the line of the description it is about (0 for none).
void optic_message(int ligne, const char* texte, std::size_t longueur);
// A message about line `ligne` of the description (1 = the first).
void optic_diagnostic(int ligne, const char* texte, std::size_t longueur);
// Zoombox c's window: its world corner (x, y) at the picture's top left, its scale in pixels
// per world unit and its side in pixels.
void optic_fenetre(int c, double x, double y, double zoom, int taille);
// Runs share out the pictures: this one draws rows [debut, fin) of zoombox c's picture.
void optic_rangs(int c, int debut, int fin);
// What is where on the bench, the JSON document of EcrireGeometrie (web/geometrie.h).
void optic_geometrie(const char* json, std::size_t longueur);
// A picture written, in the working directory, and its side in pixels.
void optic_image(const char* nom, std::size_t longueur, int taille);
// The run could not go on (the machine's memory is exhausted): why, in words.
void optic_echec(const char* texte, std::size_t longueur);
// The run's report, the JSON document of `optic --report=json` but for the rays of the fans'
// aberrations, handed over before it: fan f's as `nombre` rays of four numbers each (height,
// angle_deg, axis_crossing, transverse, as the document's keys say).
void optic_compte_rendu(const char* json, std::size_t longueur);
void optic_rayons_aberration(int f, const double* valeurs, std::size_t nombre);
// Where the run is: a step in words, and the work done out of the whole (0 of 0 when the
// step has no measure).
void optic_progression(const char* etape, std::size_t longueur, double fait, double total);
}
