#include "output/nombre.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace optic {

namespace {

// A double's 17 significant decimal digits, correctly rounded, and its decimal exponent:
// enough to write it rounded to any fewer digits without printing it again, which costs a
// report of many numbers most of its time.
struct Decimales {
    bool negatif = false;
    std::array<char, 17> chiffres{};
    int exposant = 0;
};

__extension__ typedef unsigned __int128 Entier128;

// 10^k, exact, for k in [0, 38].
constexpr Entier128 Puissance10(int k) {
    Entier128 p = 1;
    for (int i = 0; i < k; ++i) p *= 10;
    return p;
}

// The 17 digits of a finite, non-zero double and its exponent, correctly rounded, in 128-bit
// whole numbers where they suffice (magnitudes from about 1e-6 to 1e38): |value| = m 2^e is
// scaled by 10^(16 - E), E its decimal exponent, and rounded to a whole number N of 17
// digits.  False where they do not suffice, or where N is exactly half-way, which C's printf
// rounds by its own rule: there it decides.  printf, which works in long doubles, costs a
// report most of its time in WebAssembly, where those are computed in software.
bool DecomposerVite(double value, Decimales& d) {
    constexpr Entier128 kMin = Puissance10(16);
    constexpr Entier128 kMax = Puissance10(17);
    int e2 = 0;
    const double f = std::frexp(std::fabs(value), &e2);  // in [0.5, 1)
    const auto m = static_cast<std::uint64_t>(std::ldexp(f, 53));
    e2 -= 53;
    int e10 = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    for (int essai = 0; essai < 3; ++essai) {
        const int s = 16 - e10;
        Entier128 n, reste, moitie;  // n + reste / (2 moitie): the scaled value
        if (s >= 0) {
            if (s > 22) return false;  // m 10^s past 128 bits
            const Entier128 x = Entier128{m} * Puissance10(s);
            if (e2 >= 0) {
                if (e2 > 10 || (x >> (127 - e2)) != 0) return false;
                n = x << e2;
                reste = 0;
                moitie = 1;
            } else {
                const int k = -e2;
                if (k >= 127) return false;
                n = x >> k;
                reste = x & ((Entier128{1} << k) - 1);
                moitie = Entier128{1} << (k - 1);
            }
        } else {
            if (-s > 38 || e2 < 0 || e2 > 74) return false;
            const Entier128 x = Entier128{m} << e2;
            const Entier128 p = Puissance10(-s);
            n = x / p;
            reste = (x % p) * 2;  // against p: below, equal or above half
            moitie = p;
        }
        if (n >= kMax) {
            ++e10;
            continue;
        }
        if (n < kMin) {
            --e10;
            continue;
        }
        if (reste == moitie) return false;  // a tie
        if (reste > moitie) ++n;
        if (n == kMax) {
            n = kMin;
            ++e10;
        }
        d.negatif = std::signbit(value);
        for (int k = 16; k >= 0; --k) {
            d.chiffres[k] = static_cast<char>('0' + static_cast<int>(n % 10));
            n /= 10;
        }
        d.exposant = e10;
        return true;
    }
    return false;
}

Decimales Decomposer(double value) {
    Decimales d;
    if (value != 0 && DecomposerVite(value, d)) return d;
    char text[40];
    std::snprintf(text, sizeof text, "%.16e", value);  // [-]d.dddddddddddddddde[+-]XX
    const char* p = text;
    d.negatif = *p == '-';
    if (d.negatif) ++p;
    d.chiffres[0] = *p;
    for (int k = 1; k < 17; ++k) d.chiffres[k] = p[k + 1];
    d.exposant = std::atoi(p + 19);
    return d;
}

// d's digits rounded to `precision` (1 to 17) in `r`, and the exponent after rounding.  False
// where rounding those digits could differ from rounding the value itself: only when the
// digits dropped are exactly a half.
bool Arrondir(const Decimales& d, int precision, std::array<char, 18>& r, int& exposant) {
    for (int k = 0; k < precision; ++k) r[k] = d.chiffres[k];
    exposant = d.exposant;
    if (precision >= 17) return true;
    const char premier = d.chiffres[precision];
    bool reste = false;
    for (int k = precision + 1; k < 17; ++k) reste = reste || d.chiffres[k] != '0';
    if (premier == '5' && !reste) return false;
    if (premier < '5') return true;
    int k = precision - 1;
    while (k >= 0 && r[k] == '9') r[k--] = '0';
    if (k >= 0) {
        ++r[k];
    } else {
        r[0] = '1';  // 9.99 -> 10.0: the exponent grows, the digits stay as many
        ++exposant;
    }
    return true;
}

// `value` as C's "%.*g" writes it with `precision` significant digits (1 to 17), from its
// 17 digits; false where Arrondir cannot round them.
bool EcrireG(const Decimales& d, int precision, char* out) {
    std::array<char, 18> r{};
    int exposant = 0;
    if (!Arrondir(d, precision, r, exposant)) return false;
    if (d.chiffres[0] == '0') exposant = 0;  // zero: "%.16e" gives e+00 already
    char* o = out;
    if (d.negatif) *o++ = '-';
    // Trailing zeros go, and the point with them when nothing follows it.
    int utiles = precision;
    if (exposant < precision && exposant >= -4) {
        const int entiers = exposant >= 0 ? exposant + 1 : 0;
        while (utiles > entiers && r[utiles - 1] == '0') --utiles;
        if (exposant < 0) {
            *o++ = '0';
            *o++ = '.';
            for (int k = 0; k < -exposant - 1; ++k) *o++ = '0';
            for (int k = 0; k < utiles; ++k) *o++ = r[k];
        } else {
            for (int k = 0; k < entiers; ++k) *o++ = r[k];
            if (utiles > entiers) *o++ = '.';
            for (int k = entiers; k < utiles; ++k) *o++ = r[k];
        }
        *o = '\0';
        return true;
    }
    while (utiles > 1 && r[utiles - 1] == '0') --utiles;
    *o++ = r[0];
    if (utiles > 1) *o++ = '.';
    for (int k = 1; k < utiles; ++k) *o++ = r[k];
    *o++ = 'e';
    *o++ = exposant < 0 ? '-' : '+';
    const int a = exposant < 0 ? -exposant : exposant;  // at most 324
    if (a >= 100) *o++ = static_cast<char>('0' + a / 100);
    *o++ = static_cast<char>('0' + a / 10 % 10);
    *o++ = static_cast<char>('0' + a % 10);
    *o = '\0';
    return true;
}

void Ecrire(const Decimales& d, double value, int precision, char* out, std::size_t taille) {
    if (!EcrireG(d, precision, out)) std::snprintf(out, taille, "%.*g", precision, value);
}

// The double that `digits` of d's digits, rounded, read back as, where one multiplication or
// division of exact numbers gives it correctly rounded: a whole number of at most 2^53 by a
// power of ten of at most 1e22, both exact.  Reading back with strtod costs a report written
// in WebAssembly most of its time.  NaN where that does not apply.
double RelireVite(const Decimales& d, int digits) {
    constexpr double kEntierExact = 9007199254740992.0;  // 2^53
    constexpr std::array<double, 23> kPuissances = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (digits >= 17) return std::nan("");
    std::array<char, 18> r{};
    int exposant = 0;
    if (!Arrondir(d, digits, r, exposant)) return std::nan("");  // a half: left to strtod
    double entier = 0;
    for (int k = 0; k < digits; ++k) entier = entier * 10 + (r[k] - '0');
    const int puissance = exposant - (digits - 1);
    if (entier > kEntierExact || puissance > 22 || puissance < -22) return std::nan("");
    const double lu =
        puissance >= 0 ? entier * kPuissances[puissance] : entier / kPuissances[-puissance];
    return d.negatif ? -lu : lu;
}

// Whether `value` written with this many digits reads back as itself.
bool Relu(const Decimales& d, double value, int digits, char* text, std::size_t taille) {
    if (digits >= 17) return true;
    const double vite = RelireVite(d, digits);
    if (!std::isnan(vite)) return vite == value;
    Ecrire(d, value, digits, text, taille);
    return std::strtod(text, nullptr) == value;
}

}  // namespace

