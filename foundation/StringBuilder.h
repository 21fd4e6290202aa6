#pragma once
// Accumulators for long texts: appending many pieces costs amortised constant
// time per character.
#include <QString>

namespace orv {

// Keeps a blank-padded buffer and the count of characters in use; the buffer
// at least doubles when a piece does not fit.
class clsString {
 public:
  clsString() { Reset(); }
  void Reset();
  QString Result() const;
  void Add(const QString& text);
  // Characters the buffer holds (used or not).
  qsizetype Capacity() const { return buffer_.size(); }

 private:
  QString buffer_;
  qsizetype count_ = 0;
};

// A plain concatenating accumulator.
class clsConcat {
 public:
  void Clear() { text_.clear(); }
  void Concat(const QString& text) { text_.append(text); }
  qsizetype Length() const { return text_.size(); }
  QString Value() const { return text_; }

 private:
  QString text_;
};

}  // namespace orv
