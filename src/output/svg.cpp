// SVG pictures: what a zoombox shows, as vector graphics.  Written as it goes, a piece at a
// time, so that a bench of a million rays needs no more memory than its traced paths.
#include "output/svg.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "elements/element.h"
#include "raster/couleur.h"
#include "write/fichier.h"
#include "write/nombre.h"

namespace optic {

void Hex(std::string& s, Pixel p) {
    static constexpr char kHex[] = "0123456789abcdef";
    s += '#';
    for (const std::uint8_t o : {p.rouge, p.vert, p.bleu}) {
        s += kHex[o >> 4];
        s += kHex[o & 15];
    }
}

namespace {

// Text gathered before it goes to the file.
constexpr std::size_t kTampon = 1 << 16;
// Most points in the data of one path element.
constexpr std::size_t kPointsParChemin = 4096;
// How far, in pixels, a point may lie from the straight line that replaces it, and a ray
// from the ray written in its place.
constexpr double kEcartMax = 0.2;
// Quanta per pixel, at least: coordinates are written to a quarter of a pixel or finer.
constexpr double kQuantaParPixel = 4;
// Doubles count whole numbers exactly up to here.
constexpr double kEntierExact = 9007199254740992.0;  // 2^53

// Writes the numbers of the picture.  Coordinates are whole multiples of a decimal quantum
// fine enough for the picture's size, so "12.25" rather than "12.250000000000002".
class Nombres {
  public:
    explicit Nombres(const Image& image) {
        // Whatever the window's place, its coordinates must count quanta exactly.
        const double etendue = std::fmax(std::fabs(image.decalage_x), std::fabs(image.decalage_y)) +
                               2 * std::fabs(image.largeur);
        decimales_ = image.zoom > 0
                         ? static_cast<int>(std::ceil(std::log10(kQuantaParPixel * image.zoom)))
                         : 0;
        if (decimales_ > 20) decimales_ = 20;
        if (decimales_ < -300) decimales_ = -300;
        while (decimales_ > -300 && !(std::fabs(EnQuanta(etendue)) < kEntierExact)) --decimales_;
        puissance_ = std::pow(10.0, std::abs(decimales_));
    }

    // x in quanta; false when it cannot be counted so (far away, or not a number).
    bool Quantifier(double x, std::int64_t& n) const {
        const double v = EnQuanta(x);
        if (!(std::fabs(v) < kEntierExact)) return false;
        n = std::llround(v);
        return true;
    }

    // n quanta, after a separator when one is needed.
    void Quanta(std::string& s, std::int64_t n) const {
        char chiffres[32];
        const auto fin = std::to_chars(chiffres, chiffres + sizeof chiffres, n < 0 ? -n : n).ptr;
        std::string_view texte(chiffres, static_cast<std::size_t>(fin - chiffres));
        Separer(s, n < 0);
        if (n < 0) s += '-';
        if (decimales_ <= 0) {
            s += texte;
            if (decimales_ < 0 && n != 0) s.append("e").append(std::to_string(-decimales_));
            return;
        }
        const std::size_t d = static_cast<std::size_t>(decimales_);
        if (texte.size() <= d) {
            s += "0.";
            s.append(d - texte.size(), '0');
            s += texte;
        } else {
            s += texte.substr(0, texte.size() - d);
            s += '.';
            s += texte.substr(texte.size() - d);
        }
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }

    // A coordinate: in quanta when it can be, otherwise as it is.
    void Coordonnee(std::string& s, double x) const {
        std::int64_t n;
        if (Quantifier(x, n)) return Quanta(s, n);
        Reel(s, x);
    }

    // A value as it is, in the fewest digits that read back the same.
    static void Reel(std::string& s, double x) {
        Separer(s, x < 0);
        s += Shortest(x);
    }

    // The quantum, world units.
    double Quantum() const { return std::pow(10.0, -decimales_); }

  private:
    // A power of ten is exact up to 10^22: multiplying or dividing by it rounds once.
    double EnQuanta(double x) const {
        const double p = puissance_ > 0 ? puissance_ : std::pow(10.0, std::abs(decimales_));
        return decimales_ >= 0 ? x * p : x / p;
    }

