// Reading a bench description: one object per line, its kind given by the first character.
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "elements/diaphragme.h"
#include "elements/lentille.h"
#include "model/constantes.h"
#include "model/lecture_ligne.h"
#include "model/messages.h"
#include "model/system.h"

namespace optic {

namespace {

// Largest fan of one wavelength a source line may ask for.
constexpr int kRayonsMax = 1000000;
// Most wavelengths on one source line.
constexpr int kLongueursOndeMax = 10;

// The values of one line, and whether every one of them was a finite number.
template <int N>
struct Valeurs {
    double v[N] = {};
    int lues = 0;
    bool finies = true;

    void Ajouter(double x) {
        v[lues++] = x;
        if (!std::isfinite(x)) finies = false;
    }
};

// Reads up to N reals; kinds D, E and Z end their values at the line feed.
template <int N>
Valeurs<N> LireReels(std::string_view ligne) {
    Valeurs<N> valeurs;
    Jetons jetons(ligne, true);
    std::string_view jeton;
    while (valeurs.lues < N && jetons.Suivant(jeton)) valeurs.Ajouter(LireReel(jeton));
    return valeurs;
}

class Lecteur {
  public:
    Lecteur(System_Physique& systeme, const std::string& nom, Rapport& rapport)
        : systeme_(systeme), nom_(nom), rapport_(rapport) {}

    // Handles one line, line `numero` of the file; false when the run must end.
    bool Traiter(std::string_view ligne, int numero) {
        numero_ = numero;
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
    void Signaler(std::string_view message, std::string explication = {}) {
        optic::Signaler(rapport_, message, nom_, Lieu{numero_, std::move(explication)});
    }

    void Diaphragme_(std::string_view ligne) {
        const Valeurs<6> d = LireReels<6>(ligne);
        if (d.lues < 6 || !d.finies) return Signaler(messages::kDiaphragme);
        const double epaisseur = std::fabs(d.v[2]);
        double b = std::fabs(d.v[3]);
        double c = std::fabs(d.v[4]);
        if (b > c) std::swap(b, c);
        systeme_.elements.push_back(
            Diaphragme(Point{d.v[0], d.v[1]}, epaisseur, b, c, Radians(d.v[5])));
    }

    void Espace_(std::string_view ligne) {
        const Valeurs<1> e = LireReels<1>(ligne);
        if (e.lues < 1 || !e.finies || e.v[0] < kTolerance)
            return Signaler(messages::kIndiceEspace);
        systeme_.espace.indice_espace = e.v[0];
    }

    void Indice_(std::string_view ligne) {
        Valeurs<6> n;
        Jetons jetons(ligne, false);
        std::string_view jeton;
        // Every value must be a positive number; the first that is not ends the reading.
        while (n.lues < 6 && jetons.Suivant(jeton)) {
            const double x = LireReel(jeton);
            if (!(x > 0) || !std::isfinite(x)) break;
            n.Ajouter(x);
        }
        // Two equal wavelengths leave the interpolation undefined.
        if (n.lues < 6 || n.v[1] == n.v[3] || n.v[1] == n.v[5] || n.v[3] == n.v[5]) {
            return Signaler(messages::kIndice);
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
        int numero = 0;
        bool plane[2] = {false, false};
        int lues = 0;
        Jetons jetons(ligne, false);
        std::string_view jeton;
        bool fautive = false;
        while (lues < 8 && jetons.Suivant(jeton)) {
            if (lues == 7) {
                numero = LireEntier(jeton);
            } else if ((lues == 3 || lues == 4) && jeton == "inf") {
                plane[lues - 3] = true;  // a flat face; its radius is not used
                l.v[l.lues++] = 0.0;
            } else {
                l.Ajouter(LireReel(jeton));
            }
            ++lues;
        }
        double epaisseur = 0, diametre = 0, angle = 0;
        if (lues == 8) {
            if (numero == 0) fautive = true;
            epaisseur = std::fabs(l.v[2]);
            diametre = std::fabs(l.v[5]);
            angle = Radians(l.v[6]);
            const double r1 = l.v[3], r2 = l.v[4];
            if ((!plane[0] && diametre >= 2 * std::fabs(r1)) ||
                (!plane[1] && diametre >= 2 * std::fabs(r2))) {
                Signaler(messages::kDiametre);
                fautive = true;
            }
        } else {
            fautive = true;
        }
        if (systeme_.indices.empty()) {
            Signaler(messages::kIndiceManquant);
            return false;
        }
        const int nb_indices = static_cast<int>(systeme_.indices.size());
        if (fautive || !l.finies || numero < 1 || numero > nb_indices) {
            Signaler(messages::kLentille);
            return true;
        }
        systeme_.elements.push_back(
            Lentille(Point{l.v[0], l.v[1]}, epaisseur, plane[0] ? kFacePlane : kFaceSpherique,
                     l.v[3], plane[1] ? kFacePlane : kFaceSpherique, l.v[4], diametre, angle,
                     systeme_.indices[static_cast<std::size_t>(numero - 1)].get()));
        return true;
    }

    void Source_(std::string_view ligne) {
        Jetons jetons(ligne, false);
        std::string_view jeton;
        if (!jetons.Suivant(jeton)) return Signaler(messages::kSource);
        const int nb = LireEntier(jeton);
        if (nb == 0 || nb > kLongueursOndeMax) return Signaler(messages::kSource);

        // nb wavelengths, x, y, opening, direction, width, ray count.  A negative count of
        // wavelengths reads fewer values; the ray count is then the last value read.
        const long attendues = static_cast<long>(nb) + 7;
        double v[kLongueursOndeMax + 6] = {};
        long lues = 1;
        bool finies = true;
        std::string_view dernier = jeton;
        while (lues < attendues && jetons.Suivant(jeton)) {
            const double x = LireReel(jeton);
            if (!std::isfinite(x)) finies = false;
            v[lues - 1] = x;
            dernier = jeton;
            ++lues;
        }
        const int nb_rayons = LireEntier(dernier);
        if (lues < attendues || !finies || nb_rayons == 0 || nb_rayons > kRayonsMax) {
            return Signaler(messages::kSource);
        }
        Source_polychromatique& groupe = systeme_.sources.emplace_back();
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
        if (z.lues < 6 || !z.finies) return Signaler(messages::kZoombox);
        const Zoombox zoombox = ConstruireZoombox(z.v[0], z.v[1], z.v[2], z.v[3], z.v[4], z.v[5]);
        if (zoombox.zoom_plafonne) Signaler(messages::kZoomPlafonne);
        if (!zoombox.utilisable) return Signaler(messages::kZoombox);
        systeme_.zoomboxes.push_back(zoombox.image);
    }

    System_Physique& systeme_;
    const std::string& nom_;
    Rapport& rapport_;
    int numero_ = 0;
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
        if (!lecteur.Traiter(ligne, l.Numero())) return Lecture::IndiceManquant;
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
