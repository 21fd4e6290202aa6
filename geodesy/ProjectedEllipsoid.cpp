#include "geodesy/ProjectedEllipsoid.h"

#include "foundation/NumberText.h"
#include "geodesy/CheckedArithmetic.h"
#include "geodesy/TransverseMercator.h"

namespace orv {

ProjectedEllipsoid MakeProjectedEllipsoid(double a, double f, double k0) {
  ProjectedEllipsoid p;
  p.a = a;
  p.b = (1 - f) * a;
  p.e = CheckedSqrt(CheckedDiv(a * a - p.b * p.b, a * a));
  p.k0 = RoundTo15Digits(k0) == 0 ? 1 : k0;
  p.arc = MeridianbogenKoeffizienten(a, p.e);
  return p;
}

}  // namespace orv
