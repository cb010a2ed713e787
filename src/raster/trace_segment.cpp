// Drawing a segment: points one pixel apart along its major axis.  The walk along that axis
// adds one step at a time (as the pictures have always been drawn); it is taken in runs of
// exactly known points (see Marche), each clipped to the view before anything is plotted,
// so that no time is spent on points that fall outside the picture or the view's rows.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>

#include <utility>
#endif

#include "raster/image.h"
#include "raster/marche.h"

namespace optic {

namespace {

// Where a coordinate's pixel falls with respect to the index range [lo, hi): -1 before it
// (a negative or not-a-number position included), 0 inside, +1 after.  Plotting keeps a
// point when both its coordinates are inside.
int Position(double v, double decalage, double zoom, int lo, int hi) {
    const double p = (v + decalage) * zoom;
    if (!(p >= 0)) return -1;
    const double c = p + 0.5;
    if (c < lo) return -1;
    return c < hi ? 0 : 1;
}

// The first j in [0, n] where a monotone predicate (false, then true; true at n) holds,
// searched outwards from an estimate.
template <typename Predicat>
std::int64_t Premier(Predicat vrai, std::int64_t n, double estimation) {
    std::int64_t e = 0;
    if (estimation >= static_cast<double>(n))
        e = n;
    else if (estimation > 0)
        e = static_cast<std::int64_t>(estimation);
    auto test = [&](std::int64_t j) { return j >= n || vrai(j); };
    std::int64_t faux, juste;  // test(faux) false (or faux = -1), test(juste) true
    if (test(e)) {
        juste = e;
        for (std::int64_t pas = 1;; pas *= 2) {
            faux = juste - pas;
            if (faux < 0) {
                faux = -1;
                break;
            }
            if (!test(faux)) break;
            juste = faux;
        }
    } else {
        faux = e;
        for (std::int64_t pas = 1;; pas *= 2) {
            juste = std::min(faux + pas, n);
            if (test(juste)) break;
            faux = juste;
        }
    }
    while (juste - faux > 1) {
        const std::int64_t milieu = faux + (juste - faux) / 2;
        (test(milieu) ? juste : faux) = milieu;
    }
    return juste;
}

// One batch of a run's points: their pixels and whether each is kept.  The tests are
// TracePoint's own, written without branches so that the loop vectorises.
struct Lot {
    static constexpr int kTaille = 64;
    // Byte offsets from row 0's first pixel (while the picture is below 2 GiB); the column
    // and row otherwise.
    std::int32_t decalages[kTaille];
    std::int32_t colonnes[kTaille];
    std::int32_t rangs[kTaille];
    // The words of coverage of their pixels (see Image::couverts), which always fit.
    std::int32_t mots[kTaille];
};

struct Parametres {
    double origine, increment;  // the run
    double l_maj, l_min, d_min, d_maj;
    double decalage_x, decalage_y, zoom;
    std::int32_t pas_ligne;   // bytes from one row to the next, when below 2 GiB
    std::int32_t rang0;       // the row offsets count from
    std::int32_t mots_ligne;  // words of coverage from one row to the next
};

// The pixel of the point numbered k (a whole number) in a run.
template <bool XMajeur>
[[gnu::always_inline]] inline void PixelDuPoint(const Parametres& p, double k,
                                                std::int32_t& colonne, std::int32_t& rang) {
    const double t = p.origine + k * p.increment;
    const double m = p.l_min + (t - p.l_maj) * p.d_min / p.d_maj;
    const double px = ((XMajeur ? t : m) + p.decalage_x) * p.zoom;
    const double py = ((XMajeur ? m : t) + p.decalage_y) * p.zoom;
    colonne = static_cast<std::int32_t>(px + 0.5);
    rang = static_cast<std::int32_t>(py + 0.5);
}

#if defined(__wasm_simd128__)
// The same arithmetic, operation for operation, in WebAssembly's two-lane registers: its
// compiler does not turn the conversions to integers into vector instructions by itself.
// Columns and rows of the points numbered k (two whole numbers), in the two low lanes.
template <bool XMajeur>
[[gnu::always_inline]] inline std::pair<v128_t, v128_t> DeuxPixels(const Parametres& p, v128_t k) {
    const v128_t t = wasm_f64x2_add(wasm_f64x2_splat(p.origine),
                                    wasm_f64x2_mul(k, wasm_f64x2_splat(p.increment)));
    const v128_t m = wasm_f64x2_add(
        wasm_f64x2_splat(p.l_min),
        wasm_f64x2_div(
            wasm_f64x2_mul(wasm_f64x2_sub(t, wasm_f64x2_splat(p.l_maj)), wasm_f64x2_splat(p.d_min)),
            wasm_f64x2_splat(p.d_maj)));
    const v128_t zoom = wasm_f64x2_splat(p.zoom), demi = wasm_f64x2_splat(0.5);
    const v128_t px =
        wasm_f64x2_mul(wasm_f64x2_add(XMajeur ? t : m, wasm_f64x2_splat(p.decalage_x)), zoom);
    const v128_t py =
        wasm_f64x2_mul(wasm_f64x2_add(XMajeur ? m : t, wasm_f64x2_splat(p.decalage_y)), zoom);
    return std::pair{wasm_i32x4_trunc_sat_f64x2_zero(wasm_f64x2_add(px, demi)),
                     wasm_i32x4_trunc_sat_f64x2_zero(wasm_f64x2_add(py, demi))};
}

// A batch's points four at a time; the lanes past n are computed and ignored.
template <bool XMajeur>
void Calculer(const Parametres& p, double base, int n, Lot& lot) {
    const v128_t pas_ligne = wasm_i32x4_splat(p.pas_ligne), trois = wasm_i32x4_splat(3);
    const v128_t rang0 = wasm_i32x4_splat(p.rang0);
    const v128_t mots_ligne = wasm_i32x4_splat(p.mots_ligne);
    auto pixels = [&](int i) {
        return DeuxPixels<XMajeur>(
            p, wasm_f64x2_make(base + static_cast<double>(i), base + static_cast<double>(i + 1)));
    };
    static_assert(Lot::kTaille % 4 == 0);
    for (int i = 0; i < n; i += 4) {
        const auto [c0, r0] = pixels(i);
        const auto [c1, r1] = pixels(i + 2);
        const v128_t colonnes = wasm_i32x4_shuffle(c0, c1, 0, 1, 4, 5);
        const v128_t rangs = wasm_i32x4_shuffle(r0, r1, 0, 1, 4, 5);
        wasm_v128_store(lot.colonnes + i, colonnes);
        wasm_v128_store(lot.rangs + i, rangs);
        // Wrapping arithmetic, as below.
        wasm_v128_store(lot.decalages + i,
                        wasm_i32x4_add(wasm_i32x4_mul(wasm_i32x4_sub(rangs, rang0), pas_ligne),
                                       wasm_i32x4_mul(colonnes, trois)));
        wasm_v128_store(lot.mots + i, wasm_i32x4_add(wasm_i32x4_mul(rangs, mots_ligne),
                                                     wasm_i32x4_shr(colonnes, 6)));
    }
}

// The pixels of the points numbered k[i], i < n (whole numbers; one past an odd n read and
// computed too).
template <bool XMajeur>
void Echantillonner(const Parametres& p, const double* k, int n, std::int32_t* colonnes,
                    std::int32_t* rangs) {
    for (int i = 0; i < n; i += 2) {
        const auto [c, r] = DeuxPixels<XMajeur>(p, wasm_v128_load(k + i));
        colonnes[i] = wasm_i32x4_extract_lane(c, 0);
        colonnes[i + 1] = wasm_i32x4_extract_lane(c, 1);
        rangs[i] = wasm_i32x4_extract_lane(r, 0);
        rangs[i + 1] = wasm_i32x4_extract_lane(r, 1);
    }
}
#else
// The pixels of the points numbered k[i], i < n (whole numbers).
template <bool XMajeur>
[[gnu::always_inline]] inline void Echantillonner(const Parametres& p, const double* k, int n,
                                                  std::int32_t* colonnes, std::int32_t* rangs) {
    for (int i = 0; i < n; ++i) PixelDuPoint<XMajeur>(p, k[i], colonnes[i], rangs[i]);
}

// The pixels of a batch of points known to fall in the view (the walk is clipped first, with
// TracePoint's own tests: see Parcours).  Written so that the loop vectorises.
template <bool XMajeur>
[[gnu::always_inline]] inline void Calculer(const Parametres& p, double base, int n, Lot& lot) {
    for (int i = 0; i < n; ++i) {
        std::int32_t colonne, rang;
        PixelDuPoint<XMajeur>(p, base + static_cast<double>(i), colonne, rang);
        lot.colonnes[i] = colonne;
        lot.rangs[i] = rang;
        // Wrapping arithmetic: the value is only used when it cannot wrap.
        lot.decalages[i] = static_cast<std::int32_t>(
            (static_cast<std::uint32_t>(rang) - static_cast<std::uint32_t>(p.rang0)) *
                static_cast<std::uint32_t>(p.pas_ligne) +
            3u * static_cast<std::uint32_t>(colonne));
        lot.mots[i] = rang * p.mots_ligne + (colonne >> 6);
    }
}
#endif

// The same arithmetic on every processor, in wider registers where there are some (x86 has
// versions for its widths; other targets, WebAssembly among them, have one).
#if defined(__x86_64__)
#define OPTIC_VERSIONS __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define OPTIC_VERSIONS
#endif
OPTIC_VERSIONS void CalculerX(const Parametres& p, double base, int n, Lot& lot) {
    Calculer<true>(p, base, n, lot);
}
OPTIC_VERSIONS void CalculerY(const Parametres& p, double base, int n, Lot& lot) {
    Calculer<false>(p, base, n, lot);
}
#undef OPTIC_VERSIONS

// Whether every pixel of columns c0..c1 of rows r0..r1 is covered already.  It stops at the
// first word that is not: a rectangle of many rows costs little where it fails at once, and
// where rays crowd it is often covered whole.
bool Couverts(const Image& image, int r0, int r1, int c0, int c1) {
    const int m0 = c0 >> 6, m1 = c1 >> 6;
    const std::uint64_t debut = ~std::uint64_t{0} << (c0 & 63);
    const std::uint64_t fin = ~std::uint64_t{0} >> (63 - (c1 & 63));
    const std::ptrdiff_t pas = image.mots_ligne;
    const std::uint64_t* mots = image.couverts + r0 * pas;
    const std::uint64_t* const dernier = image.couverts + r1 * pas;
    // The rectangle's width decides the test for every row: within one word, or across
    // several.
    if (m0 == m1) {
        const std::uint64_t masque = debut & fin;
        for (; mots <= dernier; mots += pas) {
            if ((mots[m0] & masque) != masque) return false;
        }
        return true;
    }
    for (; mots <= dernier; mots += pas) {
        if ((mots[m0] & debut) != debut || (mots[m1] & fin) != fin) return false;
        for (int m = m0 + 1; m < m1; ++m) {
            if (mots[m] != ~std::uint64_t{0}) return false;
        }
    }
    return true;
}

// Plots, with poser(i), the points i < n of a batch (computed into `lot` by calculer(g, m):
// its m points from g on) whose pixels are not covered yet, and covers them.  Along a run
// both pixel coordinates move one way, so the points of a group lie in the rectangle of its
// first point and the next group's: the pixels of every kGroupe-th point and the last, found
// first with echantillons(k, m, colonnes, rangs) (those of the points k[i] of the batch, i <
// m), tell which groups are covered already, as most are where rays crowd, and only the
// others' points are computed.
template <typename Echantillons, typename Calculer, typename Poser>
void Couvrir(const Image& image, Lot& lot, int n, Echantillons echantillons, Calculer calculer,
             Poser poser) {
    constexpr int kGroupe = 16;
    constexpr int kEchantillons = Lot::kTaille / kGroupe + 2;  // and one past them
    const int groupes = (n + kGroupe - 1) / kGroupe;
    double k[kEchantillons];
    for (int g = 0; g < groupes; ++g) k[g] = g * kGroupe;
    for (int g = groupes; g < kEchantillons; ++g) k[g] = n - 1;
    std::int32_t colonnes[kEchantillons], rangs[kEchantillons];
    echantillons(k, groupes + 1, colonnes, rangs);
    for (int g = 0; g < groupes; ++g) {
        if (Couverts(image, std::min(rangs[g], rangs[g + 1]), std::max(rangs[g], rangs[g + 1]),
                     std::min(colonnes[g], colonnes[g + 1]),
                     std::max(colonnes[g], colonnes[g + 1]))) {
            continue;
        }
        const int m = std::min(kGroupe, n - g * kGroupe);
        calculer(g * kGroupe, m);
        // Held apart from `image`: the pixels written in between could alias its fields.
        std::uint64_t* const couverts = image.couverts;
        for (int i = 0; i < m; ++i) {
            const int c = lot.colonnes[i];
            std::uint64_t& mot = couverts[lot.mots[i]];
            const std::uint64_t bit = std::uint64_t{1} << (c & 63);
            if (mot & bit) continue;
            mot |= bit;
            poser(i);
        }
    }
}

// Plots the points j0 <= j < j1 of a run of a segment's walk, all known to fall in the view.
void Noyau(const Image& image, bool x_majeur, const Marche::Troncon& r, std::int64_t j0,
           std::int64_t j1, double l_maj, double l_min, double d_min, double d_maj, Pixel couleur) {
    const std::ptrdiff_t pas_ligne = image.pas_ligne;
    const bool petite = -pas_ligne * static_cast<std::ptrdiff_t>(image.taille) < INT32_MAX;
    const Parametres p{r.origine,
                       r.increment,
                       l_maj,
                       l_min,
                       d_min,
                       d_maj,
                       image.decalage_x,
                       image.decalage_y,
                       image.zoom,
                       petite ? static_cast<std::int32_t>(pas_ligne) : 0,
                       image.rang_debut,
                       static_cast<std::int32_t>(image.mots_ligne)};
    auto calculer = x_majeur ? CalculerX : CalculerY;
    std::uint8_t* const pixels = image.pixels;
    // Blue and green in one store, red in another.
    const std::uint16_t bleu_vert = static_cast<std::uint16_t>(couleur.bleu | couleur.vert << 8);
    auto poser = [&](std::uint8_t* q) {
        std::memcpy(q, &bleu_vert, 2);
        q[2] = couleur.rouge;
    };
    // Where pixels already covered are kept, a batch whose first and last points' rectangle
    // is covered holds nothing to draw (both pixel coordinates move one way along a run).
    auto couvert = [&](std::int64_t a, std::int64_t b) {
        std::int32_t ca, ra, cb, rb;
        if (x_majeur) {
            PixelDuPoint<true>(p, static_cast<double>(a), ca, ra);
            PixelDuPoint<true>(p, static_cast<double>(b), cb, rb);
        } else {
            PixelDuPoint<false>(p, static_cast<double>(a), ca, ra);
            PixelDuPoint<false>(p, static_cast<double>(b), cb, rb);
        }
        // However steep the walk, the batch's rectangle is looked up: where rays crowd, it is
        // covered more often than not.
        return Couverts(image, std::min(ra, rb), std::max(ra, rb), std::min(ca, cb),
                        std::max(ca, cb));
    };
    // A batch of a nearly horizontal walk often lies in one row, on neighbouring columns:
    // then it is one run of pixels, written at once.  Its first and last points give the row
    // (rows move one way along a run); the columns step by exactly one when the first
    // point's column is far enough from a rounding boundary, the walk's steps being one
    // pixel to within far less than that.
    const double derive =
        1e-14 * (1 + std::fabs(r.origine * image.zoom) + std::fabs(image.decalage_x * image.zoom));
    const bool horizontal = x_majeur && !image.couverts && 64 * std::fabs(d_min) < std::fabs(d_maj);
    std::uint8_t motif[3 * Lot::kTaille];
    if (horizontal) {
        for (int i = 0; i < Lot::kTaille; ++i) {
            motif[3 * i] = couleur.bleu;
            motif[3 * i + 1] = couleur.vert;
            motif[3 * i + 2] = couleur.rouge;
        }
    }
    auto une_rangee = [&](std::int64_t a, int n) {
        std::int32_t ca, ra, cb, rb;
        PixelDuPoint<true>(p, static_cast<double>(a), ca, ra);
        PixelDuPoint<true>(p, static_cast<double>(a + n - 1), cb, rb);
        if (ra != rb || cb - ca != n - 1) return false;
        const double c =
            (r.origine + static_cast<double>(a) * r.increment + image.decalage_x) * image.zoom +
            0.5;
        const double reste = c - std::floor(c);
        const double marge = n * derive + 1e-9;
        if (!(reste > marge && reste < 1 - marge)) return false;
        std::memcpy(image.Ligne(ra) + 3 * static_cast<std::ptrdiff_t>(ca), motif,
                    3 * static_cast<std::size_t>(n));
        return true;
    };
    Lot lot;
    for (std::int64_t j = j0; j < j1; j += Lot::kTaille) {
        const int n = static_cast<int>(std::min<std::int64_t>(Lot::kTaille, j1 - j));
        if (image.couverts) {
            if (couvert(j, j + n - 1)) continue;
            // Step numbers are exact in doubles.
            auto echantillons = [&](double* k, int m, std::int32_t* colonnes, std::int32_t* rangs) {
                for (int i = 0; i <= m; ++i) k[i] += static_cast<double>(j);
                if (x_majeur) {
                    Echantillonner<true>(p, k, m, colonnes, rangs);
                } else {
                    Echantillonner<false>(p, k, m, colonnes, rangs);
                }
            };
            Couvrir(
                image, lot, n, echantillons,
                [&](int g, int m) { calculer(p, static_cast<double>(j + g), m, lot); },
                [&](int i) {
                    poser(petite ? pixels + lot.decalages[i]
                                 : image.Ligne(lot.rangs[i]) +
                                       3 * static_cast<std::ptrdiff_t>(lot.colonnes[i]));
                });
            continue;
        }
        if (horizontal && une_rangee(j, n)) continue;
        // Step numbers are exact in doubles.
        calculer(p, static_cast<double>(j), n, lot);
        if (petite) {
            for (int i = 0; i < n; ++i) poser(pixels + lot.decalages[i]);
        } else {
            for (int i = 0; i < n; ++i) {
                poser(image.Ligne(lot.rangs[i]) + 3 * static_cast<std::ptrdiff_t>(lot.colonnes[i]));
            }
        }
    }
}

// One segment's walk: the major coordinate t steps from `debut`; the minor coordinate is
// l_min + (t - l_maj) * d_min / d_maj.
struct Parcours {
    const Image& image;
    bool x_majeur;
    double l_maj, l_min, d_min, d_maj;
    Pixel couleur;

