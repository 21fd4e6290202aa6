#include "platform/ui/DataGrid.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "foundation/OrvenilError.h"
#include "foundation/TextLineWriter.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/DataGridModel.h"
#include "platform/ui/ElidingLabel.h"
#include "platform/ui/GridFile.h"
#include "platform/ui/GridRecordSource.h"
#include "platform/ui/RecordsetGridSource.h"
#include "platform/xls/XlsWriter.h"

namespace orv {

namespace {
// Column widths are given in twips for a small font whose digit is 80 twips
// (1/18 inch) wide: 1300 twips then hold a seven-digit easting with four
// decimals, 1800 twips a point number of 20 digits. Our font's digits are
// wider or narrower, so a width in twips becomes as many pixels as the same
// number of our digits needs.
constexpr double kDesignDigitTwips = 80.0;
}  // namespace

double DataGrid::PixelsPerColumnTwip() const {
  return std::max(1, view_->fontMetrics().horizontalAdvance(QLatin1Char('0'))) / kDesignDigitTwips;
}

int DataGrid::TwipsToPixels(int twips) const {
  return static_cast<int>(std::lround(twips * PixelsPerColumnTwip()));
}

int DataGrid::PixelsToTwips(int pixels) const {
  return static_cast<int>(std::lround(pixels / PixelsPerColumnTwip()));
}

namespace {

// Forwards the mouse release over the cells to the grid's event.
class MouseUpFilter : public QObject {
 public:
  MouseUpFilter(QTableView* view, std::function<void(QMouseEvent*)> handler)
      : QObject(view), handler_(std::move(handler)) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease) handler_(static_cast<QMouseEvent*>(event));
    return false;
  }

 private:
  std::function<void(QMouseEvent*)> handler_;
};
}  // namespace

// ---- GridRow ---------------------------------------------------------------

QString GridRow::CellText(const QString& key) const {
  if (!columnOfKey) return QString();
  const int i = columnOfKey->value(key, -1);
  return i >= 0 ? cells.value(i) : QString();
}

void GridRow::SetCellBackColor(const QString& key, const QColor& colour) {
  const int i = columnOfKey ? columnOfKey->value(key, -1) : -1;
  if (i >= 0) formats[i].back = colour;
}

void GridRow::SetCellForeColor(const QString& key, const QColor& colour) {
  const int i = columnOfKey ? columnOfKey->value(key, -1) : -1;
  if (i >= 0) formats[i].fore = colour;
}

void GridRow::SetCellNote(const QString& key, const QString& note) {
  const int i = columnOfKey ? columnOfKey->value(key, -1) : -1;
  if (i >= 0) {
    formats[i].note = note;
    formats[i].hasNote = true;
  }
}

// ---- DataGrid --------------------------------------------------------------

