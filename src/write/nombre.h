// The one way numbers are written in the files and reports: exactly, and briefly.
#pragma once

#include <cstddef>
#include <string>

namespace optic {

// A double in the fewest significant digits (at most 17) that read back as the same
// double, in C's %g form, whole numbers below 1e17 in full: "550", "486.1",
// "0.30000000000000004", "1e+300"; "inf" and "nan" as C writes them.
std::string Shortest(double value);
// The same written into `out`, without its terminating NUL: returns its length (at most 24).
std::size_t Shortest(double value, char (&out)[32]);

}  // namespace optic
