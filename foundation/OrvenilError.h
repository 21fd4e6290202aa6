#pragma once
// The one error type of the program: a number (13 type mismatch, 53 file not
// found, 3021 no current record …, the numbers the handlers test) and a
// German description shown to the user.
#include <QString>
#include <stdexcept>

namespace orv {

class OrvenilError : public std::runtime_error {
 public:
  OrvenilError(int number, const QString& description)
      : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
  int number() const { return number_; }
  const QString& description() const { return description_; }

 private:
  int number_;
  QString description_;
};

// Error numbers that callers test.
enum ErrorNumber : int {
  kErrInvalidProcedureCall = 5,
  kErrOverflow = 6,
  kErrSubscriptOutOfRange = 9,
  kErrDivisionByZero = 11,
  kErrTypeMismatch = 13,
  kErrBadFileName = 52,
  kErrFileNotFound = 53,
  kErrDeviceIoError = 57,
  kErrDiskFull = 61,
  kErrPermissionDenied = 70,
  kErrPathFileAccess = 75,
  kErrPathNotFound = 76,
  kErrInvalidUseOfNull = 94,
  kErrNoCurrentRecord = 3021,
  kErrDuplicateKey = 3022,
};

}  // namespace orv
