#include "platform/ui/DataGridModel.h"

#include <QBrush>
#include <algorithm>

#include "platform/ui/GridRecordSource.h"

namespace orv {

DataGridModel::DataGridModel(QObject* parent) : QAbstractTableModel(parent) {}
DataGridModel::~DataGridModel() = default;

int DataGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows();
}

int DataGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

int DataGridModel::rows() const {
  return bound() ? boundCount_ : static_cast<int>(rows_.size());
}

const QStringList& DataGridModel::boundRow(int row) const {
  static const QStringList kEmpty;
  const int block = row / kBlock;
  auto it = blocks_.find(block);
  if (it == blocks_.end()) {
    const int first = block * kBlock;
    const int count = std::min(kBlock, boundCount_ - first);
    if (count <= 0) return kEmpty;
    if (static_cast<int>(blocks_.size()) >= kMaxBlocks) {
      blocks_.remove(blockOrder_.front());
      blockOrder_.pop_front();
    }
    it = blocks_.insert(block, source_->fetchRows(first, count));
    blockOrder_.push_back(block);
  }
  const auto& rows = it.value();
  const int offset = row - block * kBlock;
  return offset < static_cast<int>(rows.size()) ? rows[offset] : kEmpty;
}

QString DataGridModel::cell(int row, int column) const {
  if (row < 0 || row >= rows() || column < 0) return QString();
  if (bound()) return boundRow(row).value(column);
  return rows_[row].value(column);
}

QStringList DataGridModel::rowCells(int row) const {
  if (row < 0 || row >= rows()) return {};
  QStringList cells = bound() ? boundRow(row) : rows_[row];
  while (cells.size() < columns_.size()) cells << QString();
  return cells;
}

const GridRow* DataGridModel::formatted(int row) const {
  if (!formatRow) return nullptr;
  auto it = formats_.find(row);
  if (it == formats_.end()) {
    if (formats_.size() > 20000) formats_.clear();
    GridRow r;
    r.row = row + 1;
    r.checked = checked(row);
    r.cells = rowCells(row);
    r.columnOfKey = &keyIndex_;
    formatRow(row + 1, r);
    it = formats_.insert(row, std::move(r));
  }
  return &it.value();
}

QVariant DataGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row();
  const int col = index.column();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return cell(row, col);
    case Qt::CheckStateRole:
      if (checkable && col == 0) return checked(row) ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
    case Qt::ToolTipRole: {
      const GridRow* r = formatted(row);
      if (!r) return {};
      auto it = r->formats.find(col);
      if (it == r->formats.end()) return {};
      if (role == Qt::BackgroundRole) return it->back.isValid() ? QVariant(QBrush(it->back)) : QVariant();
      if (role == Qt::ForegroundRole) return it->fore.isValid() ? QVariant(QBrush(it->fore)) : QVariant();
      return it->hasNote && !it->note.isEmpty() ? QVariant(it->note) : QVariant();
    }
    default:
      return {};
  }
}

bool DataGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid()) return false;
  if (role == Qt::CheckStateRole && checkable && index.column() == 0) {
    const bool on = value.toInt() == Qt::Checked;
    setChecked(index.row(), on);
    return true;
  }
  if (role == Qt::EditRole && editable && !bound()) {
    const QString text = value.toString();
    if (text == cell(index.row(), index.column())) return true;
    setCell(index.row(), index.column(), text);
    if (cellEdited) cellEdited(index.row(), index.column());
    return true;
  }
  return false;
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal)
    return section >= 0 && section < columns_.size() ? columns_.at(section).caption : QString();
  return section + 1;
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (editable && !bound()) f |= Qt::ItemIsEditable;
  if (checkable && index.column() == 0) f |= Qt::ItemIsUserCheckable;
  return f;
}

GridColumn* DataGridModel::column(const QString& key) {
  const int i = columnIndex(key);
  return i >= 0 ? &columns_[i] : nullptr;
}

const GridColumn* DataGridModel::column(const QString& key) const {
  const int i = columnIndex(key);
  return i >= 0 ? &columns_.at(i) : nullptr;
}

void DataGridModel::rebuildKeyIndex() {
  keyIndex_.clear();
  // The first column of a key wins, as a lookup by key finds it.
  for (int i = 0; i < columns_.size(); ++i)
    if (!keyIndex_.contains(columns_.at(i).key)) keyIndex_.insert(columns_.at(i).key, i);
}

void DataGridModel::changed() {
  formats_.clear();
  if (suspended_) {
    dirty_ = true;
    return;
  }
  beginResetModel();
  endResetModel();
}

