#pragma once

namespace optic {

// A point or a vector of the plane, in world units.
struct Point {
    double x = 0.0;
    double y = 0.0;
};

}  // namespace optic
