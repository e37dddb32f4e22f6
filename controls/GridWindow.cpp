#include "controls/GridWindow.h"

#include "controls/DataGrid.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "controls/Events.h"
#include "controls/WaitCursor.h"
#include "store/Log.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

namespace grids {

namespace {

const QString ProgramTitle = QStringLiteral("Orvane");

}  // namespace

controls::GridColumn boundColumn(const QString& caption, const QString& field, controls::CellFormat format)
{
    controls::GridColumn column;
    column.caption = caption;
    column.dataField = field;
    column.format = format;
    return column;
}

void arrangeColumns(controls::DataGrid* grid, std::vector<int> widths, int stretchColumn)
{
    auto apply = [grid, widths, stretchColumn] {
        QHeaderView* header = grid->horizontalHeader();
        for (int c = 0; c < int(widths.size()) && c < header->count(); ++c) {
            header->setSectionResizeMode(
                c, c == stretchColumn ? QHeaderView::Stretch : QHeaderView::Interactive);
            if (c != stretchColumn)
                header->resizeSection(c, widths[size_t(c)]);
        }
    };
    apply();
    QObject::connect(grid->model(), &QAbstractItemModel::modelReset, grid, apply);
    int least =
        grid->verticalHeader()->sizeHint().width() + grid->verticalScrollBar()->sizeHint().width() + 4;
    for (int width : widths)
        least += width;
    grid->setMinimumWidth(least);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
}

void keepEnterForTheGrid(QWidget* window)
{
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

void reportLoadFailure(const store::StoreError& failure, QWidget* window)
{
    controls::MsgBox(QStringLiteral("Error:%1 %2").arg(failure.number()).arg(failure.description()),
                     controls::mb::OKOnly, ProgramTitle, window);
}

QString sortText(const QString& field, bool descending)
{
    const QString text = QLatin1Char('[') + field + QLatin1Char(']');
    return descending ? text + QStringLiteral(" desc") : text;
}

GridCommands::GridCommands(controls::DataGrid* grid, controls::DataSource* source, QMenu* popup,
                           QObject* parent)
    : QObject(parent), grid_(grid), source_(source)
{
    grid->setPopupMenu(popup);
    connect(grid, &controls::DataGrid::mouseUp, this,
            [this](int, int shift, QPoint) { descending_ = shift != 0; });
    // The headers are widgets of their own: their releases come through a filter. The
    // filter sees a release before the header turns it into a click, so a header click
    // made with Shift held sorts descending.
    grid->horizontalHeader()->viewport()->installEventFilter(this);
    grid->verticalHeader()->viewport()->installEventFilter(this);
}

bool GridCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        descending_ = controls::shiftStateOf(static_cast<QMouseEvent*>(event)->modifiers()) != 0;
    return QObject::eventFilter(watched, event);
}

void GridCommands::sortByColumn(int column)
{
    const QString field = grid_->column(column).dataField;
    const QString sort = sortText(field, descending_);
    descending_ = false;
    store::Recordset* current = source_->recordset();
    if (field.isEmpty() || !current)
        return;
    // The sorted set is read from the table: the row being edited is written first, so
    // that it is sorted by its new values. When it cannot be written, nothing is sorted.
    if (!source_->updateRecord())
        return;
    try {
        controls::WaitCursor wait;
        current->setSort(sort);
        source_->setRecordset(current->openRecordset(current->type()));
    } catch (const store::StoreError& failure) {
        controls::MsgBox(QStringLiteral("Sort Error\n") + failure.description(), controls::mb::OKOnly,
                         ProgramTitle);
    }
}

GridCommands::Deletion GridCommands::deleteCurrentRow()
{
    if (grid_->selectedBookmarks().size() > 1) {
        controls::MsgBox(QStringLiteral("You can only delete 1 row at a time"), controls::mb::OKOnly,
                         ProgramTitle);
        return Deletion::SeveralSelected;
    }
    store::Recordset* rows = source_->recordset();
    const auto mark = source_->bookmark();
    if (!rows || !mark) {
        if (source_->isAdding())
            source_->cancelUpdate();
        controls::Beep();
        return Deletion::NoCurrentRow;
    }
    // The row goes at once, with any change typed into it.
    source_->cancelUpdate();
    try {
        rows->setBookmark(*mark);
        rows->deleteRecord();
    } catch (const store::StoreError& ignored) {
        store::logIgnored("deleting the grid's row", ignored);
        // The list is re-read below either way and shows what the table holds.
    }
    try {
        source_->refresh();
    } catch (const store::StoreError&) {
        source_->resync(true);
    }
    return Deletion::Deleted;
}

}  // namespace grids
