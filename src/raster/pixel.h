#pragma once

#include <cstdint>

namespace optic {

// A colour as the picture stores it: three bytes in file order (blue, green, red).
struct Pixel {
    std::uint8_t bleu = 0;
    std::uint8_t vert = 0;
    std::uint8_t rouge = 0;
};

// Brings a colour level into a byte: above 255 gives 255, below 0 gives 0,
// otherwise the fraction is dropped.
constexpr std::uint8_t Octet(double niveau) {
    if (niveau > 255.0) return 255;
    if (niveau < 0.0) return 0;
    return static_cast<std::uint8_t>(niveau);
}

// The colour of levels (red, green, blue), as it will be written.
constexpr Pixel Couleur3(double rouge, double vert, double bleu) {
    return Pixel{Octet(bleu), Octet(vert), Octet(rouge)};
}

constexpr Pixel Gris(double niveau) {
    return Couleur3(niveau, niveau, niveau);
}

}  // namespace optic