    // Numbers that follow each other need a space, unless the second brings its minus sign.
    static void Separer(std::string& s, bool negatif) {
        if (negatif || s.empty()) return;
        const char c = s.back();
        if ((c >= '0' && c <= '9') || c == '.') s += ' ';
    }

    int decimales_ = 0;
    double puissance_ = 0;  // 10^|decimales_|, once they are chosen
};

bool Fini(Point p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// The window's rectangle, widened by `marge` on every side.
Boite Cadre(const Image& image, double marge) {
    return Boite{image.XMin() - marge, image.XMax() + marge, image.YMin() - marge,
                 image.YMax() + marge};
}

// Cuts the segment ab to the part inside the box; false when nothing of it is inside.
bool Couper(Point& a, Point& b, const Boite& f) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    if (!Fini(a) || !Fini(b) || !std::isfinite(dx) || !std::isfinite(dy)) return false;
    double t0 = 0, t1 = 1;
    // The part where p·t <= q.
    auto borne = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
        return true;
    };
    if (!(borne(-dx, a.x - f.xmin) && borne(dx, f.xmax - a.x) && borne(-dy, a.y - f.ymin) &&
          borne(dy, f.ymax - a.y))) {
        return false;
    }
    const Point debut = a;
    if (t1 < 1) b = Point{debut.x + t1 * dx, debut.y + t1 * dy};
    if (t0 > 0) a = Point{debut.x + t0 * dx, debut.y + t0 * dy};
    return true;
}

// Path data of the elements, in world coordinates.
class Trace {
  public:
    Trace(std::string& s, const Nombres& nombres) : s_(s), n_(nombres) {}

    void Vers(char commande, Point p) {
        s_ += commande;
        n_.Coordonnee(s_, p.x);
        n_.Coordonnee(s_, p.y);
    }
    // Along surface d from `de` (where the path is) to `a`: a line, or the arc through the
    // surface's vertex.
    void Suivre(const Dioptre& d, Point de, Point a) {
        if (d.courbure == 0) return Vers('L', a);
        const Point v = d.sommet;
        const double tour = (v.x - de.x) * (a.y - v.y) - (v.y - de.y) * (a.x - v.x);
        const double r = std::sqrt(d.rayon_carre);
        s_ += 'A';
        Nombres::Reel(s_, r);
        Nombres::Reel(s_, r);
        s_ += tour > 0 ? " 0 0 1" : " 0 0 0";
        n_.Coordonnee(s_, a.x);
        n_.Coordonnee(s_, a.y);
    }

    void Fermer() { s_ += 'Z'; }

  private:
    std::string& s_;
    const Nombres& n_;
};

// The outline of a surface and, on its own, whether it can be drawn.
bool Contour(Trace& t, const Dioptre& d) {
    const double h = d.demi_ouverture;
    const Point a = Bout(d, h), b = Bout(d, -h);
    if (!(h > 0) || !Fini(a) || !Fini(b)) return false;
    t.Vers('M', a);
    t.Suivre(d, a, b);
    return true;
}

// The body of an element: a lens between its two faces and its rims; each blade of a
// diaphragm between its entrance and exit faces.
bool Corps(Trace& t, const Element& e) {
    const std::vector<Dioptre>& d = e.dioptres;
    auto entre = [&](const Dioptre& f1, const Dioptre& f2) {
        const Point p[4] = {Bout(f1, f1.demi_ouverture), Bout(f1, -f1.demi_ouverture),
                            Bout(f2, f2.demi_ouverture), Bout(f2, -f2.demi_ouverture)};
        for (const Point& q : p) {
            if (!Fini(q)) return false;
        }
        // The second face's frame is turned half a turn: its +b end lies by the first's -b.
        t.Vers('M', p[0]);
        t.Suivre(f1, p[0], p[1]);
        t.Vers('L', p[2]);
        t.Suivre(f2, p[2], p[3]);
        t.Fermer();
        return true;
    };
    bool trace = false;
    if (e.type == kTypeLentille && d.size() >= 2) {
        trace = entre(d[0], d[1]);
    } else if (e.type == kTypeDiaphragme && d.size() >= 4) {
        trace = entre(d[0], d[2]);
        trace = entre(d[1], d[3]) || trace;
    }
    return trace;
}

// The rays of one wavelength as paths of their colour, a subpath per visible stretch of a
// ray.  Each segment is cut to the window and its ends counted in quanta; a point is dropped
// where the line goes on within the tolerance of it; and a ray drawn within the tolerance of
// the ray written before it, all along, is not written again: a fan may have tens of rays to
// a pixel, and their lines a pixel wide cover each other but for slivers narrower than the
// tolerance.
class Rayons {
  public:
    Rayons(std::string& s, const Nombres& nombres, const Boite& fenetre, double tolerance)
        : s_(s), n_(nombres), fenetre_(fenetre), tolerance2_(tolerance * tolerance) {}

