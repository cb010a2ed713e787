// Times each phase of a run on one description file and counts its work: rays traced and
// points the plotting steps through.  Measuring (the report's passes over the traced rays) is
// timed too, although a run without --report skips it.  Pictures are written to the working
// directory.
//
//   optic_phases DESCRIPTION [THREADS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "base/parallele.h"
#include "draw/dessin.h"
#include "model/system.h"
#include "output/bmp.h"
#include "output/images.h"
#include "run/execution.h"
#include "trace/rayons.h"

using namespace optic;

namespace {

using Horloge = std::chrono::steady_clock;

double Secondes(Horloge::time_point depuis) {
    return std::chrono::duration<double>(Horloge::now() - depuis).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: optic_phases DESCRIPTION [THREADS]\n";
        return 2;
    }
    const int fils = argc > 2 ? std::atoi(argv[2]) : NombreFilsParDefaut();
    RapportMemoire rapport;

    auto t = Horloge::now();
    System_Physique systeme;
    systeme.ReadSystem_Physique(argv[1], rapport);
    const double lecture = Secondes(t);

    // Tracing alone: every ray once, nothing kept.
    RayonsDuBanc seuls(systeme, fils, 1);
    const double rayons = static_cast<double>(seuls.Nombre());
    t = Horloge::now();
    seuls.Parcourir([](std::span<const Rayon>) {});
    const double trace = Secondes(t);

    // The run itself: the rays are traced again, lot by lot, for the measurements and for
    // each picture they are drawn into (unless they were kept).
    const int images = static_cast<int>(systeme.zoomboxes.size());
    RayonsDuBanc tous(systeme, fils, images + 2);
    t = Horloge::now();
    const Mesures mesures = MesurerRayons(systeme, tous);
    const double mesure = Secondes(t);

    double dessin = 0, ecriture = 0;
    for (int c = 0; c < images; ++c) {
        const Image& image = systeme.zoomboxes[static_cast<std::size_t>(c)];
        t = Horloge::now();
        Raster raster(image.taille);
        Dessiner(systeme, image, raster, fils, tous);
        dessin += Secondes(t);
        t = Horloge::now();
        EcritureBMP(raster, NomImage(c));
        ecriture += Secondes(t);
    }

    double points = 0;
    for (const Fenetre& im : systeme.zoomboxes) {
        tous.Parcourir([&](std::span<const Rayon> lot) { points += PointsDesRayons(lot, im); });
    }

    std::printf("threads %d\n", fils);
    std::printf("reading   %8.3f s\n", lecture);
    std::printf("tracing   %8.3f s  %.0f rays, %.3g rays/s\n", trace, rayons, rayons / trace);
    std::printf("measuring %8.3f s  %zu fans (tracing included)\n", mesure,
                mesures.faisceaux.size());
    std::printf("drawing   %8.3f s  %.4g points, %.3g points/s (tracing included)\n", dessin,
                points, points / dessin);
    std::printf("writing   %8.3f s\n", ecriture);
    return 0;
}
