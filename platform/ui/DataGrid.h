#pragma once
// The data grid: keyed columns with caption, width and visibility; rows held
// in memory (added as TAB-separated text) or bound lazily to a table; cells by
// row number (from 1) and column key; current and selected rows; deletion
// with a before-delete event; edit mode; suspended drawing; its own save file
// (".fil"); text and spreadsheet export with a per-row export event; a
// per-row formatting event for colours and notes.
#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QTableView;

namespace orv {

class DataGridModel;
class ElidingLabel;
class GridRecordSource;
class Database;
class Recordset;

// The row object of the formatting event: cell texts to read, colours and
// notes to set per cell.
class GridRow {
 public:
  int row = 0;  // from 1
  bool checked = false;  // the row's tick state
  QString CellText(const QString& key) const;
  void SetCellBackColor(const QString& key, const QColor& colour);
  void SetCellForeColor(const QString& key, const QColor& colour);
  void SetCellNote(const QString& key, const QString& note);

  struct CellFormat {
    QColor back;
    QColor fore;
    QString note;
    bool hasNote = false;
  };
  // Formats by column position (0-based).
  QHash<int, CellFormat> formats;
  // Filled by the grid.
  QStringList cells;
  const QHash<QString, int>* columnOfKey = nullptr;
};

struct GridMouseEvent {
  int button = 1;       // 1 left, 2 right, 4 middle
  int row = 0;          // from 1; 0 outside the rows
  int column = 0;       // from 1; 0 outside the columns
  QString columnKey;
  QPoint globalPos;
};

class DataGrid : public QWidget {
 public:
  explicit DataGrid(QWidget* parent = nullptr);
  ~DataGrid() override;

  // Caption line above the rows.
  QString Caption() const;
  void SetCaption(const QString& caption);
  // The caption line's label: what it shows at the grid's width, its tooltip.
  const ElidingLabel* CaptionLabel() const { return caption_; }
  // Label of the search field ("Suche:").
  void SetSearchLabel(const QString& text);

  // Columns. Widths are in twips of the grid's design font (see
  // TwipsToPixels); they are shown as wide as our font needs for the same text.
  void AddColumn(const QString& key, const QString& caption, int widthTwips = 1200);
  void ClearColumns();
  int ColumnCount() const;
  QString ColumnKey(int column) const;  // from 1; "" outside
  int ColumnNumber(const QString& key) const;  // from 1; 0 when missing
  bool HasColumn(const QString& key) const { return ColumnNumber(key) > 0; }
  QString ColumnCaption(const QString& key) const;
  void SetColumnCaption(const QString& key, const QString& caption);
  int ColumnWidth(const QString& key) const;
  void SetColumnWidth(const QString& key, int widthTwips);
  bool ColumnVisible(const QString& key) const;
  void SetColumnVisible(const QString& key, bool visible);
  // Width of a text in the grid's font, in column twips.
  int TextWidthTwips(const QString& text) const;
  // Fits a column's width to its caption and contents.
  void FitColumnWidth(const QString& key);

  // Rows (from 1).
  int RowCount() const;
  // Adds a row from TAB-separated text; returns its number (0 when the grid
  // is bound to a table, where rows come from the table only).
  int AddRow(const QString& tabSeparated);
  QString CellText(int row, const QString& key) const;  // "" outside
  void SetCellText(int row, const QString& key, const QString& text);
  // The row's cells in column order.
  QStringList RowCells(int row) const;
  // First row from startRow on whose cell in column `key` equals value; 0 for none.
  int FindRow(const QString& key, const QString& value, int startRow = 1) const;
  void RemoveRow(int row);
  // Removes every row (and, while bound, releases the table).
  void ClearRows();
  // Tick state of a row (shown in a tick column when ShowCheckBoxes is on).
  void SetShowCheckBoxes(bool show);
  bool ShowCheckBoxes() const { return showChecks_; }
  bool RowChecked(int row) const;
  void SetRowChecked(int row, bool checked);

  // Current and selected rows.
  int CurrentRow() const;  // 0 when none
  void SetCurrentRow(int row);
  int SelectedRowCount() const;
  QList<int> SelectedRows() const;
  void SelectRows(const QList<int>& rows);
  // Deletes the selected rows after the before-delete event (which may cancel).
  // Returns the number of rows deleted.
  int DeleteSelectedRows();

