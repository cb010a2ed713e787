// The straightforward way to run a bench, kept as the yardstick the benchmark measures the
// program against: one thread; every ray traced first, the plain way, its whole path kept;
// each zoombox three planes of doubles (plans[c][y][x], a row at a time), painted when the
// bench is read; every pixel through TracePoint, every segment stepped point by point with
// x += pas, the fills scanned pixel step by pixel step, arcs drawn as chords; colour levels
// brought to bytes only when the picture is written.  Its pictures are the program's, byte
// for byte.  The description is read by the program's own reader: reading is not what is
// compared.
//
//   optic_plain [DESCRIPTION]
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "model/system.h"
#include "output/bmp.h"
#include "raster/couleur.h"
#include "raster/pixel.h"
#include "trace/propagation.h"

using namespace optic;

namespace {

// One zoombox's picture: plans[c][y][x], c = 0 red, 1 green, 2 blue.
struct Plans {
    int taille = 0;
    std::vector<std::vector<double>> plans[3];
};

// The background and the grid, as a zoombox starts.
Plans Peindre(const Image& image) {
    Plans p;
    const int n = image.taille;
    p.taille = n;
    const double s = std::trunc(image.zoom * image.grille + 0.5);  // grid spacing, pixels
    for (auto& plan : p.plans) plan.assign(static_cast<std::size_t>(n), std::vector<double>(n));
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const bool grille = s >= 2 && (std::fmod(x, s) == 0 || std::fmod(y, s) == 0);
            for (auto& plan : p.plans) plan[y][x] = grille ? 45.0 : 0.0;
        }
    }
    return p;
}

void TracePoint(Plans& p, const Image& image, double x, double y, const Niveaux& c) {
    const double px = (x + image.decalage_x) * image.zoom;
    const double py = (y + image.decalage_y) * image.zoom;
    if (!(px >= 0 && py >= 0)) return;
    const double cx = std::trunc(px + 0.5), cy = std::trunc(py + 0.5);
    if (!(cx < p.taille && cy < p.taille)) return;
    const auto ix = static_cast<std::size_t>(cx), iy = static_cast<std::size_t>(cy);
    p.plans[0][iy][ix] = c.rouge;
    p.plans[1][iy][ix] = c.vert;
    p.plans[2][iy][ix] = c.bleu;
}

// Points one pixel apart along the major axis, clipped to the window along it.  Past
// taille + 2 steps every point lies beyond the picture: the walk ends there whatever the
// numbers.
void TraceSegment(Plans& p, const Image& image, Point a, Point b, const Niveaux& c) {
    const double pas = 1 / image.zoom;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const long limite = p.taille + 2;
    if (std::fabs(dx) < pas && std::fabs(dy) < pas) {
        TracePoint(p, image, (a.x + b.x) / 2, (a.y + b.y) / 2, c);
    } else if (std::fabs(dx) > std::fabs(dy)) {
        const Point& l = a.x <= b.x ? a : b;
        const Point& h = a.x <= b.x ? b : a;
        const double debut = image.decalage_x + l.x > 0 ? l.x : -image.decalage_x;
        double fin =
            image.decalage_x + h.x < image.largeur ? h.x : image.largeur - image.decalage_x;
        fin = fin + pas / 2;
        double x = debut;
        for (long k = 0; k <= limite && x < fin; ++k, x += pas) {
            TracePoint(p, image, x, l.y + (x - l.x) * dy / dx, c);
        }
    } else {
        const Point& l = a.y <= b.y ? a : b;
        const Point& h = a.y <= b.y ? b : a;
        const double debut = image.decalage_y + l.y > 0 ? l.y : -image.decalage_y;
        double fin =
            image.decalage_y + h.y < image.largeur ? h.y : image.largeur - image.decalage_y;
        fin = fin + pas / 2;
        double y = debut;
        for (long k = 0; k <= limite && y < fin; ++k, y += pas) {
            TracePoint(p, image, l.x + (y - l.y) * dx / dy, y, c);
        }
    }
}

