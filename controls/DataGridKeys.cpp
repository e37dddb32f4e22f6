// The bound grid's keyboard: where Tab and Shift+Tab take the current cell, Esc outside
// an edit, and typing that starts an edit rather than searching.
#include "controls/DataGrid.h"

#include "controls/DataSource.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace controls {

// The logical column of the first (or last) column shown, -1 when none is shown.
int DataGrid::edgeColumn(bool first) const
{
    const QHeaderView* header = horizontalHeader();
    const int count = header->count();
    for (int i = 0; i < count; ++i) {
        const int logical = header->logicalIndex(first ? i : count - 1 - i);
        if (!isColumnHidden(logical))
            return logical;
    }
    return -1;
}

// The column shown after (step 1) or before (step -1) a column; -1 past either end.
int DataGrid::neighbourColumn(int column, int step) const
{
    const QHeaderView* header = horizontalHeader();
    for (int visual = header->visualIndex(column) + step; visual >= 0 && visual < header->count();
         visual += step) {
        const int logical = header->logicalIndex(visual);
        if (!isColumnHidden(logical))
            return logical;
    }
    return -1;
}

// Tab walks the cells row by row. Past the last column of a record it goes to the next
// row's first cell; past the last column of the new row it stores what was typed there
// and goes to the first cell of the new empty row that follows. It never wraps round to
// the top, where the next keys would overwrite a row the user did not mean to change.
QModelIndex DataGrid::nextCell(const QModelIndex& current)
{
    const int row = current.row();
    if (const int column = neighbourColumn(current.column(), 1); column >= 0)
        return model_->index(row, column);
    const int first = edgeColumn(true);
    if (row + 1 < model_->rowCount())
        return model_->index(row + 1, first);
    if (!model_->isNewRow(row))
        return current;
    DataSource* source = model_->dataSource();
    if (!source || !source->isAdding() || !source->isDirty())
        return model_->index(row, first);
    if (!source->updateRecord())
        return current;  // the store refused the row: it stays, with what was typed
    return model_->index(model_->rowCount() - 1, first);
}

// Shift+Tab walks back; before the first cell of the first row it stays there.
QModelIndex DataGrid::previousCell(const QModelIndex& current)
{
    const int row = current.row();
    if (const int column = neighbourColumn(current.column(), -1); column >= 0)
        return model_->index(row, column);
    return row > 0 ? model_->index(row - 1, edgeColumn(false)) : current;
}

QModelIndex DataGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || (action != MoveNext && action != MovePrevious))
        return QTableView::moveCursor(action, modifiers);
    return action == MoveNext ? nextCell(current) : previousCell(current);
}

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    // Esc outside an edit undoes the row's changes not yet written.
    // On the new row the cell stays where it is, ready for a new record.
    DataSource* source = model_->dataSource();
    if (event->key() == Qt::Key_Escape && state() != EditingState && source && source->isDirty()) {
        if (source->isAdding()) {
            syncing_ = true;
            source->cancelUpdate();
            source->addNew();
            syncing_ = false;
        } else {
            source->cancelUpdate();
        }
        syncFromSource();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DataGrid::keyboardSearch(const QString&)
{
    // Typing starts an edit; it never jumps to a row.
}

}  // namespace controls
