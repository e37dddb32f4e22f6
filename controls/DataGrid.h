// The bound grid: a QTableView over the rows of a DataSource, with typed columns, an
// empty last row that takes a new record, cell buttons, row selectors and the grid
// events of the windows.
//
//     grddataGrid = new controls::DataGrid(this);
//     grddataGrid->setObjectName("grddataGrid");
//     grddataGrid->addColumn({"Done?", "Done", controls::CellFormat::YesNo, "No", true});
//     grddataGrid->addColumn({"CheckItem", "CheckItem"});
//     grddataGrid->setDataSource(Data1);
//     connect(grddataGrid, &controls::DataGrid::buttonClick, this, &frmCheck::grddataGrid_ButtonClick);
//
// Rows and the DataSource. The grid's current row is the DataSource's current row: moving
// in the grid moves the DataSource (writing the row that was left, see DataSource) and a
// move of the DataSource moves the grid. Cell edits go into the DataSource's row buffer
// and are written when the row is left, on updateRecord(), and when the window hides or
// closes. The last row is empty: typing into it starts a new record (DataSource::addNew);
// its columns with a default get the default when the first cell is typed. The grid
// never deletes a row itself; its pop-up menu (setPopupMenu) lets the window do it.
//
// Rows are read lazily in blocks through a clone of the record set, so a grid over
// thousands of rows reads only what is shown. When the DataSource gets a new record set
// (a sort hands one in) or is refreshed, the grid re-reads.
//
// Keys. Typing starts an edit of the current cell (Enter ends it, Esc undoes it); Esc
// outside an edit undoes the row's changes not yet written. Tab and Shift+Tab walk the
// cells row by row: past the last cell of a record to the next row's first cell, past the
// last cell of the new row to the first cell of the next new row (what was typed is stored
// first), never round to the top; Tab in an editor ends the edit and moves the same way.
// Arrows, Home, End and Ctrl+End move as in any table view.
//
// Editing events, in order: BeforeColEdit (the edit is starting; keyAscii is the typed
// character that started it, 0 for a mouse or F2 start; cancel keeps the cell from
// editing) - the user types - BeforeColUpdate (the cell already holds the new value;
// oldValue is the one before; cancel puts the old value back) - AfterColUpdate -
// AfterColEdit. Values set in code with setColumnText/setColumnValue raise none of them.
#pragma once

#include "controls/CellFormat.h"
#include "controls/DataSource.h"
#include "store/Store.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QTableView>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <QMenu>

namespace controls {

class DataSource;

struct GridColumn {
    QString caption;    // header text
    QString dataField;  // bound field ("" for an unbound column)
    CellFormat format = CellFormat::AsEntered;
    QString defaultValue;  // text a new row's empty cell gets ("" = none)
    bool button = false;   // a cell button (ButtonClick)
    bool locked = false;   // the cells cannot be edited
};

// The table model of a grid: one row per record of the DataSource, plus the empty new row.
class DataGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int BlockSize = 64;

    explicit DataGridModel(QObject* parent = nullptr);
    ~DataGridModel() override;

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& columns() const { return columns_; }
    GridColumn& column(int index) { return columns_.at(size_t(index)); }

    // Records + the new row (the new row only while adding is allowed).
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    int recordCount() const;  // rows that are records (without the new row)
    bool isNewRow(int row) const { return row == recordCount(); }
    std::optional<store::Bookmark> bookmarkAt(int row) const;
    QVariant valueAt(int row, int column) const;    // typed value (row buffer for the current row)
    QString textAt(int row, int column) const;      // as shown

    // Sets a cell of the current row (or of the new row, starting the new record) in the
    // DataSource's row buffer. False for other rows and unbound columns.
    bool setCell(int row, int column, const QVariant& value);
    store::FieldType fieldTypeOf(int column) const;
    // Edits typed into cells go to this handler (the grid raises its update events there);
    // without one they go straight to setCell.
    using EditHandler = std::function<bool(const QModelIndex& index, const QVariant& text)>;
    void setEditHandler(EditHandler handler) { editHandler_ = std::move(handler); }