DataGrid::DataGrid(QWidget* parent) : QWidget(parent) {
  model_ = new DataGridModel(this);
  view_ = new QTableView(this);
  view_->setModel(model_);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setWordWrap(false);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->horizontalHeader()->setHighlightSections(false);

  caption_ = new ElidingLabel(QString(), this);
  QFont bold = caption_->font();
  bold.setBold(true);
  caption_->setFont(bold);
  // A long caption (a run's description) takes only the room the search
  // field leaves: shortened at its end ("…"), whole in its tooltip.
  searchLabel_ = new QLabel(QStringLiteral("Suche:"), this);
  searchField_ = new QLineEdit(this);
  searchField_->setMaximumWidth(220);

  auto* top = new QHBoxLayout;
  top->setContentsMargins(2, 2, 2, 2);
  top->addWidget(caption_, 1);
  top->addSpacing(8);
  top->addWidget(searchLabel_);
  top->addWidget(searchField_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addLayout(top);
  layout->addWidget(view_, 1);

  connect(searchField_, &QLineEdit::returnPressed, this, [this] { search(); });
  connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current, const QModelIndex&) {
            const int row = current.isValid() ? current.row() + 1 : 0;
            if (row == lastCurrentRow_) return;
            lastCurrentRow_ = row;
            if (onRowChange_) onRowChange_();
          });
  // A refresh or the end of suspended drawing rebuilds the view; the user
  // keeps the current row and the scroll position (a new binding does not).
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
    keptRow_ = keepPosition_ ? CurrentRow() : 0;
    keptColumn_ = view_->currentIndex().isValid() ? view_->currentIndex().column() : 0;
    keptScroll_ = view_->verticalScrollBar()->value();
  });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    applyColumnGeometry();
    if (keptRow_ >= 1 && keptRow_ <= RowCount() && keptColumn_ < ColumnCount()) {
      lastCurrentRow_ = keptRow_;  // the same row number: no row change
      view_->selectionModel()->setCurrentIndex(model_->index(keptRow_ - 1, keptColumn_),
                                               QItemSelectionModel::NoUpdate);
      view_->verticalScrollBar()->setValue(keptScroll_);
    } else {
      lastCurrentRow_ = CurrentRow();
    }
    keptRow_ = 0;
  });
  view_->viewport()->installEventFilter(new MouseUpFilter(view_, [this](QMouseEvent* e) {
    if (!onMouseUp_) return;
    GridMouseEvent m;
    m.button = e->button() == Qt::RightButton ? 2 : e->button() == Qt::MiddleButton ? 4 : 1;
    const QModelIndex at = view_->indexAt(e->position().toPoint());
    m.row = at.isValid() ? at.row() + 1 : 0;
    m.column = at.isValid() ? at.column() + 1 : 0;
    m.columnKey = ColumnKey(m.column);
    m.globalPos = e->globalPosition().toPoint();
    onMouseUp_(m);
  }));
}

DataGrid::~DataGrid() = default;

QString DataGrid::Caption() const { return caption_->text(); }
void DataGrid::SetCaption(const QString& caption) { caption_->setText(caption); }
void DataGrid::SetSearchLabel(const QString& text) { searchLabel_->setText(text); }

void DataGrid::onFormatRow(std::function<void(int, GridRow&)> h) {
  model_->formatRow = std::move(h);
  model_->invalidateFormats();
  view_->viewport()->update();
}

// ---- columns ---------------------------------------------------------------

void DataGrid::AddColumn(const QString& key, const QString& caption, int widthTwips) {
  model_->addColumn(GridColumn{key, caption, widthTwips, true});
  const int i = static_cast<int>(model_->columns().size()) - 1;
  view_->setColumnWidth(i, TwipsToPixels(widthTwips));
}

void DataGrid::ClearColumns() { model_->clearColumns(); }
int DataGrid::ColumnCount() const { return static_cast<int>(model_->columns().size()); }

QString DataGrid::ColumnKey(int column) const {
  return column >= 1 && column <= ColumnCount() ? model_->columns().at(column - 1).key : QString();
}

int DataGrid::ColumnNumber(const QString& key) const { return model_->columnIndex(key) + 1; }

QString DataGrid::ColumnCaption(const QString& key) const {
  const GridColumn* c = model_->column(key);
  return c ? c->caption : QString();
}

void DataGrid::SetColumnCaption(const QString& key, const QString& caption) {
  model_->setCaption(key, caption);
}

int DataGrid::ColumnWidth(const QString& key) const {
  const GridColumn* c = model_->column(key);
  return c ? c->widthTwips : 0;
}

void DataGrid::SetColumnWidth(const QString& key, int widthTwips) {
  if (GridColumn* c = model_->column(key)) {
    c->widthTwips = widthTwips < 0 ? 0 : widthTwips;
    view_->setColumnWidth(model_->columnIndex(key), TwipsToPixels(c->widthTwips));
  }
}

bool DataGrid::ColumnVisible(const QString& key) const {
  const GridColumn* c = model_->column(key);
  return c && c->visible;
}

