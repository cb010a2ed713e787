// Times each phase of a run on one description file and counts its work: rays traced and
// points the plotting steps through.  Pictures are written to the working directory.
//
//   optic_phases DESCRIPTION [THREADS]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "model/system.h"
#include "optic/bmp.h"
#include "optic/execution.h"
#include "optic/parallele.h"
#include "optic/propagation.h"
#include "render/couleur.h"

using namespace optic;

namespace {

using Horloge = std::chrono::steady_clock;

double Secondes(Horloge::time_point depuis) {
    return std::chrono::duration<double>(Horloge::now() - depuis).count();
}

// Steps the plotting takes along a segment: one per pixel of its major axis, clipped to
// the window along that axis (the way the walk is bounded).
double Points(const Image& im, Point a, Point b) {
    const double pas = 1 / im.zoom;
    const double dx = b.x - a.x, dy = b.y - a.y;
    if (std::fabs(dx) < pas && std::fabs(dy) < pas) return 1;
    const bool x_majeur = std::fabs(dx) > std::fabs(dy);
    double lo = x_majeur ? std::min(a.x, b.x) : std::min(a.y, b.y);
    double hi = x_majeur ? std::max(a.x, b.x) : std::max(a.y, b.y);
    const double dec = x_majeur ? im.decalage_x : im.decalage_y;
    lo = std::max(lo, -dec);
    hi = std::min(hi, im.largeur - dec);
    return hi < lo ? 0 : std::floor((hi - lo) / pas) + 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: optic_phases DESCRIPTION [THREADS]\n";
        return 2;
    }
    const int fils = argc > 2 ? std::atoi(argv[2]) : NombreFilsParDefaut();
    std::ostringstream rapport;

    auto t = Horloge::now();
    System_Physique systeme;
    systeme.ReadSystem_Physique(argv[1], rapport);
    const double lecture = Secondes(t);

    long rayons = 0;
    for (const auto& g : systeme.sources)
        for (const auto& s : g.sources) rayons += static_cast<long>(s.rayons.size());

    t = Horloge::now();
    PropagerTout(systeme, fils);
    const double trace = Secondes(t);

    double points = 0;
    for (const Image& im : systeme.zoomboxes) {
        for (const auto& g : systeme.sources)
            for (const auto& s : g.sources)
                for (const Rayon& r : s.rayons) {
                    const auto c = r.Chemin();
                    for (std::size_t k = 1; k < c.size(); ++k) points += Points(im, c[k - 1], c[k]);
                    if (!r.arret)
                        points +=
                            Points(im, r.position, SortieFenetre(r.position, r.direction, im));
                }
    }

    double dessin = 0, ecriture = 0;
    for (std::size_t c = 0; c < systeme.zoomboxes.size(); ++c) {
        const Image& image = systeme.zoomboxes[c];
        t = Horloge::now();
        Raster raster(image.taille);
        Dessiner(systeme, image, raster, fils);
        dessin += Secondes(t);
        t = Horloge::now();
        EcritureBMP(raster, static_cast<int>(c));
        ecriture += Secondes(t);
    }

    std::printf("threads %d\n", fils);
    std::printf("reading   %8.3f s\n", lecture);
    std::printf("tracing   %8.3f s  %ld rays, %.3g rays/s\n", trace, rayons, rayons / trace);
    std::printf("drawing   %8.3f s  %.4g points, %.3g points/s\n", dessin, points, points / dessin);
    std::printf("writing   %8.3f s\n", ecriture);
    return 0;
}