    double Mineur(double t) const { return l_min + (t - l_maj) * d_min / d_maj; }
    double DecalageMajeur() const { return x_majeur ? image.decalage_x : image.decalage_y; }
    double DecalageMineur() const { return x_majeur ? image.decalage_y : image.decalage_x; }
    // Index ranges along each axis: the view's rows along y, the whole picture along x.
    int LoMajeur() const { return x_majeur ? 0 : image.rang_debut; }
    int HiMajeur() const { return x_majeur ? image.taille : image.rang_fin; }
    int LoMineur() const { return x_majeur ? image.rang_debut : 0; }
    int HiMineur() const { return x_majeur ? image.rang_fin : image.taille; }

    void Point(double t) const {
        const double m = Mineur(t);
        TracePoint(image, x_majeur ? t : m, x_majeur ? m : t, couleur);
    }

    // Plots the points j < n of a run, after cutting away those outside the view: the
    // pixel of the major coordinate only moves forward along the run, that of the minor
    // one moves one way, so the points kept form one stretch.
    void Troncon(const Marche::Troncon& r, std::int64_t n) const {
        if (n <= 0) return;
        const double zoom = image.zoom;
        auto t_de = [&](std::int64_t j) {
            return r.origine + static_cast<double>(j) * r.increment;
        };
        auto pos_majeur = [&](std::int64_t j) {
            return Position(t_de(j), DecalageMajeur(), zoom, LoMajeur(), HiMajeur());
        };
        auto pos_mineur = [&](std::int64_t j) {
            return Position(Mineur(t_de(j)), DecalageMineur(), zoom, LoMineur(), HiMineur());
        };
        // Estimates of where a coordinate crosses a pixel boundary, from the straight line.
        auto j_majeur = [&](double bord) {
            return ((bord - 0.5) / zoom - DecalageMajeur() - r.origine) / r.increment;
        };
        const double pente = d_min / d_maj;
        auto j_mineur = [&](double bord) {
            const double m = (bord - 0.5) / zoom - DecalageMineur();
            return ((m - l_min) / pente + l_maj - r.origine) / r.increment;
        };
        std::int64_t a = 0, b = n;
        // Along the major axis the pixel only moves forward.
        const int premier_majeur = pos_majeur(0), dernier_majeur = pos_majeur(n - 1);
        if (premier_majeur > 0 || dernier_majeur < 0) return;
        if (premier_majeur < 0) {
            a = Premier([&](std::int64_t j) { return pos_majeur(j) >= 0; }, n,
                        j_majeur(LoMajeur()));
        }
        if (dernier_majeur > 0) {
            b = Premier([&](std::int64_t j) { return pos_majeur(j) > 0; }, n, j_majeur(HiMajeur()));
        }
        // Along the minor axis it moves one way: turned round, a falling pixel rises.
        const int sens = !std::signbit(d_min) == !std::signbit(d_maj) ? 1 : -1;
        const int premier_mineur = sens * pos_mineur(0), dernier_mineur = sens * pos_mineur(n - 1);
        if (premier_mineur > 0 || dernier_mineur < 0) return;
        if (premier_mineur < 0) {
            a = std::max(a, Premier([&](std::int64_t j) { return sens * pos_mineur(j) >= 0; }, n,
                                    j_mineur(sens > 0 ? LoMineur() : HiMineur())));
        }
        if (dernier_mineur > 0) {
            b = std::min(b, Premier([&](std::int64_t j) { return sens * pos_mineur(j) > 0; }, n,
                                    j_mineur(sens > 0 ? HiMineur() : LoMineur())));
        }
        if (a < b) {
            Noyau(image, x_majeur, r, a, b, l_maj, l_min, d_min, d_maj, couleur);
        }
    }

