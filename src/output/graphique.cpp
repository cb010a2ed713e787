#include "output/graphique.h"

#include <algorithm>
#include <cmath>

#include "output/svg.h"
#include "write/table.h"

namespace optic {

namespace {

// The page and the plotting area within it, in pixels.
constexpr double kLargeur = 760, kHauteur = 440;
constexpr double kGauche = 90, kDroite = 590, kHaut = 50, kBas = 370;
constexpr int kGraduationsMax = 40;  // Graduer gives at most about 11

// A coordinate of the page, to a hundredth of a pixel.
std::string Px(double v) {
    return Decimales(v, 2);
}

// Text as XML character data or attribute value.
std::string Echapper(const std::string& texte) {
    std::string s;
    for (const char c : texte) {
        switch (c) {
            case '&':
                s += "&amp;";
                break;
            case '<':
                s += "&lt;";
                break;
            case '>':
                s += "&gt;";
                break;
            case '"':
                s += "&quot;";
                break;
            default:
                s += c;
        }
    }
    return s;
}

std::string Couleur(Pixel p) {
    std::string s;
    Hex(s, p);
    return s;
}

bool Fini(Point p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// Where the values of one axis go on the page.
struct Echelle {
    Graduation g;
    double debut, fin;  // pixels of g.debut and g.fin
    double Vers(double v) const {
        return debut + (v - g.debut) / (g.fin - g.debut) * (fin - debut);
    }
    int Decimales() const { return std::max(0, -static_cast<int>(std::floor(std::log10(g.pas)))); }
};

}  // namespace

int Graduation::Nombre() const {
    const double n = std::round((fin - debut) / pas);
    return std::isfinite(n) ? static_cast<int>(std::clamp(n, 1.0, double{kGraduationsMax})) + 1 : 2;
}

Graduation Graduer(double bas, double haut) {
    if (!std::isfinite(bas) || !std::isfinite(haut)) bas = 0, haut = 1;
    if (bas > haut) std::swap(bas, haut);
    if (haut - bas <= 1e-12 * std::max(std::fabs(bas), std::fabs(haut))) {
        const double marge = bas == 0 ? 1 : std::fabs(bas) * 0.1;
        bas -= marge;
        haut += marge;
    }
    const double brut = (haut - bas) / 5;
    const double dix = std::pow(10.0, std::floor(std::log10(brut)));
    double pas = 10 * dix;
    for (const double m : {1.0, 2.0, 5.0}) {
        if (m * dix >= brut) {
            pas = m * dix;
            break;
        }
    }
    Graduation g{std::floor(bas / pas) * pas, std::ceil(haut / pas) * pas, pas};
    if (!(g.fin > g.debut)) g.fin = g.debut + pas;
    return g;
}

std::string GraphiqueSvg(const Graphique& g) {
    double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
    for (const Serie& s : g.series) {
        for (const auto* points : {&s.points, &s.marques}) {
            for (const Point p : *points) {
                if (!Fini(p)) continue;
                x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
                y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
            }
        }
    }
    const Echelle ex{Graduer(x0, x1), kGauche, kDroite}, ey{Graduer(y0, y1), kBas, kHaut};
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    s += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + Px(kLargeur) +
         "\" height=\"" + Px(kHauteur) + "\" viewBox=\"0 0 " + Px(kLargeur) + " " + Px(kHauteur) +
         "\" font-family=\"sans-serif\" font-size=\"13\">\n";
    s += "<title>" + Echapper(g.titre) + "</title>\n";
    s += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    s += "<text x=\"" + Px((kGauche + kDroite) / 2) +
         "\" y=\"28\" text-anchor=\"middle\" font-size=\"16\">" + Echapper(g.titre) + "</text>\n";
    // Graduations, with a light grid, and the line of zero when it is on the plot.
    for (int k = 0; k < ex.g.Nombre(); ++k) {
        const double v = ex.g.Valeur(k), x = ex.Vers(v);
        s += "<line x1=\"" + Px(x) + "\" y1=\"" + Px(kHaut) + "\" x2=\"" + Px(x) + "\" y2=\"" +
             Px(kBas + 5) + "\" stroke=\"#e0e0e0\"/>\n";
        s += "<text class=\"tick-x\" x=\"" + Px(x) + "\" y=\"" + Px(kBas + 20) +
             "\" text-anchor=\"middle\">" + Decimales(v, ex.Decimales()) + "</text>\n";
    }
    for (int k = 0; k < ey.g.Nombre(); ++k) {
        const double v = ey.g.Valeur(k), y = ey.Vers(v);
        s += "<line x1=\"" + Px(kGauche - 5) + "\" y1=\"" + Px(y) + "\" x2=\"" + Px(kDroite) +
             "\" y2=\"" + Px(y) + "\" stroke=\"#e0e0e0\"/>\n";
        s += "<text class=\"tick-y\" x=\"" + Px(kGauche - 8) + "\" y=\"" + Px(y) +
             "\" text-anchor=\"end\" dominant-baseline=\"middle\">" + Decimales(v, ey.Decimales()) +
             "</text>\n";
    }
    if (ey.g.debut < 0 && ey.g.fin > 0) {
        s += "<line x1=\"" + Px(kGauche) + "\" y1=\"" + Px(ey.Vers(0)) + "\" x2=\"" + Px(kDroite) +
             "\" y2=\"" + Px(ey.Vers(0)) + "\" stroke=\"#808080\"/>\n";
    }
    s += "<rect x=\"" + Px(kGauche) + "\" y=\"" + Px(kHaut) + "\" width=\"" +
         Px(kDroite - kGauche) + "\" height=\"" + Px(kBas - kHaut) +
         "\" fill=\"none\" stroke=\"#000000\"/>\n";
    s += "<text x=\"" + Px((kGauche + kDroite) / 2) + "\" y=\"" + Px(kBas + 45) +
         "\" text-anchor=\"middle\">" + Echapper(g.axe_x) + "</text>\n";
    s += "<text x=\"25\" y=\"" + Px((kHaut + kBas) / 2) + "\" text-anchor=\"middle\" " +
         "transform=\"rotate(-90 25 " + Px((kHaut + kBas) / 2) + ")\">" + Echapper(g.axe_y) +
         "</text>\n";
    // The curves, then the legend in their colours.
    double legende = kHaut + 10;
    for (const Serie& serie : g.series) {
        const std::string couleur = Couleur(serie.couleur);
        std::string points;
        auto tracer = [&] {
            if (points.find(' ') != std::string::npos) {
                s += "<polyline class=\"curve\" fill=\"none\" stroke=\"" + couleur +
                     "\" stroke-width=\"1.5\" points=\"" + points + "\"/>\n";
            }
            points.clear();
        };
        for (const Point p : serie.points) {
            if (!Fini(p)) {
                tracer();
                continue;
            }
            if (!points.empty()) points += ' ';
            points += Px(ex.Vers(p.x));
            points += ',';
            points += Px(ey.Vers(p.y));
        }
        tracer();
        for (const Point p : serie.marques) {
            if (!Fini(p)) continue;
            s += "<circle class=\"mark\" cx=\"" + Px(ex.Vers(p.x)) + "\" cy=\"" + Px(ey.Vers(p.y)) +
                 "\" r=\"3.5\" fill=\"" + couleur + "\"/>\n";
        }
        s += "<line x1=\"" + Px(kDroite + 20) + "\" y1=\"" + Px(legende) + "\" x2=\"" +
             Px(kDroite + 45) + "\" y2=\"" + Px(legende) + "\" stroke=\"" + couleur +
             "\" stroke-width=\"3\"/>\n";
        s += "<text x=\"" + Px(kDroite + 52) + "\" y=\"" + Px(legende) +
             "\" dominant-baseline=\"middle\">" + Echapper(serie.nom) + "</text>\n";
        legende += 20;
    }
    s += "</svg>\n";
    return s;
}

}  // namespace optic