// A surface's outline: a plane as one segment; an arc as chords between the points where
// it crosses the window's edges and its ends inside the window, in the order of their angles
// seen from the centre.  (An arc far larger than the window gets longer chords, at most
// 8 a pixel of the window's side.)
void Contour(Plans& p, const Image& image, const Dioptre& d) {
    const Niveaux gris{75, 75, 75};
    if (!(d.demi_ouverture > 0)) return;
    const double h = d.demi_ouverture;
    if (d.courbure == 0) {
        TraceSegment(p, image, {d.sommet.x - d.sinus * h, d.sommet.y + d.cosinus * h},
                     {d.sommet.x + d.sinus * h, d.sommet.y - d.cosinus * h}, gris);
        return;
    }
    const double xmin = -image.decalage_x, xmax = image.largeur - image.decalage_x;
    const double ymin = -image.decalage_y, ymax = image.largeur - image.decalage_y;
    Point points[10];
    double angles[10];
    int n = 0;
    const Point lancers[8][2] = {{{xmin, ymin}, {0, 1}},  {{xmin, ymin}, {1, 0}},
                                 {{xmax, ymin}, {-1, 0}}, {{xmax, ymin}, {0, 1}},
                                 {{xmax, ymax}, {0, -1}}, {{xmax, ymax}, {-1, 0}},
                                 {{xmin, ymax}, {1, 0}},  {{xmin, ymax}, {0, -1}}};
    for (const auto& l : lancers) {
        Impact i;
        if (Intersection(d, l[0], l[1], i)) points[n++] = i.h;
    }
    const double a = d.centre.x - d.courbure * std::sqrt(d.rayon_carre - h * h);
    for (const double b : {h, -h}) {
        const Point q{d.cosinus * a - d.sinus * b + d.sommet.x,
                      d.sinus * a + d.cosinus * b + d.sommet.y};
        if (xmin < q.x && q.x < xmax && ymin < q.y && q.y < ymax) points[n++] = q;
    }
    const Point k{d.cosinus * d.centre.x - d.sinus * d.centre.y + d.sommet.x,
                  d.sinus * d.centre.x + d.cosinus * d.centre.y + d.sommet.y};
    const double r = std::sqrt(d.rayon_carre);
    auto angle = [&](Point q) {
        double alpha = std::asin(std::clamp((q.y - k.y) / r, -1.0, 1.0));
        if (q.x - k.x < 0) alpha = kPi - alpha;
        if (alpha < 0) alpha = alpha + kDeuxPi;
        return alpha;
    };
    const bool autour_de_zero = std::fabs(angle(d.sommet) - kPi) > kDemiPi;
    int ordre[10];
    for (int i = 0; i < n; ++i) {
        angles[i] = angle(points[i]);
        if (autour_de_zero && angles[i] > kPi) angles[i] = angles[i] - kDeuxPi;
        int j = i;
        while (j > 0 && angles[ordre[j - 1]] > angles[i]) {
            ordre[j] = ordre[j - 1];
            --j;
        }
        ordre[j] = i;
    }
    double delta = 0.5 / std::sqrt((image.zoom - kTolerance) * (r - kTolerance));
    if (delta > 0.174) delta = 0.174;
    const long limite = 8L * p.taille + 64;
    for (int i = 0; i + 1 < n; ++i) {
        const int de = ordre[i], vers = ordre[i + 1];
        Point q = points[de];
        if (angles[de] < angles[vers]) {
            double pas = delta;
            if ((angles[vers] - angles[de]) / pas > static_cast<double>(limite)) {
                pas = (angles[vers] - angles[de]) / static_cast<double>(limite);
            }
            double alpha = angles[de];
            for (long j = 0; j <= limite + 1; ++j, alpha += pas) {
                if (j > 0 && !(alpha < angles[vers])) break;
                const Point m{k.x + r * std::cos(alpha), k.y + r * std::sin(alpha)};
                TraceSegment(p, image, q, m, gris);
                q = m;
            }
        }
        TraceSegment(p, image, q, points[vers], gris);
    }
}

