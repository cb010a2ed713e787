// Reading a bench description: one object per line, its kind given by the first character.
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "base/constantes.h"
#include "elements/diaphragme.h"
#include "elements/lentille.h"
#include "model/explication.h"
#include "model/lecture_ligne.h"
#include "model/messages.h"
#include "model/system.h"

namespace optic {

namespace {

namespace ex = explication;

// Largest fan of one wavelength a source line may ask for.
constexpr int kRayonsMax = 1000000;
// Most wavelengths on one source line.
constexpr int kLongueursOndeMax = 10;

// Each kind of line as the README's format reference writes it, with its values' names.
constexpr std::string_view kFormeD = "D x y thickness inner outer angle";
constexpr std::string_view kFormeE = "E index";
constexpr std::string_view kFormeI = "I index1 wavelength1 index2 wavelength2 index3 wavelength3";
constexpr std::string_view kFormeL = "L x y thickness radius1 radius2 diameter angle glass";
constexpr std::string_view kFormeZ = "Z x1 y1 x2 y2 pixels grid";
constexpr const char* kChampsE[] = {"index"};
constexpr const char* kChampsD[] = {"x", "y", "thickness", "inner", "outer", "angle"};
constexpr const char* kChampsI[] = {"index1",      "wavelength1", "index2",
                                    "wavelength2", "index3",      "wavelength3"};
constexpr const char* kChampsL[] = {"x",       "y",        "thickness", "radius1",
                                    "radius2", "diameter", "angle",     "glass"};
constexpr const char* kChampsZ[] = {"x1", "y1", "x2", "y2", "pixels", "grid"};
// The values of a source line after its wavelengths.
constexpr const char* kChampsS[] = {"x", "y", "opening", "direction", "width", "rays"};

// A source line's form for a count of wavelengths (any count when it is not 1 to 10).
std::string FormeS(int nb) {
    std::string longueurs = "wavelength1 ... wavelengthN";
    if (nb == 1) longueurs = "wavelength1";
    if (nb == 2) longueurs = "wavelength1 wavelength2";
    if (nb >= 3 && nb <= kLongueursOndeMax)
        longueurs = "wavelength1 ... wavelength" + std::to_string(nb);
    return "S count " + longueurs + " x y opening direction width rays";
}

// The values of one line as written and as read, and the first that is not a finite number.
template <int N>
struct Valeurs {
    double v[N] = {};
    std::string_view jetons[N];
    int lues = 0;
    bool finies = true;
    int non_finie = -1;
    bool coupee = false;  // the values ended at a token cut for its length

    void Ajouter(double x, std::string_view jeton) {
        jetons[lues] = jeton;
        if (!std::isfinite(x) && finies) {
            finies = false;
            non_finie = lues;
        }
        v[lues++] = x;
    }

    // What keeps the values of a line of `forme` from being used: too few of them, or one
    // that is not a finite number; empty when they are all there and finite.
    std::string Defaut(std::string_view ligne, std::string_view forme,
                       const char* const* champs) const {
        if (lues < N) return explication::Compte(lues, N, forme, ligne, coupee);
        if (finies) return {};
        return explication::PasUnNombre(champs[non_finie], jetons[non_finie]) + "; expected " +
               std::string(forme);
    }
};

// Reads up to N reals; kinds D, E and Z end their values at the line feed.
template <int N>
Valeurs<N> LireReels(std::string_view ligne) {
    Valeurs<N> valeurs;
    Jetons jetons(ligne, true);
    std::string_view jeton;
    while (valeurs.lues < N && jetons.Suivant(jeton)) valeurs.Ajouter(LireReel(jeton), jeton);
    valeurs.coupee = jetons.Coupee();
    return valeurs;
}

// How many of the tokens come before the first empty one (a missing value).
long Presentes(const std::string_view* jetons, long lues) {
    long n = 0;
    while (n < lues && !jetons[n].empty()) ++n;
    return n;
}

// Whether a radius written as a not-finite number was meant as a flat face.
bool InfiniMalEcrit(std::string_view jeton) {
    std::string t;
    for (char c : jeton) t += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) t.erase(0, 1);
    return t == "inf" || t == "infinity";
}

class Lecteur {
  public:
    Lecteur(System_Physique& systeme, const std::string& nom, Rapport& rapport)
        : systeme_(systeme), nom_(nom), rapport_(rapport) {}

