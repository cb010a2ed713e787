#include "output/nombre.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace optic {

std::string Shortest(double value) {
    char text[32];
    for (int digits = 1;; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (digits < 17 && std::strtod(text, nullptr) != value) continue;
        // %g turns to an exponent once it exceeds the digits asked for: whole numbers up to
        // 1e17 are written out in full ("550", not "5.5e+02").
        const char* e = std::strchr(text, 'e');
        const int exponent = e ? std::atoi(e + 1) : 0;
        if (exponent >= digits && exponent < 17)
            std::snprintf(text, sizeof text, "%.*g", exponent + 1, value);
        return text;
    }
}

}  // namespace optic