    void Faisceau(Pixel couleur) {
        Finir();
        couleur_ = couleur;
        precedent_.clear();
    }

    void Segment(Point a, Point b) {
        if (!Couper(a, b, fenetre_)) return Clore();
        Q qa, qb;
        if (!Quantifier(a, qa) || !Quantifier(b, qb)) return Clore();
        if (!ouvert_ || a.x != fin_.x || a.y != fin_.y) {
            Clore();
            trace_.push_back({qa, true});
            ouvert_ = true;
        }
        fin_ = b;
        Ajouter(qb);
    }

    // A ray ends: it is written, unless it is the one before it again.
    void FinRayon() {
        Clore();
        if (trace_.empty() || Confondus(trace_, precedent_)) {
            trace_.clear();
            return;
        }
        if (!element_) {
            s_ += "<path stroke=\"";
            Hex(s_, couleur_);
            s_ += "\" d=\"";
            points_ = 0;
            element_ = true;
        } else {
            s_ += '\n';
        }
        Q dernier;
        bool l_ecrit = false;
        for (std::size_t i = 0; i < trace_.size(); ++i) {
            const Sommet& p = trace_[i];
            if (p.debut) {
                s_ += 'M';
                n_.Quanta(s_, p.q.x);
                n_.Quanta(s_, p.q.y);
                l_ecrit = false;
                // A stretch that never leaves its first point is a dot.
                if (i + 1 == trace_.size() || trace_[i + 1].debut) s_ += "l0 0";
            } else {
                if (!l_ecrit) s_ += 'l';
                l_ecrit = true;
                n_.Quanta(s_, p.q.x - dernier.x);
                n_.Quanta(s_, p.q.y - dernier.y);
            }
            dernier = p.q;
        }
        points_ += trace_.size();
        std::swap(precedent_, trace_);
        trace_.clear();
        // XML readers refuse attributes of some megabytes.
        if (points_ > kPointsParChemin) Finir();
    }

    void Finir() {
        Clore();
        if (element_) s_ += "\"/>\n";
        element_ = false;
    }

  private:
    struct Q {
        std::int64_t x = 0, y = 0;
        bool operator==(const Q&) const = default;
    };
    struct Sommet {
        Q q;
        bool debut;  // the first point of a stretch
        bool operator==(const Sommet&) const = default;
    };

    bool Quantifier(Point p, Q& q) const {
        return n_.Quantifier(p.x, q.x) && n_.Quantifier(p.y, q.y);
    }

    // Whether p lies within the tolerance of the segment ab (all in quanta).
    bool Proche(Q a, Q b, Q p) const {
        const double vx = static_cast<double>(b.x - a.x), vy = static_cast<double>(b.y - a.y);
        const double wx = static_cast<double>(p.x - a.x), wy = static_cast<double>(p.y - a.y);
        const double l2 = vx * vx + vy * vy;
        double t = l2 > 0 ? (wx * vx + wy * vy) / l2 : 0;
        t = t < 0 ? 0 : t > 1 ? 1 : t;
        const double ex = wx - t * vx, ey = wy - t * vy;
        return ex * ex + ey * ey <= tolerance2_;
    }