    // Handles one line, line `numero` of the file (`suite` when it is the rest of a longer
    // line); false when the run must end.
    bool Traiter(std::string_view ligne, int numero, bool suite) {
        numero_ = numero;
        suite_ = suite;
        if (ligne.empty()) return true;
        switch (ligne[0]) {
            case 'D':
                Diaphragme_(ligne);
                break;
            case 'E':
                Espace_(ligne);
                break;
            case 'I':
                Indice_(ligne);
                break;
            case 'L':
                return Lentille_(ligne);
            case 'S':
                Source_(ligne);
                break;
            case 'Z':
                Zoombox_(ligne);
                break;
            default:
                break;  // a comment
        }
        return true;
    }

  private:
    // A message about the line being read; `explication` says what is wrong with it.
    void Signaler(std::string_view message, std::string explication) {
        if (suite_) {
            explication +=
                "; this is the part of a line past its first 499 characters, read as a "
                "line of its own";
        }
        optic::Signaler(rapport_, message, nom_, Lieu{numero_, std::move(explication)});
    }

    void Diaphragme_(std::string_view ligne) {
        const Valeurs<6> d = LireReels<6>(ligne);
        if (const std::string defaut = d.Defaut(ligne, kFormeD, kChampsD); !defaut.empty()) {
            return Signaler(messages::kDiaphragme, "diaphragm: " + defaut);
        }
        const double epaisseur = std::fabs(d.v[2]);
        double b = std::fabs(d.v[3]);
        double c = std::fabs(d.v[4]);
        if (b > c) std::swap(b, c);
        systeme_.elements.push_back(
            Diaphragme(Point{d.v[0], d.v[1]}, epaisseur, b, c, Radians(d.v[5])));
        systeme_.provenance_elements.push_back(Lue(d.v, 6));
    }

    void Espace_(std::string_view ligne) {
        const Valeurs<1> e = LireReels<1>(ligne);
        if (const std::string defaut = e.Defaut(ligne, kFormeE, kChampsE); !defaut.empty()) {
            return Signaler(messages::kIndiceEspace, "space index: " + defaut);
        }
        if (e.v[0] < kTolerance) {
            return Signaler(messages::kIndiceEspace,
                            "space index: " + ex::Valeur("index", e.jetons[0]) +
                                " is below 1e-10; the index must be positive, such as E 1.33");
        }
        systeme_.espace.indice_espace = e.v[0];
    }

    void Indice_(std::string_view ligne) {
        Valeurs<6> n;
        Jetons jetons(ligne, false);
        std::string_view jeton;
        bool refusee = false;
        // Every value must be a positive number; the first that is not ends the reading.
        while (n.lues < 6 && jetons.Suivant(jeton)) {
            const double x = LireReel(jeton);
            if (!(x > 0) || !std::isfinite(x)) {
                refusee = true;
                break;
            }
            n.Ajouter(x, jeton);
        }
        if (n.lues < 6) {
            std::string pourquoi;
            const char* champ = kChampsI[n.lues];
            if (!refusee || jeton.empty()) {
                pourquoi = ex::Compte(n.lues, 6, kFormeI, ligne, jetons.Coupee());
            } else if (ex::Lire(jeton, false) == ex::Forme::Rien ||
                       !std::isfinite(LireReel(jeton))) {
                pourquoi = ex::PasUnNombre(champ, jeton) + "; expected " + std::string(kFormeI);
            } else {
                pourquoi = ex::Valeur(champ, jeton) +
                           " is not positive; every index and wavelength must be greater than 0";
            }
            return Signaler(messages::kIndice, "glass: " + pourquoi);
        }
        // Two equal wavelengths leave the interpolation undefined.
        for (const auto& [i, j] : {std::pair{1, 3}, std::pair{1, 5}, std::pair{3, 5}}) {
            if (n.v[i] != n.v[j]) continue;
            return Signaler(messages::kIndice,
                            "glass: wavelengths " + ex::Ecrit(n.jetons[i]) + " and " +
                                ex::Ecrit(n.jetons[j]) + " are equal (" + kChampsI[i] + " and " +
                                kChampsI[j] + "); three different wavelengths are needed");
        }
        auto indice = std::make_unique<IndiceRefraction>();
        for (int k = 0; k < 3; ++k) {
            indice->indice_n[k] = n.v[2 * k];
            indice->indice_lambda[k] = n.v[2 * k + 1];
        }
        systeme_.indices.push_back(std::move(indice));
    }

