#pragma once
// Arithmetic that throws instead of producing inf or NaN: a coordinate that is
// not a number must never reach a table or a file.
#include <cmath>

#include "foundation/OrvenilError.h"

namespace orv {

// a / b; throws error 11 when b is zero.
inline double CheckedDiv(double a, double b) {
  if (b == 0.0) throw OrvenilError(kErrDivisionByZero, QStringLiteral("Division durch Null"));
  return a / b;
}

// √x; throws error 5 for a negative or non-finite argument.
inline double CheckedSqrt(double x) {
  if (!(x >= 0.0) || !std::isfinite(x))
    throw OrvenilError(kErrInvalidProcedureCall,
                       QStringLiteral("Ungültiger Prozeduraufruf oder ungültiges Argument"));
  return std::sqrt(x);
}

// Passes x through; throws error 6 when it is infinite or NaN.
inline double CheckedFinite(double x) {
  if (!std::isfinite(x)) throw OrvenilError(kErrOverflow, QStringLiteral("Überlauf"));
  return x;
}

}  // namespace orv