    // Whether two rays would be drawn as one: stretch for stretch, point for point, within
    // the tolerance.
    bool Confondus(const std::vector<Sommet>& a, const std::vector<Sommet>& b) const {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i].debut != b[i].debut || !Proche(a[i].q, a[i].q, b[i].q)) return false;
        }
        return true;
    }

    // The next point of the current stretch; the last point so far waits there for it.
    void Ajouter(Q q) {
        if (q == trace_.back().q) return;
        const std::size_t n = trace_.size();
        if (n >= 2 && !trace_[n - 1].debut) {
            const Q ancre = trace_[n - 2].q, attente = trace_[n - 1].q;
            bool droit = Proche(ancre, q, attente);
            for (std::size_t i = 0; droit && i < ecartes_.size(); ++i) {
                droit = Proche(ancre, q, ecartes_[i]);
            }
            if (droit) {
                ecartes_.push_back(attente);
                trace_.back().q = q;
                return;
            }
            ecartes_.clear();
        }
        trace_.push_back({q, false});
    }

    void Clore() {
        ouvert_ = false;
        ecartes_.clear();
    }

    std::string& s_;
    const Nombres& n_;
    const Boite fenetre_;
    const double tolerance2_;  // squared, in quanta
    Pixel couleur_;
    bool element_ = false;           // a path element is open
    std::size_t points_ = 0;         // in the open path element
    bool ouvert_ = false;            // a stretch of the current ray is open
    Point fin_;                      // where its last segment ended, before quantization
    std::vector<Sommet> trace_;      // the current ray
    std::vector<Sommet> precedent_;  // the ray written last, in this colour
    std::vector<Q> ecartes_;         // points dropped since the last one kept
};

// The traced rays in drawing order: for each source line, each wavelength with rays (told
// first to `faisceau`), then its rays.
template <typename Faisceau, typename UnRayon>
void ParcourirRayons(RayonsDuBanc& rayons, Faisceau faisceau, UnRayon rayon) {
    bool premier = true;
    std::uint32_t courant = 0;
    rayons.Parcourir([&](std::span<const Rayon> lot) {
        for (const Rayon& r : lot) {
            if (premier || r.faisceau != courant) faisceau(r.lambda);
            premier = false;
            courant = r.faisceau;
            rayon(r);
        }
    });
}

class Ecrivain {
  public:
    Ecrivain(const System_Physique& systeme, const Image& image, RayonsDuBanc& rayons, Flux& flux)
        : systeme_(systeme), image_(image), rayons_(rayons), flux_(flux), nombres_(image) {
        // One pixel of the picture drawn at its own size.
        pixel_ = image.taille > 0 ? image.largeur / image.taille : image.largeur;
        s_.reserve(2 * kTampon);
    }

    bool Ecrire() {
        Entete();
        Grille();
        Elements();
        LesRayons();
        s_ += "</svg>\n";
        return Envoyer(true);
    }

  private:
    // Sends the text gathered so far once there is enough of it, or at the end.
    bool Envoyer(bool tout = false) {
        if (!tout && s_.size() < kTampon) return flux_.Bon();
        const bool ok = flux_.EcrireMorceaux({{s_.data(), s_.size()}});
        s_.clear();
        return ok;
    }

    void Attribut(const char* nom, double x) {
        s_.append(" ").append(nom).append("=\"");
        Nombres::Reel(s_, x);
        s_ += '"';
    }

    void Entete() {
        const double x1 = image_.XMin(), y1 = image_.YMin(), l = image_.largeur;
        s_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        s_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\"";
        s_ += " width=\"" + std::to_string(image_.taille) + "\"";
        s_ += " height=\"" + std::to_string(image_.taille) + "\"";
        s_ += " viewBox=\"";
        for (const double v : {x1, y1, l, l}) {
            if (s_.back() != '"') s_ += ' ';
            Nombres::Reel(s_, v);
        }
        s_ += "\" fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
        Attribut("stroke-width", pixel_);
        s_ += ">\n<rect";
        Attribut("x", x1);
        Attribut("y", y1);
        Attribut("width", l);
        Attribut("height", l);
        s_ += " fill=\"";
        Hex(s_, kCouleurFond);
        s_ += "\"/>\n";
    }