    static constexpr std::int64_t kPetitTroncon = 6;

    void Marcher(double debut, double fin, double pas) const {
        // Past this many steps every point lies beyond the picture.
        const std::int64_t limite = static_cast<std::int64_t>(image.taille) + 2;
        // Coordinates this large make the pixel arithmetic lose its monotony; walk them
        // point by point.
        constexpr double kGrand = 1e150;
        if (!(std::fabs(l_maj) < kGrand && std::fabs(l_min) < kGrand && std::fabs(d_maj) < kGrand &&
              std::fabs(d_min) < kGrand)) {
            double t = debut;
            for (std::int64_t k = 0; k <= limite && t < fin; ++k, t += pas) Point(t);
            return;
        }
        // When both ends of the walk fall well inside the view, so does every point between
        // (each pixel coordinate moves one way along the walk): no run needs clipping.
        auto loin_des_bords = [&](double v, double decalage, int lo, int hi) {
            const double c = (v + decalage) * image.zoom + 0.5;
            return c >= lo + 1 && c < hi - 1;
        };
        const bool libre =
            loin_des_bords(debut, DecalageMajeur(), LoMajeur(), HiMajeur()) &&
            loin_des_bords(fin, DecalageMajeur(), LoMajeur(), HiMajeur()) &&
            loin_des_bords(Mineur(debut), DecalageMineur(), LoMineur(), HiMineur()) &&
            loin_des_bords(Mineur(fin), DecalageMineur(), LoMineur(), HiMineur());
        auto tracer = [&](const Marche::Troncon& r, std::int64_t n) {
            if (libre) {
                Noyau(image, x_majeur, r, 0, n, l_maj, l_min, d_min, d_maj, couleur);
            } else {
                Troncon(r, n);
            }
        };
        Marche marche(debut, pas);
        for (;;) {
            const Marche::Troncon r = marche.Suivant(limite + 1);
            if (r.nombre == 0) return;
            const std::int64_t dernier = r.nombre - 1;
            auto avant_fin = [&](std::int64_t j) { return r.Valeur(r.premier + j) < fin; };
            // A walk whose step is lost in rounding stands still: one point, again and again.
            if (r.increment == 0) {
                if (avant_fin(0)) Troncon(r, 1);
                return;
            }
            // Runs of a few points (near zero a binade holds one or two) go point by point.
            if (r.nombre <= kPetitTroncon) {
                for (std::int64_t j = 0; j < r.nombre; ++j) {
                    if (!avant_fin(j)) return;
                    Point(r.Valeur(r.premier + j));
                }
                continue;
            }
            if (avant_fin(dernier)) {
                tracer(r, r.nombre);
                continue;
            }
            tracer(r, Premier([&](std::int64_t j) { return !avant_fin(j); }, r.nombre,
                              (fin - r.origine) / r.increment));
            return;
        }
    }
};

}  // namespace

void TraceSegment(const Image& image, Point a, Point b, Pixel couleur) {
    if (image.taille <= 0) return;
    const double pas = 1.0 / image.zoom;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    if (std::fabs(dx) < pas && std::fabs(dy) < pas) {
        TracePoint(image, (a.x + b.x) / 2, (a.y + b.y) / 2, couleur);
        return;
    }
    if (std::fabs(dx) > std::fabs(dy)) {
        const optic::Point& l = a.x <= b.x ? a : b;
        const optic::Point& h = a.x <= b.x ? b : a;
        const double debut = image.decalage_x + l.x > 0 ? l.x : image.XMin();
        double fin = image.decalage_x + h.x < image.largeur ? h.x : image.XMax();
        fin = fin + pas / 2;
        Parcours{image, true, l.x, l.y, dy, dx, couleur}.Marcher(debut, fin, pas);
    } else {
        const optic::Point& l = a.y <= b.y ? a : b;
        const optic::Point& h = a.y <= b.y ? b : a;
        const double debut = image.decalage_y + l.y > 0 ? l.y : image.YMin();
        double fin = image.decalage_y + h.y < image.largeur ? h.y : image.YMax();
        fin = fin + pas / 2;
        Parcours{image, false, l.y, l.x, dx, dy, couleur}.Marcher(debut, fin, pas);
    }
}

double PointsDuSegment(const Image& image, Point a, Point b) {
    const double pas = 1.0 / image.zoom;
    const double dx = b.x - a.x, dy = b.y - a.y;
    if (std::fabs(dx) < pas && std::fabs(dy) < pas) return 1;
    const bool x_majeur = std::fabs(dx) > std::fabs(dy);
    const double decalage = x_majeur ? image.decalage_x : image.decalage_y;
    const double lo = std::max(x_majeur ? std::min(a.x, b.x) : std::min(a.y, b.y), -decalage);
    const double hi =
        std::min(x_majeur ? std::max(a.x, b.x) : std::max(a.y, b.y), image.largeur - decalage);
    return hi < lo ? 0 : std::min(std::floor((hi - lo) / pas) + 1, image.taille + 3.0);
}

}  // namespace optic