  // Edit mode: cells of an in-memory grid can be edited by the user.
  bool EditMode() const { return editMode_; }
  void SetEditMode(bool on);
  void StartEdit(int row, int column);
  // Stores the text of a cell editor that is still open.
  void CommitEdit();

  // Drawing: while off, changes are not drawn; switching it on redraws.
  bool Redraw() const { return redraw_; }
  void SetRedraw(bool on);
  // Re-reads the bound table (or the rows in memory) and redraws.
  void Refresh();

  // Binding. The grid takes over the source; its columns become the source's
  // fields (key and caption = field name, width 1300 twips).
  void BindSource(std::unique_ptr<GridRecordSource> source);
  // Binds to a recordset (its row ids are kept, rows are read on demand).
  void BindRecordset(const Recordset& recordset);
  // Binds to the rows of an SQL SELECT on a database, fetched on demand; a
  // refresh runs the query again.
  void BindQuery(Database& db, const QString& selectSql);
  bool IsBound() const;
  // The SELECT statement of a grid bound with BindQuery; "" otherwise.
  QString BoundQuery() const;

  // The grid's own file: a versioned UTF-8 text with columns and rows.
  // A failed load returns False and leaves the grid as it was.
  bool SaveToFile(const QString& path) const;
  // The same file with the grid's columns and the given rows.
  bool SaveToFile(const QString& path, const std::vector<QStringList>& rows) const;
  // With ownColumns the file must have the grid's column keys in the grid's
  // order; a file of another table is refused like a damaged one.
  bool LoadFromFile(const QString& path, bool ownColumns = false);

  // Writes the rows as Windows-1252 text, cells joined by the separator,
  // lines ended by CR LF, replacing the file. Raises the export event for
  // every row (a skipped row is not written). Returns success.
  bool ExportText(const QString& path, const QString& separator);
  // Writes an .xls workbook: a header row of captions, then the rows not
  // skipped by the export event, with the given columns (numbers from 1; empty
  // = all columns in order).
  bool ExportSpreadsheet(const QString& path, const QList<int>& columns);
  // The same with the columns as a comma-separated list ("1,2,18,19,20");
  // entries that name no column are left out.
  bool ExportSpreadsheet(const QString& path, const QString& columnList);
  // Description of the last failed export, load or save.
  QString LastError() const { return lastError_; }

  QString Tag() const { return tag_; }
  void SetTag(const QString& tag) { tag_ = tag; }

  // Events.
  void onBeforeDelete(std::function<void(int row, bool& cancel)> h) { onBeforeDelete_ = std::move(h); }
  void onMouseUp(std::function<void(const GridMouseEvent&)> h) { onMouseUp_ = std::move(h); }
  void onRowChange(std::function<void()> h) { onRowChange_ = std::move(h); }
  void onExportRow(std::function<void(int row, int total, bool& skip)> h) { onExportRow_ = std::move(h); }
  void onFormatRow(std::function<void(int row, GridRow& rowObject)> h);
  void onCheckChanged(std::function<void(int row, bool checked)> h);
  // The user changed a cell in edit mode (row from 1, column key).
  void onCellEdited(std::function<void(int row, const QString& key)> h);

  QTableView* view() const { return view_; }
  DataGridModel* model() const { return model_; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  friend class DataGridModel;
  // Column twips and the view's pixels, by the width of a digit.
  double PixelsPerColumnTwip() const;
  int TwipsToPixels(int twips) const;
  int PixelsToTwips(int pixels) const;
  void applyColumnGeometry();
  void search();
  bool exportRows(const std::function<bool(const QStringList&)>& writeRow, int& written);

  DataGridModel* model_;
  QTableView* view_;
  ElidingLabel* caption_;
  QLabel* searchLabel_;
  QLineEdit* searchField_;
  bool editMode_ = false;
  bool redraw_ = true;
  bool showChecks_ = false;
  int lastCurrentRow_ = 0;
  bool keepPosition_ = false;
  int keptRow_ = 0;
  int keptColumn_ = 0;
  int keptScroll_ = 0;
  QString tag_;
  mutable QString lastError_;
  std::function<void(int, bool&)> onBeforeDelete_;
  std::function<void(const GridMouseEvent&)> onMouseUp_;
  std::function<void()> onRowChange_;
  std::function<void(int, int, bool&)> onExportRow_;
  std::function<void(int, bool)> onCheckChanged_;
};

}  // namespace orv
