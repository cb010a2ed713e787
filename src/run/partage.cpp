#include "run/partage.h"

#include <algorithm>
#include <cstdint>

namespace optic {

std::vector<PartImage> PartsDesImages(const System_Physique& systeme, int part, int parts) {
    const std::size_t n = systeme.zoomboxes.size();
    std::vector<PartImage> images(n);
    if (parts <= 1) {
        for (std::size_t c = 0; c < n; ++c) images[c] = {true, {0, systeme.zoomboxes[c].taille}};
        return images;
    }
    // Pixels counted exactly: a side is below 2^16, so the whole count stays far from 2^63.
    auto cote = [&](std::size_t c) {
        return static_cast<std::uint64_t>(std::max(systeme.zoomboxes[c].taille, 0));
    };
    std::uint64_t total = 0;
    for (std::size_t c = 0; c < n; ++c) total += cote(c) * cote(c);
    const auto k = static_cast<std::uint64_t>(parts);
    // Where stretch p starts: floor(total * p / parts), without overflow.
    auto borne = [&](int p) {
        const auto q = static_cast<std::uint64_t>(p);
        return total / k * q + total % k * q / k;
    };
    const std::uint64_t debut = borne(part);
    const bool derniere = part == parts - 1;
    const std::uint64_t fin = derniere ? UINT64_MAX : borne(part + 1);
    // The first row of a picture of side s placed at `place` whose first pixel is at or past
    // `b`.
    auto premier_rang = [](std::uint64_t place, std::uint64_t s, std::uint64_t b) {
        if (b <= place) return std::uint64_t{0};
        return std::min(s, (b - place + s - 1) / s);
    };
    std::uint64_t place = 0;
    for (std::size_t c = 0; c < n; ++c) {
        const std::uint64_t s = cote(c);
        PartImage& image = images[c];
        if (s == 0) {
            image.mienne = debut <= place && place < fin;
        } else {
            image.rangs.debut = static_cast<int>(premier_rang(place, s, debut));
            image.rangs.fin = static_cast<int>(derniere ? s : premier_rang(place, s, fin));
            image.mienne = image.rangs.debut < image.rangs.fin;
        }
        place += s * s;
    }
    return images;
}

}  // namespace optic
