#include "foundation/StringBuilder.h"

namespace orv {

void clsString::Reset() {
  buffer_ = QString(100, u' ');
  count_ = 0;
}

QString clsString::Result() const { return buffer_.left(count_); }

void clsString::Add(const QString& text) {
  if (count_ + text.size() > buffer_.size()) {
    QString grown(2 * buffer_.size() + text.size(), u' ');
    grown.replace(qsizetype(0), count_, buffer_.constData(), count_);
    buffer_ = grown;
  }
  if (!text.isEmpty()) {
    buffer_.replace(count_, text.size(), text);
    count_ += text.size();
  }
}

}  // namespace orv
