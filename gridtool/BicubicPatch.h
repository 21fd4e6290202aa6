#pragma once

namespace orv {

// Corners of a cell are numbered counter-clockwise from the lower left:
// 1 = (0,0), 2 = (d1,0), 3 = (d1,d2), 4 = (0,d2). y holds the values, y1 the
// derivatives along coordinate 1, y2 along coordinate 2, y12 the cross
// derivatives; d1 and d2 are the cell's lengths along the two coordinates.

// Coefficients c[i][j] of the bicubic patch sum c[i][j] t^i u^j with
// t = x1/d1, u = x2/d2 (i, j = 0..3).
void bcucof(const double y[4], const double y1[4], const double y2[4], const double y12[4], double d1,
            double d2, double c[4][4]);

// Value of the bicubic patch at offsets x1, x2 from the lower-left corner.
double bcuint(const double y[4], const double y1[4], const double y2[4], const double y12[4], double d1,
              double d2, double x1, double x2);

}  // namespace orv
