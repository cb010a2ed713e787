#pragma once

namespace optic {

// A glass: its refractive index sampled at three wavelengths (nanometres).
struct IndiceRefraction {
    double indice_n[3] = {0.0, 0.0, 0.0};
    double indice_lambda[3] = {0.0, 0.0, 0.0};

    // The index at any wavelength: the parabola through the three samples, in Lagrange form.
    double Indice(double lambda) const {
        const double n1 = indice_n[0], n2 = indice_n[1], n3 = indice_n[2];
        const double l1 = indice_lambda[0], l2 = indice_lambda[1], l3 = indice_lambda[2];
        return n1 * (l2 - lambda) * (l3 - lambda) / ((l2 - l1) * (l3 - l1)) +
               n2 * (l1 - lambda) * (l3 - lambda) / ((l1 - l2) * (l3 - l2)) +
               n3 * (l1 - lambda) * (l2 - lambda) / ((l1 - l3) * (l2 - l3));
    }
};

}  // namespace optic
