#pragma once

namespace optic {

// Geometric tolerance in world units: inside tests, intersection parameters, lens
// aperture limit, degenerate tangents.
inline constexpr double kTolerance = 1e-10;
// How far past a hit, in lengths of the ray's direction, the medium behind is probed.
inline constexpr double kSondage = 2e-10;

// The bench's π, as the description format has always converted degrees with it.
inline constexpr double kPi = 3.14159265359;
inline constexpr double kDemiPi = 1.5707963268;
inline constexpr double kDeuxPi = 6.28318530718;

// Degrees of the description file to radians of the model.
constexpr double Radians(double degres) {
    return degres * kPi / 180;
}

}  // namespace optic
