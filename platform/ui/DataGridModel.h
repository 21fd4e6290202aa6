#pragma once
// The table model behind DataGrid: columns with keys, rows in memory or read
// on demand from a bound source in blocks, per-row formatting through the
// grid's formatting event (cached), tick states.
#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QList>
#include <QStringList>
#include <functional>
#include <list>
#include <memory>
#include <vector>

#include "platform/ui/DataGrid.h"

namespace orv {

class GridRecordSource;

struct GridColumn {
  QString key;
  QString caption;
  int widthTwips = 1200;
  bool visible = true;
};

class DataGridModel : public QAbstractTableModel {
 public:
  explicit DataGridModel(QObject* parent = nullptr);
  ~DataGridModel() override;

  // QAbstractTableModel
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Columns.
  const QList<GridColumn>& columns() const { return columns_; }
  GridColumn* column(const QString& key);
  const GridColumn* column(const QString& key) const;
  int columnIndex(const QString& key) const { return keyIndex_.value(key, -1); }
  const QHash<QString, int>& keyIndex() const { return keyIndex_; }
  void addColumn(const GridColumn& c);
  void setColumns(const QList<GridColumn>& columns);
  void clearColumns();
  void setCaption(const QString& key, const QString& caption);

  // Rows (0-based here).
  int rows() const;
  QString cell(int row, int column) const;
  QStringList rowCells(int row) const;
  void setCell(int row, int column, const QString& text);
  int appendRow(const QStringList& cells);
  void setRows(std::vector<QStringList> rows);
  // Removes rows (any order); returns how many were removed.
  int removeRows(QList<int> rows);
  void clearRows();
  bool checked(int row) const;
  void setChecked(int row, bool on);

  // Binding.
  bool bound() const { return static_cast<bool>(source_); }
  void bind(std::unique_ptr<GridRecordSource> source);
  GridRecordSource* source() const { return source_.get(); }
  void reload();

  // Drawing: while suspended, changes are collected and drawn at resume.
  void setSuspended(bool suspended);
  bool suspended() const { return suspended_; }
  void invalidateFormats();

  bool editable = false;
  bool checkable = false;
  std::function<void(int row, GridRow&)> formatRow;
  std::function<void(int row, bool)> checkChanged;
  // A cell changed by the user's editor (0-based row and column).
  std::function<void(int row, int column)> cellEdited;

 private:
  const QStringList& boundRow(int row) const;
  const GridRow* formatted(int row) const;
  void rebuildKeyIndex();
  // Takes the source's row count and drops what was cached of its rows.
  void showSourceRows(bool keepFetched = false);
  void changed();

  QList<GridColumn> columns_;
  QHash<QString, int> keyIndex_;
  std::vector<QStringList> rows_;
  std::vector<char> checks_;
  std::unique_ptr<GridRecordSource> source_;
  int boundCount_ = 0;
  bool suspended_ = false;
  bool dirty_ = false;

  // Block cache of a bound source.
  static constexpr int kBlock = 64;
  static constexpr int kMaxBlocks = 256;
  mutable QHash<int, std::vector<QStringList>> blocks_;
  mutable std::list<int> blockOrder_;
  // Formatting cache.
  mutable QHash<int, GridRow> formats_;
};

}  // namespace orv