    bool Lentille_(std::string_view ligne) {
        Valeurs<7> l;
        std::string_view ecrits[8];
        int numero = 0;
        bool plane[2] = {false, false};
        int lues = 0;
        Jetons jetons(ligne, false);
        std::string_view jeton;
        bool fautive = false;
        while (lues < 8 && jetons.Suivant(jeton)) {
            ecrits[lues] = jeton;
            if (lues == 7) {
                numero = LireEntier(jeton);
            } else if ((lues == 3 || lues == 4) && jeton == "inf") {
                plane[lues - 3] = true;  // a flat face; its radius is not used
                l.Ajouter(0.0, jeton);
            } else {
                l.Ajouter(LireReel(jeton), jeton);
            }
            ++lues;
        }
        double epaisseur = 0, diametre = 0, angle = 0;
        std::string diametre_trop_grand;  // why, when it is
        if (lues == 8) {
            if (numero == 0) fautive = true;
            epaisseur = std::fabs(l.v[2]);
            diametre = std::fabs(l.v[5]);
            angle = Radians(l.v[6]);
            const double r1 = l.v[3], r2 = l.v[4];
            const bool face1 = !plane[0] && diametre >= 2 * std::fabs(r1);
            if (face1 || (!plane[1] && diametre >= 2 * std::fabs(r2))) {
                const int f = face1 ? 3 : 4;
                diametre_trop_grand = ex::Valeur("diameter", ecrits[5]) + " is too large for " +
                                      ex::Valeur(kChampsL[f], ecrits[f]) +
                                      ": it must be less than 2 x |" + kChampsL[f] +
                                      "| = " + ex::Nombre(2 * std::fabs(l.v[f]));
                Signaler(messages::kDiametre, "lens: " + diametre_trop_grand);
                fautive = true;
            }
        } else {
            fautive = true;
        }
        if (systeme_.indices.empty()) {
            Signaler(messages::kIndiceManquant,
                     "lens: no usable glass line comes before this lens line, so the run ends "
                     "here; put a glass line (" +
                         std::string(kFormeI) + ") above the lenses");
            return false;
        }
        const int nb_indices = static_cast<int>(systeme_.indices.size());
        if (fautive || !l.finies || numero < 1 || numero > nb_indices) {
            Signaler(messages::kLentille,
                     PourquoiLentille(ligne, ecrits, lues, jetons.Coupee(), l, diametre_trop_grand,
                                      numero, nb_indices));
            return true;
        }
        systeme_.elements.push_back(
            Lentille(Point{l.v[0], l.v[1]}, epaisseur, plane[0] ? kFacePlane : kFaceSpherique,
                     l.v[3], plane[1] ? kFacePlane : kFaceSpherique, l.v[4], diametre, angle,
                     systeme_.indices[static_cast<std::size_t>(numero - 1)].get()));
        Provenance& p = systeme_.provenance_elements.emplace_back(Lue(l.v, 7));
        for (int f = 0; f < 2; ++f) {
            if (plane[f])
                p.valeurs[static_cast<std::size_t>(3 + f)] =
                    std::numeric_limits<double>::infinity();
        }
        p.valeurs.push_back(numero);
        return true;
    }

    // Why a lens line is refused: its first fault in the order of its values' reading.
    static std::string PourquoiLentille(std::string_view ligne, const std::string_view* ecrits,
                                        int lues, bool coupee, const Valeurs<7>& l,
                                        const std::string& diametre_trop_grand, int numero,
                                        int nb_indices) {
        const long presentes = Presentes(ecrits, lues);
        if (presentes < 8) return "lens: " + ex::Compte(presentes, 8, kFormeL, ligne, coupee);
        if (!l.finies) {
            const int k = l.non_finie;
            const bool rayon = k == 3 || k == 4;
            return "lens: " + ex::PasUnNombre(kChampsL[k], ecrits[k]) +
                   (rayon && InfiniMalEcrit(ecrits[k]) ? "; a flat face is written inf, exactly"
                                                       : "; expected " + std::string(kFormeL));
        }
        if (!diametre_trop_grand.empty()) return "lens: " + diametre_trop_grand;
        const std::string glass = ex::Valeur("glass", ecrits[7], true);
        if (numero < 1) {
            return "lens: " + glass +
                   " names no glass; glasses are numbered 1, 2, ... in the order of the usable "
                   "glass lines above";
        }
        return "lens: " + glass + " names no glass: only " + std::to_string(nb_indices) +
               (nb_indices == 1 ? " usable glass line comes" : " usable glass lines come") +
               " before this line";
    }

