#pragma once
// The value of one field of one record: Null, a text, a whole number or a
// floating-point number. Null stays distinct from the empty text.
#include <QString>
#include <QtGlobal>
#include <variant>

namespace orv {

class FieldValue {
 public:
  enum class Kind { Null, Text, Long, Double };

  FieldValue() = default;  // Null
  FieldValue(const QString& text) : v_(text) {}
  FieldValue(QString&& text) : v_(std::move(text)) {}
  FieldValue(const char* text) : v_(QString::fromUtf8(text)) {}
  FieldValue(double x) : v_(x) {}
  FieldValue(float x) : v_(static_cast<double>(x)) {}
  FieldValue(int n) : v_(static_cast<qint64>(n)) {}
  FieldValue(qint64 n) : v_(n) {}
  FieldValue(long n) : v_(static_cast<qint64>(n)) {}
  FieldValue(bool) = delete;  // no silent Boolean-to-number conversion

  static FieldValue null() { return FieldValue(); }

  Kind kind() const { return static_cast<Kind>(v_.index()); }
  bool isNull() const { return v_.index() == 0; }
  bool isText() const { return v_.index() == 1; }
  bool isNumber() const { return v_.index() == 2 || v_.index() == 3; }

  // The value as text; numbers in plain number text. Throws error 94
  // (invalid use of Null) for Null, as assigning Null to a text variable does.
  QString toText() const;
  // The value as text, Null giving the empty text (the usual `& ""`).
  QString textOrEmpty() const;
  // The value as a number: a number as it is, a text through the strict
  // conversion (error 13 when it is not a number). Null throws error 94.
  double toDouble() const;
  // The value as a whole number, halves rounded to even; same errors as toDouble.
  qint64 toLong() const;

  // Raw access; only valid for the matching kind.
  const QString& text() const { return std::get<1>(v_); }
  qint64 longValue() const { return std::get<2>(v_); }
  double doubleValue() const { return std::get<3>(v_); }

  // Same kind and same value (texts compared exactly).
  bool operator==(const FieldValue& other) const { return v_ == other.v_; }
  bool operator!=(const FieldValue& other) const { return !(*this == other); }

 private:
  std::variant<std::monostate, QString, qint64, double> v_;
};

// Throws error 94, the use of a Null value where a value is needed.
[[noreturn]] void InvalidUseOfNull();

}  // namespace orv
