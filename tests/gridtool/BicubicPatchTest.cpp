#include "gridtool/BicubicPatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace orv;

namespace {

// A random bicubic polynomial p(x1, x2) = sum a[i][j] x1^i x2^j over a cell of
// size d1 x d2, with its exact derivatives.
struct Polynomial {
    double a[4][4];
    double Value(double x, double y, int dx, int dy) const
    {
        double sum = 0;
        for (int i = dx; i < 4; ++i)
            for (int j = dy; j < 4; ++j) {
                double f = a[i][j];
                for (int k = 0; k < dx; ++k)
                    f *= i - k;
                for (int k = 0; k < dy; ++k)
                    f *= j - k;
                sum += f * std::pow(x, i - dx) * std::pow(y, j - dy);
            }
        return sum;
    }
};

} // namespace

// Bicubic Hermite interpolation reproduces every bicubic polynomial exactly
// when it is given the polynomial's own derivatives at the corners; any wrong
// weight breaks this.
TEST(BicubicPatch, ReproducesBicubicPolynomials)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coef(-2.0, 2.0);
    for (int trial = 0; trial < 50; ++trial) {
        Polynomial p;
        for (auto& row : p.a)
            for (double& v : row)
                v = coef(rng);
        const double d1 = 0.5 + trial * 0.1;
        const double d2 = 1.7 - trial * 0.02;
        const double cx[4] = {0, d1, d1, 0};
        const double cy[4] = {0, 0, d2, d2};
        double y[4], y1[4], y2[4], y12[4];
        for (int k = 0; k < 4; ++k) {
            y[k] = p.Value(cx[k], cy[k], 0, 0);
            y1[k] = p.Value(cx[k], cy[k], 1, 0);
            y2[k] = p.Value(cx[k], cy[k], 0, 1);
            y12[k] = p.Value(cx[k], cy[k], 1, 1);
        }
        for (int s = 0; s <= 4; ++s)
            for (int t = 0; t <= 4; ++t) {
                const double x1 = d1 * s / 4.0;
                const double x2 = d2 * t / 4.0;
                EXPECT_NEAR(bcuint(y, y1, y2, y12, d1, d2, x1, x2), p.Value(x1, x2, 0, 0), 1e-9)
                    << "trial " << trial << " at " << x1 << ", " << x2;
            }
    }
}