    void Source_(std::string_view ligne) {
        Jetons jetons(ligne, false);
        std::string_view jeton;
        if (!jetons.Suivant(jeton)) {
            return Signaler(messages::kSource, "source: no values; expected " + FormeS(0));
        }
        const int nb = LireEntier(jeton);
        if (nb == 0) {
            return Signaler(messages::kSource,
                            jeton.empty()
                                ? "source: no values; expected " + FormeS(0)
                                : "source: " + ex::Valeur("count", jeton, true) +
                                      " gives no wavelengths; a source has 1 to 10 wavelengths");
        }
        if (nb > kLongueursOndeMax) {
            return Signaler(messages::kSource,
                            "source: " + ex::Valeur("count", jeton, true) +
                                " is above 10; a source has 1 to 10 wavelengths");
        }

        // nb wavelengths, x, y, opening, direction, width, ray count.  A negative count of
        // wavelengths reads fewer values; the ray count is then the last value read.
        const long attendues = static_cast<long>(nb) + 7;
        double v[kLongueursOndeMax + 6] = {};
        std::string_view ecrits[kLongueursOndeMax + 7] = {jeton};
        long lues = 1;
        bool finies = true;
        long non_finie = -1;
        std::string_view dernier = jeton;
        while (lues < attendues && jetons.Suivant(jeton)) {
            const double x = LireReel(jeton);
            if (!std::isfinite(x) && finies) {
                finies = false;
                non_finie = lues - 1;
            }
            v[lues - 1] = x;
            ecrits[lues] = jeton;
            dernier = jeton;
            ++lues;
        }
        const int nb_rayons = LireEntier(dernier);
        if (lues < attendues || !finies || nb_rayons == 0 || nb_rayons > kRayonsMax) {
            std::string pourquoi;
            const long presentes = Presentes(ecrits, lues);
            if (nb < 0) {
                pourquoi = ex::Valeur("count", ecrits[0], true) +
                           " is negative; a source has 1 to 10 wavelengths";
            } else if (presentes < attendues) {
                pourquoi = ex::Compte(presentes, attendues, FormeS(nb), ligne, jetons.Coupee());
            } else if (!finies) {
                const std::string champ = non_finie < nb
                                              ? "wavelength" + std::to_string(non_finie + 1)
                                              : kChampsS[non_finie - nb];
                pourquoi =
                    ex::PasUnNombre(champ, ecrits[non_finie + 1]) + "; expected " + FormeS(nb);
            } else if (nb_rayons == 0) {
                pourquoi = ex::Valeur("rays", dernier, true) +
                           " gives no rays; ask for 1 to 1000000 rays per wavelength";
            } else {
                pourquoi = ex::Valeur("rays", dernier, true) +
                           " is above 1000000, the most rays per wavelength";
            }
            return Signaler(messages::kSource, "source: " + pourquoi);
        }
        Source_polychromatique& groupe = systeme_.sources.emplace_back();
        Provenance& p = systeme_.provenance_sources.emplace_back(Lue(v, lues - 1));
        p.valeurs.insert(p.valeurs.begin(), nb);
        if (nb < 1) return;
        const double* g = v + nb;  // x, y, opening, direction, width
        const Point milieu{g[0], g[1]};
        const double ouverture = Radians(g[2]);
        const double direction = Radians(g[3]);
        const double largeur = std::fabs(g[4]);
        groupe.sources.reserve(static_cast<std::size_t>(nb));
        for (int i = 0; i < nb; ++i) {
            groupe.sources.emplace_back(std::fabs(v[i]), milieu, ouverture, direction, nb_rayons,
                                        largeur);
        }
    }

