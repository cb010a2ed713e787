// Micro-benchmarks of the hot functions: ray-surface intersection, the medium's index,
// plotting a segment, filling an element, writing a picture as BMP or PNG.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "draw/dessin.h"
#include "elements/diaphragme.h"
#include "elements/lentille.h"
#include "model/system.h"
#include "output/bmp.h"
#include "output/png.h"
#include "raster/image.h"
#include "trace/propagation.h"

using namespace optic;

namespace {

IndiceRefraction Verre() {
    IndiceRefraction v;
    const double n[3] = {1.5224, 1.5168, 1.5143}, l[3] = {486.1, 587.6, 656.3};
    for (int k = 0; k < 3; ++k) v.indice_n[k] = n[k], v.indice_lambda[k] = l[k];
    return v;
}

void BM_IntersectionPlan(benchmark::State& state) {
    const Diaphragme d(Point{10, 0}, 1, 2, 8, 0);
    Impact impact;
    double y = -1;
    for (auto _ : state) {
        y = y > 1 ? -1 : y + 1e-3;
        benchmark::DoNotOptimize(Intersection(d.dioptres[0], Point{0, y}, Point{1, 0.01}, impact));
    }
}
BENCHMARK(BM_IntersectionPlan);

void BM_IntersectionSphere(benchmark::State& state) {
    const IndiceRefraction verre = Verre();
    const Lentille l(Point{10, 0}, 4, 1, 30, 1, -30, 20, 0, &verre);
    Impact impact;
    double y = -5;
    for (auto _ : state) {
        y = y > 5 ? -5 : y + 1e-3;
        benchmark::DoNotOptimize(Intersection(l.dioptres[0], Point{0, y}, Point{1, 0.01}, impact));
    }
}
BENCHMARK(BM_IntersectionSphere);

void BM_IndiceMilieu(benchmark::State& state) {
    static const IndiceRefraction verre = Verre();
    System_Physique s;
    for (int i = 0; i < 4; ++i)
        s.elements.push_back(Lentille(Point{20.0 + 30 * i, 0}, 5, 1, 40, 1, -40, 30, 0, &verre));
    s.elements.push_back(Diaphragme(Point{60, 0}, 1, 8, 30, 0));
    double x = 0;
    for (auto _ : state) {
        x = x > 150 ? 0 : x + 0.01;
        benchmark::DoNotOptimize(IndiceMilieu(s, Point{x, 1}, 550));
    }
}
BENCHMARK(BM_IndiceMilieu);

// A picture of side `taille` over the window [0, 100] x [0, 100].
struct Toile {
    Image image;
    Raster raster;
    explicit Toile(int taille)
        : image(ConstruireZoombox(0, 0, 100, 100, taille, 10).fenetre), raster(taille) {
        PeindreFond(image, raster);
        image.Attacher(raster);
    }
};

// Segments across the window at a given slope (degrees) in a picture of a given side; the
// rate counts the points that land in the picture.
void BM_TraceSegment(benchmark::State& state) {
    const int cote = static_cast<int>(state.range(1));
    Toile toile(cote);
    const double angle = static_cast<double>(state.range(0)) * M_PI / 180;
    const double dx = 200 * std::cos(angle), dy = 200 * std::sin(angle);
    const double points = cote * std::min(1.0, 100 / std::max(dx, dy)) * std::max(dx, dy) / 100;
    double decalage = 0, total = 0;
    for (auto _ : state) {
        decalage = decalage > 1 ? 0 : decalage + 0.0137;
        const Point a{0 + decalage, 0 + decalage}, b{a.x + dx, a.y + dy};
        TraceSegment(toile.image, a, b, Pixel{1, 2, 3});
        total += points;
    }
    state.counters["points/s"] = benchmark::Counter(total, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TraceSegment)->ArgsProduct({{0, 10, 30, 45, 60, 80, 90}, {256, 2048}});

// Filling then outlining one lens that covers a good part of the window.
void BM_RemplissageLentille(benchmark::State& state) {
    static const IndiceRefraction verre = Verre();
    Toile toile(1024);
    System_Physique s;
    s.elements.push_back(Lentille(Point{30, 50}, 30, 1, 60, 1, -60, 80, 0, &verre));
    for (auto _ : state) DessinElements(s, toile.image);
}
BENCHMARK(BM_RemplissageLentille);

// Writing a picture with a grid and a fan of 200 coloured segments, in each format that
// writes pixels; the rate counts the pixel bytes.
void BM_Ecriture(benchmark::State& state, bool (*ecrire)(const Raster&, const std::string&),
                 const char* nom) {
    Toile toile(static_cast<int>(state.range(0)));
    for (int k = 0; k < 200; ++k) {
        const Pixel couleur{static_cast<std::uint8_t>(k), 255, static_cast<std::uint8_t>(255 - k)};
        TraceSegment(toile.image, Point{0, 50}, Point{100, k * 0.5}, couleur);
    }
    const auto dossier = std::filesystem::temp_directory_path() / "optic_micro";
    std::filesystem::create_directories(dossier);
    const std::string chemin = (dossier / nom).string();
    for (auto _ : state) ecrire(toile.raster, chemin);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(toile.raster.octets()));
    state.counters["file bytes"] = static_cast<double>(std::filesystem::file_size(chemin));
    std::filesystem::remove_all(dossier);
}
BENCHMARK_CAPTURE(BM_Ecriture, bmp, EcritureBMP, "OpticZoomBox_0.bmp")->Arg(1024)->Arg(4096);
BENCHMARK_CAPTURE(BM_Ecriture, png, EcriturePNG, "OpticZoomBox_0.png")->Arg(1024)->Arg(4096);

}  // namespace

BENCHMARK_MAIN();
