// The number formatter against its definition: the fewest digits of "%.*g" that read back
// as the same double, whole numbers below 1e17 in full.  The definition prints a number up
// to 17 times; the formatter prints it once and rounds its digits itself.
#include "write/nombre.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace optic {
namespace {

std::string Definition(double value) {
    char text[40];
    for (int digits = 1;; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (digits < 17 && std::strtod(text, nullptr) != value) continue;
        const char* e = std::strchr(text, 'e');
        const int exponent = e ? std::atoi(e + 1) : 0;
        if (exponent >= digits && exponent < 17)
            std::snprintf(text, sizeof text, "%.*g", exponent + 1, value);
        return text;
    }
}

TEST(Nombre, ShortestIsItsDefinition) {
    // Halves, ties and exact cases, the edges of the range, the 17-digit boundary.
    std::vector<double> values = {0.0, -0.0, 0.5, 2.5, -2.5, 0.125, 9.5, 99.95, 0.3, 0.1 + 0.2};
    for (const double v : {486.1, 550.0, 1e16, 1e17, 1e17 - 16, 99999999999999999.0,
                           123456789012345678.0, 1e-5, 0.0001, 0.00012345, 9.999999999999999e-5})
        values.push_back(v);
    for (const double v : {1e300, 5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 0.1,
                           1.0 / 3, 2.0 / 3, 100.07131, 9.9999999999999995})
        values.push_back(v);
    for (const double v : {HUGE_VAL, -HUGE_VAL, std::nan("")}) values.push_back(v);
    for (int k = -1074; k <= 1023; ++k) values.push_back(std::ldexp(1.0, k));
    for (int k = -20; k <= 20; ++k) values.push_back(std::pow(10.0, k));
    std::mt19937_64 random(42);
    for (int k = 0; k < 50000; ++k) {
        std::uint64_t bits = random();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) values.push_back(v);
        // Short decimals, halves and whole numbers: the ties and the exact cases.
        const auto whole = static_cast<double>(random() % 2000001) - 1000000;
        values.push_back(whole / std::pow(10.0, static_cast<int>(random() % 9)));
        values.push_back(whole * std::pow(10.0, static_cast<int>(random() % 12)) + 0.5);
        values.push_back(std::ldexp(whole, -static_cast<int>(random() % 60)));
        // Whole mantissas at the magnitudes reports hold, and odd ones, whose decimals end
        // in 5: some are exactly half-way at the 17th digit.
        values.push_back(std::ldexp(static_cast<double>(random() >> 11),
                                    static_cast<int>(random() % 200) - 140));
        values.push_back(std::ldexp(static_cast<double>((random() >> 11) | 1),
                                    -static_cast<int>(random() % 64)));
    }
    for (const double v : values) ASSERT_EQ(Shortest(v), Definition(v)) << std::hexfloat << v;
}

}  // namespace
}  // namespace optic
