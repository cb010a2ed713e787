#pragma once

#include <cstddef>
#include <vector>

#include "model/fans.h"
#include "model/system.h"
#include "trace/pas.h"

namespace optic {

// The bench laid out for tracing many rays: every surface in one table in bench order, a box
// around each element outside which nothing is inside it, the index of each glass at each
// source's wavelength, and the order of the rays.  It reads the system, which must outlive it.
class Banc {
  public:
    explicit Banc(const System_Physique& systeme);
    Banc(const Banc&) = delete;
    Banc& operator=(const Banc&) = delete;

    // The surfaces of every element, in bench order, and the elements, for a tracing step.
    const BancPlat& Plat() const { return plat_; }
    std::size_t NombreElements() const { return elements_.size(); }

    // Rays of every source, in drawing order: source lines in file order, each line's
    // wavelengths in order, each fan from its first ray to its last.
    std::size_t NombreRayons() const { return total_; }
    // Source number s in that order and the number of its first ray.
    std::size_t NombreSources() const { return sources_.size(); }
    const Source_monochromatique& Source(std::size_t s) const { return *sources_[s].source; }
    std::size_t PremierRayon(std::size_t s) const { return sources_[s].premier; }
    // The source of ray k.
    std::size_t SourceDuRayon(std::size_t k) const { return FanDuRayon(sources_, k); }

    // The index of every element with surfaces at source s's wavelength (0 for a diaphragm),
    // in bench order.
    const double* Indices(std::size_t s) const { return indices_.data() + s * elements_.size(); }

    // The refractive index at p, as IndiceMilieu gives it, for the wavelength whose indices
    // are given: elements whose box does not hold p are passed without a closer look.
    // (Banc is not copied: the tables point into it.)
    double Milieu(Point p, const double* indices) const {
        for (std::size_t e = elements_.size(); e-- > 0;) {
            const BancPlat::Corps& c = elements_[e];
            if (Dans(c.boite, p.x, p.y) && Contient(c.type, c.dioptres, p.x, p.y)) {
                return indices[e];
            }
        }
        return indice_espace_;
    }

  private:
    std::vector<Dioptre> surfaces_;
    std::vector<BancPlat::Corps> elements_;  // those with surfaces, in bench order
    std::vector<Fan> sources_;
    std::vector<double> indices_;  // source by source, element by element
    double indice_espace_;
    std::size_t total_ = 0;
    BancPlat plat_;
};

}  // namespace optic
