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

Jumeaux::Jumeaux(const System_Physique& systeme) : fans_(TableDesFans(systeme)) {
    std::size_t places = 0, plus_grand = 0;
    for (std::size_t f = 0; f < fans_.size(); ++f) {
        const Fan& fan = fans_[f];
        const bool jumelle = f + 1 < fans_.size() && fans_[f + 1].ligne == fan.ligne &&
                             fans_[f + 1].nombre == fan.nombre;
        places_.push_back({places, jumelle});
        plus_grand = std::max(plus_grand, fan.nombre);
        if (f + 1 == fans_.size() || fans_[f + 1].ligne != fan.ligne) {
            places += plus_grand;  // a line's fans share its slots
            plus_grand = 0;
        }
    }
    if (places * sizeof(Segment) <= kOctetsMax) segments_.resize(places);
}

void Jumeaux::Marquer(std::size_t debut, std::span<const Rayon> rayons,
                      std::span<RayonPrepare> prepares) {
    if (segments_.empty() || rayons.empty()) return;
    // The fan of the lot's last ray, then down.
    std::size_t f = FanDuRayon(fans_, debut + rayons.size() - 1);
    for (std::size_t i = rayons.size(); i-- > 0;) {
        const std::size_t g = debut + i;
        while (g < fans_[f].premier) --f;
        const Fan& fan = fans_[f];
        Segment& s = segments_[places_[f].place + (g - fan.premier)];
        Point a, b;
        bool droite;
        if (!PremierSegment(rayons[i], a, b, droite)) {
            s.fan = SIZE_MAX;
            continue;
        }
        if (places_[f].suivante_jumelle && s.fan == f + 1 && s.droite == droite && Egaux(s.a, a) &&
            Egaux(s.b, b)) {
            prepares[i].premier_deja_trace = true;
        }
        s = Segment{a, b, droite, f};
    }
}

}  // namespace optic