void DataGrid::SetColumnVisible(const QString& key, bool visible) {
  if (GridColumn* c = model_->column(key)) {
    c->visible = visible;
    view_->setColumnHidden(model_->columnIndex(key), !visible);
  }
}

int DataGrid::TextWidthTwips(const QString& text) const {
  return PixelsToTwips(view_->horizontalHeader()->fontMetrics().horizontalAdvance(text));
}

void DataGrid::FitColumnWidth(const QString& key) {
  const int i = model_->columnIndex(key);
  if (i < 0) return;
  view_->resizeColumnToContents(i);
  const int header = view_->horizontalHeader()->fontMetrics().horizontalAdvance(ColumnCaption(key)) + 16;
  const int px = std::max(view_->columnWidth(i), header);
  view_->setColumnWidth(i, px);
  model_->column(key)->widthTwips = PixelsToTwips(px);
}

void DataGrid::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Another font needs other pixels for the same column twips.
  if (event->type() == QEvent::FontChange) applyColumnGeometry();
}

void DataGrid::applyColumnGeometry() {
  const auto& cols = model_->columns();
  for (int i = 0; i < cols.size(); ++i) {
    view_->setColumnWidth(i, TwipsToPixels(cols.at(i).widthTwips));
    view_->setColumnHidden(i, !cols.at(i).visible);
  }
}

// ---- rows ------------------------------------------------------------------

int DataGrid::RowCount() const { return model_->rows(); }

int DataGrid::AddRow(const QString& tabSeparated) {
  if (model_->bound()) return 0;
  return model_->appendRow(tabSeparated.split(QLatin1Char('\t'))) + 1;
}

QString DataGrid::CellText(int row, const QString& key) const {
  const int c = model_->columnIndex(key);
  return c >= 0 ? model_->cell(row - 1, c) : QString();
}

void DataGrid::SetCellText(int row, const QString& key, const QString& text) {
  const int c = model_->columnIndex(key);
  if (c >= 0) model_->setCell(row - 1, c, text);
}

QStringList DataGrid::RowCells(int row) const { return model_->rowCells(row - 1); }

int DataGrid::FindRow(const QString& key, const QString& value, int startRow) const {
  const int c = model_->columnIndex(key);
  if (c < 0) return 0;
  const int n = model_->rows();
  for (int r = std::max(startRow, 1); r <= n; ++r)
    if (model_->cell(r - 1, c) == value) return r;
  return 0;
}

void DataGrid::RemoveRow(int row) {
  if (row < 1 || row > RowCount()) return;
  model_->removeRows({row - 1});
}

void DataGrid::ClearRows() { model_->clearRows(); }

void DataGrid::SetShowCheckBoxes(bool show) {
  showChecks_ = show;
  model_->checkable = show;
  view_->viewport()->update();
}

bool DataGrid::RowChecked(int row) const { return model_->checked(row - 1); }
void DataGrid::SetRowChecked(int row, bool checked) { model_->setChecked(row - 1, checked); }

void DataGrid::onCheckChanged(std::function<void(int, bool)> h) {
  onCheckChanged_ = std::move(h);
  model_->checkChanged = onCheckChanged_;
}

void DataGrid::onCellEdited(std::function<void(int, const QString&)> h) {
  model_->cellEdited = [this, h = std::move(h)](int row, int column) {
    if (h) h(row + 1, ColumnKey(column + 1));
  };
}

// ---- current and selected rows ---------------------------------------------

int DataGrid::CurrentRow() const {
  const QModelIndex i = view_->currentIndex();
  return i.isValid() ? i.row() + 1 : 0;
}

void DataGrid::SetCurrentRow(int row) {
  if (row < 1 || row > RowCount() || ColumnCount() == 0) return;
  int column = view_->currentIndex().isValid() ? view_->currentIndex().column() : 0;
  view_->setCurrentIndex(model_->index(row - 1, column));
  view_->scrollTo(model_->index(row - 1, column));
}

