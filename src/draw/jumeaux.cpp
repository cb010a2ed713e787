#include "draw/jumeaux.h"

#include <algorithm>

namespace optic {

namespace {

// The first segment of a ray's drawing: from its first node to the next, or, for a ray that
// met nothing (`droite`), from its start along its direction (then b is the direction).
// False when it has none.
bool PremierSegment(const Rayon& r, Point& a, Point& b, bool& droite) {
    const std::span<const Point> chemin = r.Chemin();
    droite = chemin.size() == 1;
    if (chemin.size() >= 2) {
        a = chemin[0];
        b = chemin[1];
        return true;
    }
    if (droite && !r.arret) {
        a = r.position;
        b = r.direction;
        return true;
    }
    return false;
}

bool Egaux(Point p, Point q) {
    return p.x == q.x && p.y == q.y;
}

}  // namespace

Jumeaux::Jumeaux(const System_Physique& systeme) {
    std::size_t premier = 0, places = 0;
    for (std::size_t l = 0; l < systeme.sources.size(); ++l) {
        const std::vector<Source_monochromatique>& ligne = systeme.sources[l].sources;
        std::size_t plus_grand = 0;
        for (std::size_t f = 0; f < ligne.size(); ++f) {
            const std::size_t n = ligne[f].NombreRayons();
            fans_.push_back(
                {premier, n, l, places, f + 1 < ligne.size() && ligne[f + 1].NombreRayons() == n});
            premier += n;
            plus_grand = std::max(plus_grand, n);
        }
        places += plus_grand;
    }
    if (places * sizeof(Segment) <= kOctetsMax) segments_.resize(places);
}

void Jumeaux::Marquer(std::size_t debut, std::span<const Rayon> rayons,
                      std::span<RayonPrepare> prepares) {
    if (segments_.empty() || rayons.empty()) return;
    // The fan of the lot's last ray, then down.
    std::size_t f = static_cast<std::size_t>(
        std::upper_bound(fans_.begin(), fans_.end(), debut + rayons.size() - 1,
                         [](std::size_t g, const Fan& fan) { return g < fan.premier; }) -
        fans_.begin() - 1);
    for (std::size_t i = rayons.size(); i-- > 0;) {
        const std::size_t g = debut + i;
        while (g < fans_[f].premier) --f;
        const Fan& fan = fans_[f];
        Segment& s = segments_[fan.place + (g - fan.premier)];
        Point a, b;
        bool droite;
        if (!PremierSegment(rayons[i], a, b, droite)) {
            s.fan = SIZE_MAX;
            continue;
        }
        if (fan.suivante_jumelle && s.fan == f + 1 && s.droite == droite && Egaux(s.a, a) &&
            Egaux(s.b, b)) {
            prepares[i].premier_deja_trace = true;
        }
        s = Segment{a, b, droite, f};
    }
}

}  // namespace optic