void DataGridModel::addColumn(const GridColumn& c) {
  if (suspended_) {
    columns_ << c;
    rebuildKeyIndex();
    changed();
    return;
  }
  const int at = static_cast<int>(columns_.size());
  beginInsertColumns(QModelIndex(), at, at);
  columns_ << c;
  rebuildKeyIndex();
  formats_.clear();
  endInsertColumns();
}

void DataGridModel::setColumns(const QList<GridColumn>& columns) {
  columns_ = columns;
  rebuildKeyIndex();
  changed();
}

void DataGridModel::clearColumns() {
  columns_.clear();
  rebuildKeyIndex();
  changed();
}

void DataGridModel::setCaption(const QString& key, const QString& caption) {
  if (GridColumn* c = column(key)) {
    c->caption = caption;
    const int i = columnIndex(key);
    if (!suspended_) Q_EMIT headerDataChanged(Qt::Horizontal, i, i);
  }
}

void DataGridModel::setCell(int row, int column, const QString& text) {
  if (bound() || row < 0 || row >= rows() || column < 0 || column >= columns_.size()) return;
  QStringList& cells = rows_[row];
  while (cells.size() <= column) cells << QString();
  cells[column] = text;
  formats_.remove(row);
  if (!suspended_) {
    const QModelIndex first = index(row, 0);
    const QModelIndex last = index(row, static_cast<int>(columns_.size()) - 1);
    Q_EMIT dataChanged(first, last);
  } else {
    dirty_ = true;
  }
}

int DataGridModel::appendRow(const QStringList& cells) {
  const int at = static_cast<int>(rows_.size());
  if (suspended_) {
    rows_.push_back(cells);
    checks_.push_back(0);
    dirty_ = true;
    return at;
  }
  beginInsertRows(QModelIndex(), at, at);
  rows_.push_back(cells);
  checks_.push_back(0);
  endInsertRows();
  return at;
}

void DataGridModel::setRows(std::vector<QStringList> rows) {
  source_.reset();
  blocks_.clear();
  blockOrder_.clear();
  boundCount_ = 0;
  rows_ = std::move(rows);
  checks_.assign(rows_.size(), 0);
  changed();
}

int DataGridModel::removeRows(QList<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  int removed = 0;
  if (bound()) {
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
      if (*it >= 0 && *it < boundCount_ && source_->deleteRow(*it)) ++removed;
    reload();
    return removed;
  }
  for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
    const int r = *it;
    if (r < 0 || r >= static_cast<int>(rows_.size())) continue;
    if (!suspended_) beginRemoveRows(QModelIndex(), r, r);
    rows_.erase(rows_.begin() + r);
    checks_.erase(checks_.begin() + r);
    if (!suspended_) endRemoveRows();
    ++removed;
  }
  formats_.clear();
  if (suspended_) dirty_ = true;
  return removed;
}

void DataGridModel::clearRows() {
  source_.reset();
  blocks_.clear();
  blockOrder_.clear();
  boundCount_ = 0;
  rows_.clear();
  checks_.clear();
  changed();
}

bool DataGridModel::checked(int row) const {
  return row >= 0 && row < static_cast<int>(checks_.size()) && checks_[row] != 0;
}

void DataGridModel::setChecked(int row, bool on) {
  if (row < 0 || row >= static_cast<int>(checks_.size())) return;
  if ((checks_[row] != 0) == on) return;
  checks_[row] = on ? 1 : 0;
  formats_.remove(row);
  if (!suspended_ && !columns_.isEmpty()) Q_EMIT dataChanged(index(row, 0), index(row, 0), {Qt::CheckStateRole});
  if (checkChanged) checkChanged(row + 1, on);
}

void DataGridModel::bind(std::unique_ptr<GridRecordSource> source) {
  rows_.clear();
  source_ = std::move(source);
  QList<GridColumn> cols;
  for (const QString& name : source_->fieldNames()) cols << GridColumn{name, name, 1300, true};
  columns_ = cols;
  rebuildKeyIndex();
  // A new source has read its rows already: they are not read a second time.
  showSourceRows();
}

void DataGridModel::reload() {
  // Rows fetched before stay when the source knows that nothing changed.
  const bool keepFetched = source_ && !source_->reload();
  showSourceRows(keepFetched);
}

void DataGridModel::showSourceRows(bool keepFetched) {
  if (!keepFetched) {
    blocks_.clear();
    blockOrder_.clear();
  }
  if (source_) {
    boundCount_ = source_->rowCount();
    checks_.assign(static_cast<size_t>(boundCount_), 0);
  }
  changed();
}

void DataGridModel::setSuspended(bool suspended) {
  if (suspended == suspended_) return;
  suspended_ = suspended;
  if (!suspended_ && dirty_) {
    dirty_ = false;
    beginResetModel();
    endResetModel();
  }
}

void DataGridModel::invalidateFormats() { formats_.clear(); }

}  // namespace orv