    void Zoombox_(std::string_view ligne) {
        const Valeurs<6> z = LireReels<6>(ligne);
        if (const std::string defaut = z.Defaut(ligne, kFormeZ, kChampsZ); !defaut.empty()) {
            return Signaler(messages::kZoombox, "zoombox: " + defaut);
        }
        const Zoombox zoombox = ConstruireZoombox(z.v[0], z.v[1], z.v[2], z.v[3], z.v[4], z.v[5]);
        const double cote = z.v[4], largeur = zoombox.fenetre.largeur;
        // The picture's side at the zoom used, before any check.
        const double taille = std::trunc(zoombox.fenetre.zoom * largeur + 0.5);
        if (zoombox.zoom_plafonne) {
            Signaler(messages::kZoomPlafonne,
                     "zoombox: " + ex::Valeur("pixels", z.jetons[4]) + " over a window " +
                         ex::Nombre(largeur) + " wide is " + ex::Nombre(cote / largeur) +
                         " pixels per unit; capped at 100000, the picture is " +
                         ex::Nombre(taille) + " pixels wide");
        }
        if (!zoombox.utilisable) {
            std::string pourquoi;
            if (std::isnan(zoombox.fenetre.zoom)) {
                pourquoi =
                    "the window has no extent (x2 = x1 and y2 = y1) and pixels is 0, "
                    "which gives no scale; give the window an extent";
            } else if (cote < 0) {
                pourquoi = ex::Valeur("pixels", z.jetons[4]) +
                           " is negative; a picture's side is 0 pixels or more";
            } else if (largeur < 0) {
                pourquoi =
                    "x2 < x1 and y2 < y1, so the window has no side; give the corners "
                    "with x1 < x2 or y1 < y2";
            } else {
                pourquoi = "the picture would be " + ex::Nombre(taille) +
                           " pixels wide, above 37837, the most a BMP file holds; ask for fewer "
                           "pixels";
            }
            return Signaler(messages::kZoombox, "zoombox: " + pourquoi);
        }
        systeme_.zoomboxes.push_back(zoombox.fenetre);
        systeme_.provenance_zoomboxes.push_back(Lue(z.v, 6));
    }

    // The line being read and its first n values.
    Provenance Lue(const double* v, long n) const {
        return Provenance{numero_, std::vector<double>(v, v + n)};
    }

    System_Physique& systeme_;
    const std::string& nom_;
    Rapport& rapport_;
    int numero_ = 0;
    bool suite_ = false;
};

}  // namespace

System_Physique::Lecture System_Physique::ReadSystem_Physique(std::FILE* premiere_passe,
                                                              std::FILE* seconde_passe,
                                                              const std::string& nom,
                                                              Rapport& rapport) {
    std::string ligne;
    // First pass: size the tables of glasses and zoomboxes.
    std::size_t nb_i = 0, nb_z = 0;
    for (LecteurLignes l(premiere_passe); l.Lire(ligne);) {
        if (!ligne.empty() && ligne[0] == 'I') ++nb_i;
        if (!ligne.empty() && ligne[0] == 'Z') ++nb_z;
    }
    indices.reserve(nb_i);
    zoomboxes.reserve(nb_z);

    // Second pass: build the bench line by line.  A line equal to the one just before it is
    // skipped (and the next one is compared with the emptied copy).
    Lecteur lecteur(*this, nom, rapport);
    std::string precedente;
    for (LecteurLignes l(seconde_passe); l.Lire(ligne);) {
        if (ligne == precedente) ligne.clear();
        precedente = ligne;
        if (!lecteur.Traiter(ligne, l.Numero(), l.Suite())) return Lecture::IndiceManquant;
    }
    return Lecture::Complete;
}

System_Physique::Lecture System_Physique::ReadSystem_Physique(const std::string& chemin,
                                                              Rapport& rapport) {
    struct Fermer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Fermer> premiere(std::fopen(chemin.c_str(), "r"));
    std::unique_ptr<std::FILE, Fermer> seconde(std::fopen(chemin.c_str(), "r"));
    if (!premiere || !seconde) return Lecture::Complete;  // the caller has tested the file
    return ReadSystem_Physique(premiere.get(), seconde.get(), chemin, rapport);
}

}  // namespace optic