// An element's body: its box, clipped to the window, scanned row by row one pixel step
// apart, every point inside plotted.
void Remplir(Plans& p, const Image& image, const Element& e) {
    const double niveau = e.type == kTypeLentille ? 200 : 100;
    Boite b = BoiteElement(e);
    if (image.decalage_x + b.xmin < 0) b.xmin = -image.decalage_x;
    if (image.decalage_y + b.ymin < 0) b.ymin = -image.decalage_y;
    if (image.decalage_x + b.xmax > image.largeur) b.xmax = image.largeur - image.decalage_x;
    if (image.decalage_y + b.ymax > image.largeur) b.ymax = image.largeur - image.decalage_y;
    const double pas = 1 / image.zoom;
    const long limite = p.taille + 2;
    double y = b.ymin;
    for (long j = 0; j <= limite && y < b.ymax + pas; ++j, y += pas) {
        double x = b.xmin;
        for (long i = 0; i <= limite && x < b.xmax + pas; ++i, x += pas) {
            if (Contient(e, Point{x, y})) TracePoint(p, image, x, y, {niveau, niveau, niveau});
        }
    }
}

void Dessin(Plans& p, const Image& image, const System_Physique& systeme,
            const std::vector<Rayon>& rayons) {
    if (p.taille <= 0) return;
    for (const Element& e : systeme.elements) {
        if (e.dioptres.empty()) continue;
        Remplir(p, image, e);
        for (const Dioptre& d : e.dioptres) Contour(p, image, d);
    }
    for (const Rayon& r : rayons) {
        const std::span<const Point> chemin = r.Chemin();
        if (chemin.empty() || (chemin.size() == 1 && r.arret)) continue;
        const Niveaux c = Couleur(r.lambda);
        for (std::size_t k = 1; k < chemin.size(); ++k) {
            TraceSegment(p, image, chemin[k - 1], chemin[k], c);
        }
        if (!r.arret)
            TraceSegment(p, image, r.position, SortieFenetre(r.position, r.direction, image), c);
    }
}

// The picture file: the header, then the rows bottom-up, blue, green, red, each row padded
// to four bytes.
void EcritureBMP(const Plans& p, int c) {
    const std::size_t n = static_cast<std::size_t>(p.taille);
    const std::size_t ligne = 3 * n + n % 4;
    std::vector<std::uint8_t> donnees(ligne * n);
    for (std::size_t k = 0; k < n; ++k) {
        std::uint8_t* q = donnees.data() + k * ligne;
        const std::size_t y = n - 1 - k;
        for (std::size_t x = 0; x < n; ++x) {
            *q++ = Octet(p.plans[2][y][x]);
            *q++ = Octet(p.plans[1][y][x]);
            *q++ = Octet(p.plans[0][y][x]);
        }
    }
    const auto entete = EnteteBMP(p.taille);
    const std::string nom = "OpticZoomBox_" + std::to_string(c) + ".bmp";
    const int fd = ::open(nom.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) return;
    bool ok = ::write(fd, entete.data(), entete.size()) == static_cast<ssize_t>(entete.size());
    for (std::size_t fait = 0; ok && fait < donnees.size();) {
        const ssize_t w = ::write(fd, donnees.data() + fait, donnees.size() - fait);
        ok = w > 0;
        if (ok) fait += static_cast<std::size_t>(w);
    }
    ::close(fd);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string description = argc > 1 ? argv[1] : "default_optic.txt";
    if (std::FILE* f = std::fopen(description.c_str(), "r")) {
        std::fclose(f);
    } else {
        std::cout << " Error File " << description << " doesn't exist\n";
        return -1;
    }
    RapportFlux rapport(std::cout);
    System_Physique systeme;
    if (systeme.ReadSystem_Physique(description, rapport) ==
        System_Physique::Lecture::IndiceManquant) {
        return -1;
    }
    std::vector<Plans> images;
    for (const Image image : systeme.zoomboxes) images.push_back(Peindre(image));

    std::vector<Rayon> rayons;
    std::vector<std::vector<Point>> chemins;
    for (const Source_polychromatique& ligne : systeme.sources) {
        for (const Source_monochromatique& s : ligne.sources) {
            for (std::size_t k = 0; k < s.NombreRayons(); ++k) rayons.push_back(s.Depart(k));
        }
    }
    chemins.resize(rayons.size());
    for (std::size_t i = 0; i < rayons.size(); ++i) Propagation(systeme, rayons[i], chemins[i]);

    for (std::size_t c = 0; c < images.size(); ++c) {
        Dessin(images[c], systeme.zoomboxes[c], systeme, rayons);
        EcritureBMP(images[c], static_cast<int>(c));
    }
    return 0;
}
