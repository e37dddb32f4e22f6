// What the checklist and the expense window share around their editable grid. Above all
// the grid commands: sorting by a header click (ascending, or descending when a modifier
// key was down at the last mouse release over the grid), deleting one row at a time, and
// the pop-up menu.
//
//     commands_ = new grids::GridCommands(grddataGrid, Data1, mnuGridEdit, this);
//     void frmCheck::grddataGrid_HeadClick(int column) { commands_->sortByColumn(column); }
//     void frmCheck::mnuDelete_Click() { commands_->deleteCurrentRow(); }
//
// The DataSource must have its record source set (the table), so that a deletion can
// re-read it in stored order.
#pragma once

#include "controls/CellFormat.h"
#include "controls/Named.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <vector>

class QMenu;
class QWidget;

namespace store {
class StoreError;
}
namespace controls {
class DataGrid;
class DataSource;
struct GridColumn;
}  // namespace controls

namespace grids {

using controls::named;

// A column bound to field, shown in format, without default or cell button.
controls::GridColumn boundColumn(const QString& caption, const QString& field,
                                 controls::CellFormat format = controls::CellFormat::AsEntered);

// Gives the grid's columns their widths in pixels, now and after every re-reading of the
// rows (the column stretchColumn takes the room that is left, at least its own width),
// and rows one line of text high.
void arrangeColumns(controls::DataGrid* grid, std::vector<int> widths, int stretchColumn);

// Makes Enter a key of the grid only: no button of window is pressed by it (a dialog's
// buttons are otherwise pressed by an Enter the grid passes on).
void keepEnterForTheGrid(QWidget* window);

// The message of a window whose rows could not be loaded: "Error:" with the number, a
// blank and the description.
void reportLoadFailure(const store::StoreError& failure, QWidget* window);

// The sort text of a header click on a column bound to field: "[field]" or "[field] desc".
QString sortText(const QString& field, bool descending);

class GridCommands : public QObject {
    Q_OBJECT
public:
    // Shows popup on a right-button press in the grid; watches every mouse release over
    // the grid, its column headers and row selectors included.
    GridCommands(controls::DataGrid* grid, controls::DataSource* source, QMenu* popup, QObject* parent);

    // True when a modifier key (Shift, Ctrl or Alt) was down at the last mouse release.
    bool descending() const { return descending_; }

    // Re-reads the rows in the order of the clicked column's field; the descending flag
    // is used up by it. A row with changes that cannot be written keeps the old order
    // (the store's message has been shown); a failure of the sort shows "Sort Error".
    void sortByColumn(int column);

    enum class Deletion { SeveralSelected, NoCurrentRow, Deleted };
    // Deletes the grid's current row at once (no question) and re-reads the rows from the
    // table, dropping any sort. More than one selected row: a message, nothing deleted.
    // No current row (an empty list, or the empty last row): a beep; what was typed on
    // the empty last row is discarded.
    Deletion deleteCurrentRow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<controls::DataGrid> grid_;
    QPointer<controls::DataSource> source_;
    bool descending_ = false;
};

}  // namespace grids
