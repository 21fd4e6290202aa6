#include "platform/db/Recordset.h"

#include <utility>

#include "platform/db/DatabaseState.h"
#include "platform/db/RecordsetState.h"

namespace orv {

RecordsetState& Recordset::checked() const {
  if (!d_ || !d_->open) ThrowObjectInvalid();
  return *d_;
}

bool Recordset::isOpen() const { return d_ && d_->open; }
Recordset::Type Recordset::type() const { return checked().type; }
QString Recordset::tableName() const {
  auto& s = checked();
  return s.type == Type::Snapshot ? QString() : s.tableName();
}

int Recordset::fieldCount() const { return checked().fieldCount(); }
QString Recordset::fieldName(int position) const {
  auto& s = checked();
  s.checkPosition(position);
  return s.fieldName(position);
}
QStringList Recordset::fieldNames() const {
  auto& s = checked();
  QStringList names;
  for (int i = 0; i < s.fieldCount(); ++i) names << s.fieldName(i);
  return names;
}
int Recordset::fieldType(int position) const {
  auto& s = checked();
  s.checkPosition(position);
  return s.fieldType(position);
}
int Recordset::fieldIndex(const QString& name) const { return checked().fieldIndex(name); }

void Recordset::moveFirst() { checked().moveFirst(); }
void Recordset::moveNext() { checked().moveNext(); }
void Recordset::moveLast() { checked().moveLast(); }
bool Recordset::eof() const { return checked().eof(); }
bool Recordset::bof() const { return checked().bof(); }
bool Recordset::hasCurrent() const { return checked().hasCurrent(); }
qint64 Recordset::recordCount() const { return checked().recordCount(); }

void Recordset::setIndex(const QString& indexName) { checked().setIndex(indexName); }
QString Recordset::index() const { return checked().index(); }
void Recordset::seek(const QString& comparison, const FieldValue& key) { checked().seek(comparison, key); }
bool Recordset::noMatch() const { return checked().noMatch(); }

FieldValue Recordset::value(const QString& fieldName) const {
  auto& s = checked();
  return s.value(s.readField(fieldName));
}
FieldValue Recordset::value(int position) const { return checked().value(position); }

void Recordset::addNew() { checked().addNew(); }
void Recordset::edit() { checked().edit(); }
void Recordset::setValue(const QString& fieldName, FieldValue value) {
  auto& s = checked();
  s.setValue(s.writeField(fieldName), std::move(value));
}
void Recordset::setValue(int position, FieldValue value) { checked().setValue(position, std::move(value)); }
void Recordset::update() { checked().update(); }
void Recordset::cancelUpdate() { checked().cancelUpdate(); }
bool Recordset::editing() const { return checked().editing(); }
void Recordset::deleteCurrent() { checked().deleteCurrent(); }

qint64 Recordset::bookmark() const { return checked().bookmark(); }
void Recordset::setBookmark(qint64 rowId) { checked().setBookmark(rowId); }
qint64 Recordset::lastModified() const { return checked().lastModified(); }

std::vector<qint64> Recordset::orderedRowIds() const { return checked().orderedRowIds(); }
std::shared_ptr<const std::vector<qint64>> Recordset::sharedRowIds() const { return checked().sharedRowIds(); }
std::vector<FieldValue> Recordset::rowValues(qint64 rowId) const { return checked().rowValues(rowId); }

void Recordset::close() {
  if (!d_ || !d_->open) return;
  d_->close();
  // What was stored through the recordset reaches the file now; a failure
  // goes to the caller.
  d_->commit();
}

}  // namespace orv
