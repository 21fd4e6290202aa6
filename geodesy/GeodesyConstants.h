#pragma once
// Constants shared by the angle conversions, the geocentric formulas and the
// projection.

namespace orv {

// The program's π: the 15-digit literal, not the full-precision value. Every
// stored radian and degree text was computed with it, so the last digits of
// all conversions depend on using exactly this number.
inline constexpr double kPi = 3.14159265358979;

}  // namespace orv