QList<int> DataGrid::SelectedRows() const {
  QList<int> rows;
  for (const QModelIndex& i : view_->selectionModel()->selectedRows()) rows << i.row() + 1;
  std::sort(rows.begin(), rows.end());
  return rows;
}

int DataGrid::SelectedRowCount() const { return static_cast<int>(SelectedRows().size()); }

void DataGrid::SelectRows(const QList<int>& rows) {
  QItemSelection selection;
  for (int r : rows)
    if (r >= 1 && r <= RowCount() && ColumnCount() > 0)
      selection.select(model_->index(r - 1, 0), model_->index(r - 1, ColumnCount() - 1));
  view_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

int DataGrid::DeleteSelectedRows() {
  const QList<int> rows = SelectedRows();
  if (rows.isEmpty()) return 0;
  bool cancel = false;
  if (onBeforeDelete_) onBeforeDelete_(rows.size() == 1 ? rows.first() : 0, cancel);
  if (cancel) return 0;
  QList<int> zeroBased;
  for (int r : rows) zeroBased << r - 1;
  view_->selectionModel()->clearSelection();
  return model_->removeRows(zeroBased);
}

// ---- edit mode and drawing -------------------------------------------------

void DataGrid::SetEditMode(bool on) {
  editMode_ = on;
  model_->editable = on;
  // Leaving edit mode takes the focus from an open editor, which stores its text.
  if (!on && view_->viewport()->isAncestorOf(QApplication::focusWidget())) view_->setFocus();
  view_->setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::AnyKeyPressed
                            : QAbstractItemView::NoEditTriggers);
}

void DataGrid::StartEdit(int row, int column) {
  if (!editMode_ || row < 1 || row > RowCount()) return;
  const int c = column >= 1 && column <= ColumnCount() ? column - 1 : 0;
  const QModelIndex i = model_->index(row - 1, c);
  view_->setCurrentIndex(i);
  view_->edit(i);
}

void DataGrid::CommitEdit() {
  // The view's own commit, as when the editor loses the focus.
  if (QWidget* editor = view_->indexWidget(view_->currentIndex()))
    QMetaObject::invokeMethod(view_, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, editor));
}

void DataGrid::SetRedraw(bool on) {
  if (on == redraw_) return;
  redraw_ = on;
  if (!on) {
    view_->setUpdatesEnabled(false);
    model_->setSuspended(true);
  } else {
    keepPosition_ = true;
    model_->setSuspended(false);
    keepPosition_ = false;
    view_->setUpdatesEnabled(true);
    view_->viewport()->update();
  }
}

void DataGrid::Refresh() {
  if (model_->bound()) {
    keepPosition_ = true;
    model_->reload();
    keepPosition_ = false;
  } else {
    model_->invalidateFormats();
    view_->viewport()->update();
  }
}

// ---- binding ---------------------------------------------------------------

void DataGrid::BindSource(std::unique_ptr<GridRecordSource> source) {
  model_->bind(std::move(source));
  applyColumnGeometry();
}

void DataGrid::BindRecordset(const Recordset& recordset) {
  BindSource(std::make_unique<RecordsetGridSource>(recordset));
}

void DataGrid::BindQuery(Database& db, const QString& selectSql) {
  BindSource(std::make_unique<RecordsetGridSource>(db, selectSql));
}

bool DataGrid::IsBound() const { return model_->bound(); }

QString DataGrid::BoundQuery() const { return model_->bound() ? model_->source()->query() : QString(); }

// ---- files -----------------------------------------------------------------

bool DataGrid::SaveToFile(const QString& path) const {
  lastError_.clear();
  const int n = RowCount();
  return WriteGridFile(path, model_->columns(), n, [this](int r) { return model_->rowCells(r); },
                       &lastError_);
}

