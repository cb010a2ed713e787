#pragma once

#include <cstdint>
#include <cstring>

namespace optic {

// A double's bits and back, as std::bit_cast gives them; written out because not every
// standard library the program is built with has std::bit_cast yet.
inline std::uint64_t BitsDe(double x) {
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

inline double ReelDe(std::uint64_t b) {
    double x;
    std::memcpy(&x, &b, sizeof x);
    return x;
}

}  // namespace optic