    void setAllowAddNew(bool allow);
    bool allowAddNew() const { return allowAddNew_; }
    // Rows read from the record set so far (for tests and benchmarks of lazy reading).
    int fetchedRowCount() const;
    // Forgets every row read and re-reads on demand.
    void reload();

private:
    struct Row {
        store::Bookmark bookmark = 0;
        std::vector<QVariant> values;
    };
    const Row* fetch(int row) const;
    void readBlock(int block) const;
    int currentRow() const;
    void onRowUpdated(store::Bookmark mark);
    void onFieldValueChanged(const QString& field);
    void onCurrentChanged();
    void learnFields() const;
    void rowChanged(int row);

    QPointer<DataSource> source_;
    std::vector<GridColumn> columns_;
    EditHandler editHandler_;
    bool allowAddNew_ = true;
    mutable std::vector<int> readerColumns_;  // field index in the reader per column (-1 unbound)
    mutable std::vector<store::FieldType> types_;
    mutable std::unique_ptr<store::Recordset> reader_;
    mutable std::map<int, std::vector<Row>> blocks_;
    mutable int recordCount_ = -1;
    int shownCurrentRow_ = -1;
};

class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    // ---- set-up ----------------------------------------------------------------------
    int addColumn(const GridColumn& column);  // returns the new column's index
    void setColumns(std::vector<GridColumn> columns);
    GridColumn& column(int index);
    int columnCount() const;
    void setDataSource(DataSource* source);
    DataSource* dataSource() const;
    DataGridModel* gridModel() const { return model_; }
    // Adding rows through the empty last row (default on) and updating cells (default on).
    void setAllowAddNew(bool allow);
    void setAllowUpdate(bool allow);
    // Shown on a right-button press at the pointer (after MouseDown).
    void setPopupMenu(QMenu* menu);
    QMenu* popupMenu() const { return popup_; }

    // ---- the current row and column ----------------------------------------------------
    int row() const;       // current row (-1 none); the new row is recordCount
    void setRow(int row);  // moves the DataSource too
    int col() const;       // current column (-1 none)
    void setCol(int column);
    int rowCount() const;  // records + the new row
    bool isOnNewRow() const;
    // Text and value of a column in the current row (the row buffer included).
    QString columnText(int column) const;
    QVariant columnValue(int column) const;
    // Sets a column of the current row (text is read by the column's field type; "" is
    // Null). Stored when the row is left, like a typed value. No events are raised.
    void setColumnText(int column, const QString& text);
    void setColumnValue(int column, const QVariant& value);
    // Any row.
    QString cellText(int row, int column) const;
    QVariant cellValue(int row, int column) const;
    std::optional<store::Bookmark> rowBookmark(int row) const;

    // Bookmarks of the rows selected with the row selectors (a whole row selected), in
    // row order; empty when no whole row is selected.
    std::vector<store::Bookmark> selectedBookmarks() const;
    // Re-reads every row from the DataSource's record set (after changes made in code).
    void refresh();

signals:
    void beforeColEdit(int column, int& keyAscii, bool& cancel);
    void afterColEdit(int column);
    void beforeColUpdate(int column, const QVariant& oldValue, bool& cancel);
    void afterColUpdate(int column);
    void buttonClick(int column);
    void dblClick();
    void headClick(int column);
    // button, shift: bit sets as in controls/Events.h; pos in the viewport.
    void mouseDown(int button, int shift, QPoint pos);
    void mouseUp(int button, int shift, QPoint pos);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    friend class DataGridDelegate;
    bool commitCell(const QModelIndex& index, const QVariant& text);
    static bool isReadable(const QVariant& value, store::FieldType type);
    void refuseUnreadable(int column, const QString& typed, store::FieldType type);
    int edgeColumn(bool first) const;
    int neighbourColumn(int column, int step) const;
    QModelIndex nextCell(const QModelIndex& current);
    QModelIndex previousCell(const QModelIndex& current);
    bool startEdit(const QModelIndex& index);
    void applyDefaults(int editedColumn);
    void moveSourceTo(int row);
    bool onButton(const QModelIndex& index, QPoint pos) const;
    void syncFromSource();
    void shareCaptions();
    void onHeaderClicked(int section);

    DataGridModel* model_;
    QPointer<QMenu> popup_;
    bool syncing_ = false;
    int editingColumn_ = -1;
    int startKeyAscii_ = 0;  // the character of the key that is starting an edit
    bool allowUpdate_ = true;
    bool committing_ = false;  // a typed cell is being stored (its messages may steal the focus)
};

}  // namespace controls
