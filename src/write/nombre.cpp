#include "write/nombre.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace optic {

namespace {

__extension__ typedef unsigned __int128 Entier128;
__extension__ typedef __int128 Relatif128;

// A double's 17 significant decimal digits, correctly rounded, and its decimal exponent:
// enough to write it rounded to any fewer digits without printing it again, which costs a
// report of many numbers most of its time.
struct Decimales {
    bool negatif = false;
    std::array<char, 17> chiffres{};
    int exposant = 0;
    std::uint64_t entier = 0;  // the 17 digits as one whole number
    // Where the digits come from whole numbers: |value| 10^(16 - e10) is exactly
    // n + reste / (2 moitie), and `demi`, half the gap between |value| and the next double
    // up, is demi / (4 moitie) on that scale; the gap down is half as wide at a power of two.
    bool exacte = false;
    int e10 = 0;
    Entier128 n = 0, reste = 0, moitie = 1, demi = 0;
    bool pair = false;        // the last binary digit 0: a tie reads back as this value
    bool puissance2 = false;  // the first double down is half as near
};

// b^0 to b^n, exact: n at most 38 for 10, 55 for 5.
template <unsigned b, int n>
constexpr std::array<Entier128, n + 1> Puissances() {
    std::array<Entier128, n + 1> p{};
    p[0] = 1;
    for (int i = 1; i <= n; ++i) p[i] = p[i - 1] * b;
    return p;
}
constexpr auto kPuissances10 = Puissances<10, 38>();
constexpr auto kPuissances5 = Puissances<5, 32>();

// The 17 digits of a finite, non-zero double and its exponent, correctly rounded, in 128-bit
// whole numbers where they suffice (magnitudes from about 1e-16 to 1e38): |value| = m 2^e is
// scaled by 10^(16 - E) = 5^(16 - E) 2^(16 - E), E its decimal exponent, and rounded to a
// whole number N of 17 digits.  False where they do not suffice, or where N is exactly half-way,
// which C's printf rounds by its own rule: there it decides.  printf, which works in long doubles,
// costs a report most of its time in WebAssembly, where those are computed in software.
bool DecomposerVite(double value, Decimales& d) {
    constexpr Entier128 kMin = kPuissances10[16];
    constexpr Entier128 kMax = kPuissances10[17];
    int e2 = 0;
    const double f = std::frexp(std::fabs(value), &e2);  // in [0.5, 1)
    const auto m = static_cast<std::uint64_t>(std::ldexp(f, 53));
    e2 -= 53;
    // |value| lies in [2^(e2 + 52), 2^(e2 + 53)): its decimal exponent is this or one more,
    // which the loop below finds (a logarithm costs more, in WebAssembly, than a try).
    constexpr double kLog10De2 = 0.30102999566398120;
    int e10 = static_cast<int>(std::floor((e2 + 52) * kLog10De2));
    for (int essai = 0; essai < 3; ++essai) {
        const int s = 16 - e10;
        Entier128 n, reste, moitie;  // n + reste / (2 moitie): the scaled value
        if (s >= 0) {
            if (s > 32) return false;  // m 5^s past 128 bits
            const Entier128 x = Entier128{m} * kPuissances5[s];
            const int e = e2 + s;
            if (e >= 0) {
                if (e > 10 || (x >> (127 - e)) != 0) return false;
                n = x << e;
                reste = 0;
                moitie = 1;
                d.demi = kPuissances5[s] << (e + 1);
            } else {
                const int k = -e;
                if (k >= 127) return false;
                n = x >> k;
                reste = x & ((Entier128{1} << k) - 1);
                moitie = Entier128{1} << (k - 1);
                d.demi = kPuissances5[s];
            }
        } else {
            if (-s > 38 || e2 < 0 || e2 > 74) return false;
            const Entier128 x = Entier128{m} << e2;
            const Entier128 p = kPuissances10[-s];
            n = x / p;
            reste = (x % p) * 2;  // against p: below, equal or above half
            moitie = p;
            d.demi = Entier128{1} << (e2 + 1);
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
        d.exacte = true;
        d.e10 = e10;
        d.n = n;
        d.reste = reste;
        d.moitie = moitie;
        d.pair = (m & 1) == 0;
        d.puissance2 = m == std::uint64_t{1} << 52;
        if (reste > moitie) ++n;
        if (n == kMax) {
            n = kMin;
            ++e10;
        }
        d.negatif = std::signbit(value);
        d.entier = static_cast<std::uint64_t>(n);
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
    if (value == 0) {  // as "%.16e" writes it: 17 zeros, exponent 0, the sign kept
        d.negatif = std::signbit(value);
        d.chiffres.fill('0');
        return d;
    }
    if (DecomposerVite(value, d)) return d;
    char text[40];
    std::snprintf(text, sizeof text, "%.16e", value);  // [-]d.dddddddddddddddde[+-]XX
    const char* p = text;
    d.negatif = *p == '-';
    if (d.negatif) ++p;
    d.chiffres[0] = *p;
    for (int k = 1; k < 17; ++k) d.chiffres[k] = p[k + 1];
    d.exposant = std::atoi(p + 19);
    for (const char c : d.chiffres) d.entier = d.entier * 10 + static_cast<unsigned>(c - '0');
    return d;
}

// d's 17 digits rounded to `precision` (1 to 17), as one whole number q of that many digits,
// and the exponent after rounding.  False where rounding those digits could differ from
// rounding the value itself: only when the digits dropped are exactly a half, and the whole
// numbers do not say on which side of its 17 digits the value lies.
bool ArrondirEntier(const Decimales& d, int precision, std::uint64_t& q, int& exposant) {
    exposant = d.exposant;
    if (precision >= 17) {
        q = d.entier;
        return true;
    }
    const auto p = static_cast<std::uint64_t>(kPuissances10[17 - precision]);
    q = d.entier / p;
    const std::uint64_t reste = d.entier % p;
    bool haut = reste > p / 2;
    if (reste == p / 2) {
        // The 17 digits rounded up from below the half, or down from above it.
        if (!d.exacte || d.reste == 0) return false;
        haut = d.reste < d.moitie;
    }
    if (haut && ++q == kPuissances10[precision]) {
        q = static_cast<std::uint64_t>(kPuissances10[precision - 1]);  // 9.99 -> 10.0
        ++exposant;
    }
    return true;
}

// The same rounding as `precision` digits in `r`.
bool Arrondir(const Decimales& d, int precision, std::array<char, 18>& r, int& exposant) {
    std::uint64_t q = 0;
    if (!ArrondirEntier(d, precision, q, exposant)) return false;
    for (int k = precision - 1; k >= 0; --k, q /= 10) r[k] = static_cast<char>('0' + q % 10);
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
    // At most 17 digits: 24 characters at most ("-1.2345678901234567e-308").
    if (!EcrireG(d, precision, out))
        std::snprintf(out, taille, "%.*g", std::clamp(precision, 1, 17), value);
}

// The double that q, `digits` rounded digits whose first has the exponent `exposant`, reads
// back as, where one multiplication or division of exact numbers gives it correctly
// rounded: a whole number of at most 2^53 by a power of ten of at most 1e22, both exact.
// Reading back with strtod costs a report written in WebAssembly most of its time.  NaN
// where that does not apply.
double RelireVite(bool negatif, std::uint64_t q, int exposant, int digits) {
    constexpr std::uint64_t kEntierExact = std::uint64_t{1} << 53;
    constexpr std::array<double, 23> kPuissances = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const int puissance = exposant - (digits - 1);
    if (q > kEntierExact || puissance > 22 || puissance < -22) return std::nan("");
    const auto entier = static_cast<double>(q);
    const double lu =
        puissance >= 0 ? entier * kPuissances[puissance] : entier / kPuissances[-puissance];
    return negatif ? -lu : lu;
}

// Whether q (as for RelireVite) reads back as d's value, from d's whole numbers (d.exacte):
// whether it lies within half a gap of it, on the scale of its 17 digits.
bool RelireExact(const Decimales& d, std::uint64_t q, int exposant, int digits) {
    const int j = 17 - digits + exposant - d.e10;  // 1 to 17
    if (j < 0 || j > 17) return false;
    const Entier128 lu = Entier128{q} * kPuissances10[j];
    // Further than 12 from n is further than any half gap (at most 11.1 on this scale), and
    // keeps the products below within 128 bits (moitie is below 2^75).
    const Relatif128 ecart = static_cast<Relatif128>(lu) - static_cast<Relatif128>(d.n);
    if (ecart > 12 || ecart < -12) return false;
    const Relatif128 a = 4 * static_cast<Relatif128>(d.moitie) * ecart -
                         2 * static_cast<Relatif128>(d.reste);  // 4 moitie (lu - value)
    const auto distance = static_cast<Entier128>(a < 0 ? -a : a) * 2;
    const Entier128 borne = a < 0 && d.puissance2 ? d.demi : 2 * d.demi;
    return distance < borne || (distance == borne && d.pair);
}

// Whether `value` written with this many digits reads back as itself.
bool Relu(const Decimales& d, double value, int digits, char* text, std::size_t taille) {
    if (digits >= 17) return true;
    std::uint64_t q = 0;
    int exposant = 0;
    if (ArrondirEntier(d, digits, q, exposant)) {
        const double vite = RelireVite(d.negatif, q, exposant, digits);
        if (!std::isnan(vite)) return vite == value;
        if (d.exacte) return RelireExact(d, q, exposant, digits);
    } else if (digits <= 15) {
        // Half-way between two roundings of 15 digits or fewer: neither is within half a gap
        // of the value (a gap is at most 2^-52 of it), so neither reads back.
        return false;
    }
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
    // as far: elsewhere the fewest digits that read back are found by halving the range, once
    // 16 and 15 are tried (most numbers a run computes need 16 or 17).
    // 17 digits that end in zeros: the digits before them read back, and when they are 15 or
    // fewer no fewer do (one digit less moves it by more than 2^-52 of it).
    int utiles = 17;
    while (utiles > 1 && d.chiffres[utiles - 1] == '0') --utiles;
    int binade = 0;
    int digits = 1;
    if (utiles <= 15) {
        digits = utiles;
    } else if (std::fabs(std::frexp(value, &binade)) == 0.5) {
        while (!Relu(d, value, digits, text, sizeof text)) ++digits;
    } else if (!Relu(d, value, 16, text, sizeof text)) {
        digits = 17;
    } else if (!Relu(d, value, 15, text, sizeof text)) {
        digits = 16;
    } else {
        int lo = 1;
        int hi = 15;
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