bool DataGrid::SaveToFile(const QString& path, const std::vector<QStringList>& rows) const {
  lastError_.clear();
  return WriteGridFile(path, model_->columns(), static_cast<int>(rows.size()),
                       [&rows](int r) { return rows[static_cast<size_t>(r)]; }, &lastError_);
}

bool DataGrid::LoadFromFile(const QString& path, bool ownColumns) {
  lastError_.clear();
  QStringList keys;
  for (int c = 1; c <= ColumnCount(); ++c) keys << ColumnKey(c);
  GridFileContent content;
  if (!ReadGridFile(path, content, &lastError_, ownColumns ? &keys : nullptr)) return false;
  view_->selectionModel()->clearSelection();
  model_->setRows(std::move(content.rows));
  model_->setColumns(content.columns);
  applyColumnGeometry();
  return true;
}

bool DataGrid::exportRows(const std::function<bool(const QStringList&)>& writeRow, int& written) {
  const int n = RowCount();
  written = 0;
  for (int r = 1; r <= n; ++r) {
    bool skip = false;
    if (onExportRow_) onExportRow_(r, n, skip);
    if (skip) continue;
    if (!writeRow(model_->rowCells(r - 1))) return false;
    ++written;
  }
  return true;
}

bool DataGrid::ExportText(const QString& path, const QString& separator) {
  lastError_.clear();
  try {
    TextLineWriter writer(path);
    int written = 0;
    exportRows([&](const QStringList& cells) {
      writer.writeLine(cells.join(separator));
      return true;
    }, written);
    writer.close();
    return true;
  } catch (const OrvenilError& e) {
    lastError_ = e.description();
    return false;
  }
}

bool DataGrid::ExportSpreadsheet(const QString& path, const QList<int>& columns) {
  lastError_.clear();
  QList<int> cols;
  for (int c : columns)
    if (c >= 1 && c <= ColumnCount()) cols << c - 1;
  if (columns.isEmpty())
    for (int c = 0; c < ColumnCount(); ++c) cols << c;
  XlsWriter writer;
  if (!writer.open(path)) {
    lastError_ = writer.errorText();
    return false;
  }
  QStringList header;
  for (int c : cols) header << model_->columns().at(c).caption;
  writer.writeRow(header);
  int written = 0;
  exportRows([&](const QStringList& cells) {
    QStringList out;
    out.reserve(cols.size());
    for (int c : cols) out << cells.value(c);
    writer.writeRow(out);
    return true;
  }, written);
  if (!writer.close()) {
    lastError_ = writer.errorText();
    return false;
  }
  return true;
}

bool DataGrid::ExportSpreadsheet(const QString& path, const QString& columnList) {
  QList<int> columns;
  for (const QString& part : columnList.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    bool ok = false;
    const int c = part.trimmed().toInt(&ok);
    if (ok && c >= 1 && c <= ColumnCount()) columns << c;
  }
  if (columns.isEmpty()) {
    lastError_ = QStringLiteral("Keine Spalten gewählt.");
    return false;
  }
  return ExportSpreadsheet(path, columns);
}

// ---- search ----------------------------------------------------------------

void DataGrid::search() {
  const QString wanted = searchField_->text().trimmed();
  if (wanted.isEmpty() || ColumnCount() == 0) return;
  const int n = RowCount();
  const int start = CurrentRow();  // search goes on after the current row
  for (int k = 1; k <= n; ++k) {
    const int r = (start + k - 1) % n + 1;
    const QStringList cells = model_->rowCells(r - 1);
    for (int c = 0; c < cells.size() && c < ColumnCount(); ++c) {
      if (!model_->columns().at(c).visible) continue;
      if (cells.at(c).contains(wanted, Qt::CaseInsensitive)) {
        SetCurrentRow(r);
        view_->selectRow(r - 1);
        return;
      }
    }
  }
}

}  // namespace orv
