#include "controls/DataGrid.h"

#include "controls/DataSource.h"
#include "controls/Events.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace controls {

namespace {

// The cell button sits at the right end of the cell, as wide as the row is high.
QRect buttonRectOf(const QRect& cell)
{
    const int side = std::min(cell.height(), 18);
    return QRect(cell.right() - side + 1, cell.top(), side, cell.height());
}

}  // namespace

// ==== the delegate: cell buttons and the start of an edit ====================================

class DataGridDelegate : public QStyledItemDelegate {
public:
    explicit DataGridDelegate(DataGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (!grid_->column(index.column()).button)
            return;
        QStyleOptionButton button;
        button.rect = buttonRectOf(option.rect);
        button.state = QStyle::State_Enabled | QStyle::State_Raised;
        button.text = QStringLiteral("...");
        QApplication::style()->drawControl(QStyle::CE_PushButton, &button, painter);
    }

    // BeforeColEdit runs here, when the view has decided to open an editor: a handler
    // that cancels keeps the cell from editing.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        if (!grid_->startEdit(index))
            return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

private:
    DataGrid* grid_;
};

// ==== DataGrid ===================================================================================

DataGrid::DataGrid(QWidget* parent) : QTableView(parent), model_(new DataGridModel(this))
{
    setModel(model_);
    setItemDelegate(new DataGridDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::SelectedClicked);
    verticalHeader()->setVisible(true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionsClickable(true);
    // A header click sorts in the windows; it does not select the column.
    disconnect(horizontalHeader(), SIGNAL(sectionPressed(int)), this, nullptr);
    disconnect(horizontalHeader(), SIGNAL(sectionEntered(int)), this, nullptr);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DataGrid::onHeaderClicked);
    model_->setEditHandler(
        [this](const QModelIndex& index, const QVariant& text) { return commitCell(index, text); });
}

int DataGrid::addColumn(const GridColumn& column)
{
    auto columns = model_->columns();
    columns.push_back(column);
    model_->setColumns(std::move(columns));
    return columnCount() - 1;
}

void DataGrid::setColumns(std::vector<GridColumn> columns)
{
    model_->setColumns(std::move(columns));
}
GridColumn& DataGrid::column(int index)
{
    return model_->column(index);
}
int DataGrid::columnCount() const
{
    return int(model_->columns().size());
}

void DataGrid::setDataSource(DataSource* source)
{
    if (DataSource* old = model_->dataSource())
        disconnect(old, nullptr, this, nullptr);
    model_->setDataSource(source);
    if (source)
        connect(source, &DataSource::currentChanged, this, &DataGrid::syncFromSource);
    syncFromSource();
}

DataSource* DataGrid::dataSource() const
{
    return model_->dataSource();
}
void DataGrid::setAllowAddNew(bool allow)
{
    model_->setAllowAddNew(allow);
}
void DataGrid::setAllowUpdate(bool allow)
{
    allowUpdate_ = allow;
}
void DataGrid::setPopupMenu(QMenu* menu)
{
    popup_ = menu;
}

int DataGrid::row() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}
int DataGrid::col() const
{
    return currentIndex().isValid() ? currentIndex().column() : -1;
}
int DataGrid::rowCount() const
{
    return model_->rowCount();
}
bool DataGrid::isOnNewRow() const
{
    return row() >= 0 && model_->isNewRow(row());
}

void DataGrid::setRow(int row)
{
    setCurrentIndex(model_->index(row, std::max(col(), 0)));
}
void DataGrid::setCol(int column)
{
    setCurrentIndex(model_->index(std::max(row(), 0), column));
}

QString DataGrid::columnText(int column) const
{
    return model_->textAt(row(), column);
}
QVariant DataGrid::columnValue(int column) const
{
    return model_->valueAt(row(), column);
}
QString DataGrid::cellText(int row, int column) const
{
    return model_->textAt(row, column);
}
QVariant DataGrid::cellValue(int row, int column) const
{
    return model_->valueAt(row, column);
}
std::optional<store::Bookmark> DataGrid::rowBookmark(int row) const
{
    return model_->bookmarkAt(row);
}

void DataGrid::setColumnText(int column, const QString& text)
{
    setColumnValue(column, parseCell(text, model_->fieldTypeOf(column)));
}

void DataGrid::setColumnValue(int column, const QVariant& value)
{
    model_->setCell(row(), column, value);
}

std::vector<store::Bookmark> DataGrid::selectedBookmarks() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    std::vector<store::Bookmark> marks;
    for (int r : rows)
        if (auto mark = model_->bookmarkAt(r))
            marks.push_back(*mark);
    return marks;
}

void DataGrid::refresh()
{
    model_->reload();
    syncFromSource();
}

// Puts the grid's current cell on the DataSource's current row.
void DataGrid::syncFromSource()
{
    DataSource* source = model_->dataSource();
    if (!source || syncing_)
        return;
    const int target = source->isAdding() ? model_->recordCount() : source->absolutePosition();
    if (target < 0 || target == row())
        return;
    syncing_ = true;
    const QModelIndex index = model_->index(target, std::max(col(), 0));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
    syncing_ = false;
}

