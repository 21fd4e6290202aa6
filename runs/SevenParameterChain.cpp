#include "runs/SevenParameterChain.h"

#include "foundation/NumberText.h"
#include "foundation/TypedNumber.h"
#include "geodesy/GeodesyConstants.h"

namespace orv {

const QStringList& ParameterSetKeys() {
  static const QStringList keys{"dx", "dy", "dz", "Rx", "Ry", "Rz", "MF", "x0", "y0", "z0"};
  return keys;
}

bool ReadParameterCell(const QString& text, double& value) {
  const QString t = text.trimmed();
  if (t.isEmpty()) {
    value = 0;
    return true;
  }
  return ReadTypedNumber(t, value);
}

SevenParameterSet Reversed(const SevenParameterSet& s) {
  SevenParameterSet r = s;
  for (double* v : {&r.dx, &r.dy, &r.dz, &r.Rx, &r.Ry, &r.Rz, &r.MF, &r.x0, &r.y0, &r.z0}) *v = -1 * *v;
  return r;
}

SevenParameterChain::SevenParameterChain(const SevenParameterSet& set, const ProjectedEllipsoid& target)
    : set_(set),
      q_(LineariseParameters(set.Rx, set.Ry, set.Rz, set.MF)),
      molodensky_(set.modell == kModelMolodenskyBadekas),
      target_(target) {}

SevenParameterPoint SevenParameterChain::Transform(double X, double Y, double Z) const {
  SevenParameterPoint p;
  p.target = molodensky_
                 ? MolodenskyBadekas(X, Y, Z, set_.dx, set_.dy, set_.dz, q_, set_.x0, set_.y0, set_.z0)
                 : HelmertSevenParameter(X, Y, Z, set_.dx, set_.dy, set_.dz, q_);
  const GeographicPoint g = GeoZentToEll(RoundTo15Digits(p.target.X), RoundTo15Digits(p.target.Y),
                                         RoundTo15Digits(p.target.Z), target_.a, target_.e);
  p.B = RoundTo15Digits(g.B);
  p.L = RoundTo15Digits(g.L);
  p.h = g.h;
  p.longitudeDegrees = RoundTo15Digits(p.L * 180 / kPi);
  return p;
}

GridCoordinates SevenParameterChain::Project(const SevenParameterPoint& p, int32_t meridian,
                                             double falseEasting) const {
  return GeographischInVerebnet(p.B, p.L, target_, falseEasting, meridian);
}

double ZonePrefix(int32_t meridian, const QString& zoneEllipsoid) {
  if (zoneEllipsoid != QLatin1String("WGS1984") && zoneEllipsoid != QLatin1String("GRS1980")) return 0;
  return (meridian + 3) / 6.0 * 1000000;
}

}  // namespace orv
