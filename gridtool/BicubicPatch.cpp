#include "gridtool/BicubicPatch.h"

namespace orv {

namespace {

// Maps (values, d1-scaled first derivatives, d2-scaled second derivatives,
// d1*d2-scaled cross derivatives) at the four corners to the 16 polynomial
// coefficients; row 4*i + j gives the coefficient of t^i u^j. This is the
// inverse of the Hermite conditions at the corners of the unit square.
constexpr int kWeights[16][16] = {
    {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0},
    {-3, 0, 0, 3, 0, 0, 0, 0, -2, 0, 0, -1, 0, 0, 0, 0},
    {2, 0, 0, -2, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0},
    {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0},
    {0, 0, 0, 0, -3, 0, 0, 3, 0, 0, 0, 0, -2, 0, 0, -1},
    {0, 0, 0, 0, 2, 0, 0, -2, 0, 0, 0, 0, 1, 0, 0, 1},
    {-3, 3, 0, 0, -2, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, -3, 3, 0, 0, -2, -1, 0, 0},
    {9, -9, 9, -9, 6, 3, -3, -6, 6, -6, -3, 3, 4, 2, 1, 2},
    {-6, 6, -6, 6, -4, -2, 2, 4, -3, 3, 3, -3, -2, -1, -1, -2},
    {2, -2, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 2, -2, 0, 0, 1, 1, 0, 0},
    {-6, 6, -6, 6, -3, -3, 3, 3, -4, 4, 2, -2, -2, -2, -1, -1},
    {4, -4, 4, -4, 2, 2, -2, -2, 2, -2, -2, 2, 1, 1, 1, 1},
};

}  // namespace

void bcucof(const double y[4], const double y1[4], const double y2[4], const double y12[4], double d1,
            double d2, double c[4][4]) {
  const double d1d2 = d1 * d2;
  double x[16];
  for (int k = 0; k < 4; ++k) {
    x[k] = y[k];
    x[k + 4] = y1[k] * d1;
    x[k + 8] = y2[k] * d2;
    x[k + 12] = y12[k] * d1d2;
  }
  for (int i = 0; i < 16; ++i) {
    double sum = 0.0;
    for (int k = 0; k < 16; ++k) sum += kWeights[i][k] * x[k];
    c[i / 4][i % 4] = sum;
  }
}

double bcuint(const double y[4], const double y1[4], const double y2[4], const double y12[4], double d1,
              double d2, double x1, double x2) {
  double c[4][4];
  bcucof(y, y1, y2, y12, d1, d2, c);
  const double t = x1 / d1;
  const double u = x2 / d2;
  double value = 0.0;
  for (int i = 3; i >= 0; --i) value = t * value + ((c[i][3] * u + c[i][2]) * u + c[i][1]) * u + c[i][0];
  return value;
}

}  // namespace orv