    // Grid lines where the BMP picture has them: every s pixels from the window's first
    // column and row, each along the middle of its pixel column or row.
    void Grille() {
        const int n = image_.taille;
        const double s = std::trunc(image_.zoom * image_.grille + 0.5);
        if (n <= 0 || !(s >= 2.0)) return;
        const int espacement = s >= n ? n : static_cast<int>(s);
        const double x1 = image_.XMin(), y1 = image_.YMin(), l = image_.largeur;
        s_ += "<path stroke=\"";
        Hex(s_, kCouleurGrille);
        s_ += "\" d=\"";
        for (int k = 0; k < n; k += espacement) {
            const double x = x1 + (k + 0.5) * pixel_, y = y1 + (k + 0.5) * pixel_;
            s_ += 'M';
            nombres_.Coordonnee(s_, x);
            nombres_.Coordonnee(s_, y1);
            s_ += 'V';
            nombres_.Coordonnee(s_, y1 + l);
            s_ += 'M';
            nombres_.Coordonnee(s_, x1);
            nombres_.Coordonnee(s_, y);
            s_ += 'H';
            nombres_.Coordonnee(s_, x1 + l);
            Envoyer();
        }
        s_ += "\"/>\n";
    }

    // In file order, each element's body and then its outline, as the pictures draw them.
    void Elements() {
        const Boite f = Cadre(image_, pixel_);
        for (const Element& e : systeme_.elements) {
            if (e.dioptres.empty()) continue;
            const Boite b = BoiteElement(e);
            if (!(b.xmax >= f.xmin && b.xmin <= f.xmax && b.ymax >= f.ymin && b.ymin <= f.ymax)) {
                continue;  // wholly outside the window (or nowhere)
            }
            const std::size_t debut = s_.size();
            s_ += "<path fill=\"";
            Hex(s_, e.type == kTypeLentille ? kCouleurLentille : kCouleurDiaphragme);
            s_ += "\" d=\"";
            Trace t(s_, nombres_);
            if (Corps(t, e)) {
                s_ += "\"/>\n";
            } else {
                s_.resize(debut);
            }
            const std::size_t contour = s_.size();
            s_ += "<path stroke=\"";
            Hex(s_, kCouleurContour);
            s_ += "\" d=\"";
            bool trace = false;
            for (const Dioptre& d : e.dioptres) trace = Contour(t, d) || trace;
            if (trace) {
                s_ += "\"/>\n";
            } else {
                s_.resize(contour);
            }
            Envoyer();
        }
    }

    void LesRayons() {
        if (image_.taille <= 0) return;
        Rayons rayons(s_, nombres_, Cadre(image_, pixel_), kEcartMax * pixel_ / nombres_.Quantum());
        ParcourirRayons(
            rayons_, [&](double lambda) { rayons.Faisceau(EnPixel(Couleur(lambda))); },
            [&](const Rayon& r) {
                if (!flux_.Bon()) return;  // the writing failed: nothing more goes out
                const std::span<const Point> chemin = r.Chemin();
                if (chemin.empty() || (chemin.size() == 1 && r.arret)) return;
                for (std::size_t k = 1; k < chemin.size(); ++k) {
                    rayons.Segment(chemin[k - 1], chemin[k]);
                }
                if (!r.arret)
                    rayons.Segment(r.position, SortieFenetre(r.position, r.direction, image_));
                rayons.FinRayon();
                Envoyer();
            });
        rayons.Finir();
    }

    const System_Physique& systeme_;
    const Image& image_;
    RayonsDuBanc& rayons_;
    Flux& flux_;
    const Nombres nombres_;
    double pixel_ = 0;
    std::string s_;
};

}  // namespace

bool EcritureSVG(const System_Physique& systeme, const Image& image, RayonsDuBanc& rayons,
                 const std::string& chemin) {
    return EcrireFichier(
        chemin, [&](Flux& flux) { return Ecrivain(systeme, image, rayons, flux).Ecrire(); });
}

}  // namespace optic