// Moves the DataSource to a row the user went to. When the source cannot leave its row
// it stays, and syncFromSource puts the grid back on it.
void DataGrid::moveSourceTo(int row)
{
    DataSource* source = model_->dataSource();
    if (!source || !source->recordset())
        return;
    try {
        if (model_->isNewRow(row)) {
            if (!source->isAdding())
                source->addNew();
        } else if (auto mark = model_->bookmarkAt(row); mark && source->bookmark() != mark) {
            source->setBookmark(*mark);
        }
    } catch (const store::StoreError& e) {
        source->reportError(e);
    }
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (syncing_ || !current.isValid() || (previous.isValid() && previous.row() == current.row()))
        return;
    syncing_ = true;
    moveSourceTo(current.row());
    syncing_ = false;
    syncFromSource();  // the grid follows wherever the source is now
}

bool DataGrid::startEdit(const QModelIndex& index)
{
    if (!allowUpdate_ && !model_->isNewRow(index.row()))
        return false;
    int keyAscii = startKeyAscii_;
    bool cancel = false;
    emit beforeColEdit(index.column(), keyAscii, cancel);
    if (cancel)
        return false;
    editingColumn_ = index.column();
    return true;
}

bool DataGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    startKeyAscii_ = trigger == AnyKeyPressed && event && event->type() == QEvent::KeyPress
                         ? keyAsciiOf(*static_cast<QKeyEvent*>(event))
                         : 0;
    const bool started = QTableView::edit(index, trigger, event);
    startKeyAscii_ = 0;
    return started;
}

void DataGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
    if (editingColumn_ < 0)
        return;
    const int column = editingColumn_;
    editingColumn_ = -1;
    emit afterColEdit(column);
}

// A new record's columns with a default get it, except the one being typed.
void DataGrid::applyDefaults(int editedColumn)
{
    DataSource* source = model_->dataSource();
    for (int c = 0; c < columnCount(); ++c) {
        const GridColumn& gc = column(c);
        if (c == editedColumn || gc.defaultValue.isEmpty() || gc.dataField.isEmpty() ||
            source->hasFieldValue(gc.dataField))
            continue;
        source->setFieldValue(gc.dataField, parseCell(gc.defaultValue, model_->fieldTypeOf(c)));
    }
}

// A typed cell: the cell takes the new value, BeforeColUpdate may put the old one back,
// AfterColUpdate follows an accepted change.
bool DataGrid::commitCell(const QModelIndex& index, const QVariant& text)
{
    DataSource* source = model_->dataSource();
    const int c = index.column();
    const QString field = column(c).dataField;
    if (!source || field.isEmpty())
        return false;
    const QString typed = text.toString();
    if (typed == model_->textAt(index.row(), c))
        return true;  // nothing changed
    if (model_->isNewRow(index.row()) && !source->isAdding() && !source->addNew())
        return false;
    const bool firstOfNewRow = source->isAdding() && !source->isDirty();
    const bool hadPending = source->hasFieldValue(field);
    const QVariant old = model_->valueAt(index.row(), c);
    if (firstOfNewRow)
        applyDefaults(c);
    source->setFieldValue(field, parseCell(typed, model_->fieldTypeOf(c)));
    bool cancel = false;
    emit beforeColUpdate(c, old, cancel);
    if (cancel) {
        if (hadPending)
            source->setFieldValue(field, old);
        else
            source->discardFieldValue(field);
        return false;
    }
    emit afterColUpdate(c);
    return true;
}

bool DataGrid::onButton(const QModelIndex& index, QPoint pos) const
{
    return index.isValid() && model_->columns()[size_t(index.column())].button &&
           buttonRectOf(visualRect(index)).contains(pos);
}

void DataGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit mouseDown(buttonsOf(event->button()), shiftStateOf(event->modifiers()), pos);
    if (event->button() == Qt::RightButton) {
        if (popup_)
            popup_->popup(viewport()->mapToGlobal(pos));
        return;
    }
    const QModelIndex index = indexAt(pos);
    const bool button = event->button() == Qt::LeftButton && onButton(index, pos);
    QTableView::mousePressEvent(event);
    if (button && currentIndex().row() == index.row())
        emit buttonClick(index.column());
}

void DataGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    emit mouseUp(buttonsOf(event->button()), shiftStateOf(event->modifiers()), event->position().toPoint());
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit dblClick();
}

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    // Esc outside an edit undoes the row's changes not yet written.
    DataSource* source = model_->dataSource();
    if (event->key() == Qt::Key_Escape && state() != EditingState && source && source->isDirty()) {
        source->cancelUpdate();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DataGrid::keyboardSearch(const QString&)
{
    // Typing starts an edit; it never jumps to a row.
}

void DataGrid::onHeaderClicked(int section)
{
    emit headClick(section);
}

}  // namespace controls