std::string Shortest(double value) {
    char text[32];
    return std::string(text, Shortest(value, text));
}

std::size_t Shortest(double value, char (&text)[32]) {
    if (!std::isfinite(value)) {  // "inf", "-inf", "nan": as C writes them at any precision
        return static_cast<std::size_t>(std::snprintf(text, sizeof text, "%g", value));
    }
    const Decimales d = Decomposer(value);
    // The n-digit rounding of a double comes nearer to it as n grows, and the doubles that read
    // back as it lie as far on either side, but for a power of two, where those below lie half
    // as far: elsewhere the fewest digits that read back are found by halving the range.
    int binade = 0;
    int digits = 1;
    if (std::fabs(std::frexp(value, &binade)) == 0.5) {
        while (!Relu(d, value, digits, text, sizeof text)) ++digits;
    } else {
        int lo = 1;
        int hi = 17;
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (Relu(d, value, mid, text, sizeof text))
                hi = mid;
            else
                lo = mid + 1;
        }
        digits = lo;
    }
    Ecrire(d, value, digits, text, sizeof text);
    // %g turns to an exponent once it exceeds the digits asked for: whole numbers up to
    // 1e17 are written out in full ("550", not "5.5e+02").
    const char* e = std::strchr(text, 'e');
    const int exponent = e ? std::atoi(e + 1) : 0;
    if (exponent >= digits && exponent < 17) Ecrire(d, value, exponent + 1, text, sizeof text);
    return std::strlen(text);
}

}  // namespace optic
