#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/constantes.h"
#include "model/source.h"

namespace optic {
namespace {

struct Attendu {
    Point depart;
    double angle;
};

// Rays in order, each with one path node at its start, a unit direction and the wavelength.
TEST(Source, GeometrieDuFaisceau) {
    const double q = kPi / 4, d = kDemiPi;
    const struct {
        Point milieu;
        double ouverture, angle;
        int nb;
        double largeur;
        std::vector<Attendu> rayons;
    } cas[] = {
        {{0, 0}, 1, 0, 0, 2, {}},
        {{0, 0}, 1, 0, -3, 2, {}},
        {{4, 5}, 1, 0.3, 1, 2, {{{4, 5}, -0.3}}},  // one ray: the axis, whatever the fan
        {{0, 0}, d, 0, 3, 2, {{{0, -1}, -q}, {{0, 0}, 0}, {{0, 1}, q}}},
        {{3, 4}, d, 0, 3, 2, {{{3, 3}, -q}, {{3, 4}, 0}, {{3, 5}, q}}},
        {{1, 1}, 0, d, 2, 4, {{{-1, 1}, -d}, {{3, 1}, -d}}},  // parallel, pointing to -y
    };
    for (const auto& c : cas) {
        const Source_monochromatique s(532, c.milieu, c.ouverture, c.angle, c.nb, c.largeur);
        ASSERT_EQ(s.rayons.size(), c.rayons.size()) << c.nb;
        for (std::size_t i = 0; i < c.rayons.size(); ++i) {
            const Rayon& r = s.rayons[i];
            const Attendu& a = c.rayons[i];
            SCOPED_TRACE(testing::Message() << "angle " << c.angle << " ray " << i);
            EXPECT_EQ(r.lambda, 532);
            EXPECT_FALSE(r.arret);
            ASSERT_EQ(r.Chemin().size(), 1u);
            EXPECT_NEAR(r.Chemin()[0].x, a.depart.x, 1e-9);
            EXPECT_NEAR(r.Chemin()[0].y, a.depart.y, 1e-9);
            EXPECT_TRUE(r.position.x == r.Chemin()[0].x && r.position.y == r.Chemin()[0].y);
            EXPECT_NEAR(r.direction.x, std::cos(a.angle), 1e-9);
            EXPECT_NEAR(r.direction.y, std::sin(a.angle), 1e-9);
        }
    }
}

// A fan with width and opening is that of a point source behind its segment.
TEST(Source, LesRayonsSeCoupentDerriereLeSegment) {
    const struct {
        double ouverture, angle, largeur;
        int nb;
        Point foyer;
    } cas[] = {{kDemiPi, 0, 2, 3, {-1, 0}},
               {kDemiPi, 0, 2, 8, {-1, 0}},
               {0.4, -kDemiPi, 1, 5, {0, -0.5 / std::tan(0.2)}}};  // beam going to +y
    for (const auto& c : cas) {
        const Source_monochromatique s(600, {0, 0}, c.ouverture, c.angle, c.nb, c.largeur);
        ASSERT_EQ(s.rayons.size(), static_cast<std::size_t>(c.nb));
        for (const Rayon& r : s.rayons) {
            const Point v{r.position.x - c.foyer.x, r.position.y - c.foyer.y};
            EXPECT_NEAR(v.x * r.direction.y - v.y * r.direction.x, 0.0, 1e-9);  // on the line
            EXPECT_GT(v.x * r.direction.x + v.y * r.direction.y, 0.0);          // behind the start
        }
    }
}

}  // namespace
}  // namespace optic
