// Data list and data combo: a list (or the drop-down of a combo) filled from the rows of
// a DataSource, one entry per row, each entry carrying its row's bookmark and the value
// of a bound column.
//
//     addDBList1 = new controls::DataList(this);
//     addDBList1->setObjectName("addDBList1");
//     addDBList1->setRowSource(Data1, "LastName");    // list field
//     controls::on(addDBList1).click([this] { addDBList1_Click(); });
//     void frmGuests::addDBList1_Click() { addDBList1->moveRowSourceToSelection(); }
//
//     addDBCombo1 = new controls::DataCombo(this);     // list from one table ...
//     addDBCombo1->setRowSource(Data2, "City");
//     Data1->bind(addDBCombo1, "City");                // ... text bound to another set's field
//
// The entries follow the row source: they are refilled when its rows change (refresh, a
// new record set, rows added through the DataSource or a grid, resync()) and an entry is
// re-read when its row is written. Refilling reads the rows once through a clone of the
// record set into a model, so 10,000 rows fill in a few milliseconds. Call refill() after
// changes made elsewhere.
#pragma once

#include "controls/DataSource.h"
#include "store/Store.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QListView>
#include <QPointer>

#include <functional>
#include <optional>
#include <vector>

namespace controls {

class DataSource;

// Builds an entry's text from the values of the list fields (in their order).
using ListText = std::function<QString(const QVariantList& values)>;

// The entries of a data list or data combo.
class BookmarkListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit BookmarkListModel(QObject* parent = nullptr);

    // One field, or several fields joined by compose (default: the non-empty texts
    // joined with one blank). boundColumn: the field whose value each entry carries
    // ("" = the first list field).
    void setRowSource(DataSource* source, const QStringList& listFields, ListText compose = {},
                      const QString& boundColumn = QString());
    DataSource* rowSource() const { return source_; }
    void refill();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    QString textAt(int row) const;
    store::Bookmark bookmarkAt(int row) const;
    QVariant boundValueAt(int row) const;
    int rowOfBookmark(store::Bookmark mark) const;  // -1 when absent
    int rowOfBoundValue(const QVariant& value) const;
    int rowOfText(const QString& text) const;

private:
    struct Entry {
        QString text;
        store::Bookmark bookmark = 0;
        QVariant bound;
    };
    Entry readEntry(const store::Recordset& rs, const std::vector<int>& listIndexes, int boundIndex) const;
    void onRowUpdated(store::Bookmark mark);

    QPointer<DataSource> source_;
    QStringList listFields_;
    QString boundColumn_;
    ListText compose_;
    std::vector<Entry> entries_;
};

// A list box over a row source.
class DataList : public QListView {
    Q_OBJECT
public:
    explicit DataList(QWidget* parent = nullptr);

    void setRowSource(DataSource* source, const QString& listField, const QString& boundColumn = QString());
    void setRowSource(DataSource* source, const QStringList& listFields, ListText compose,
                      const QString& boundColumn = QString());
    DataSource* rowSource() const;
    void refill();
    BookmarkListModel* listModel() const { return model_; }

    int count() const;
    int listIndex() const;         // selected entry, -1 none
    void setListIndex(int index);  // selects (no DataSource move, no Click)
    QString text() const;          // text of the selected entry ("" none)
    QString itemText(int index) const;
    std::optional<store::Bookmark> selectedBookmark() const;
    std::optional<store::Bookmark> bookmarkAt(int index) const;
    QVariant boundText() const;  // bound value of the selected entry (Null none)
    // Select the entry of a bookmark / bound value; false (selection unchanged) when absent.
    bool selectBookmark(store::Bookmark mark);
    bool selectBoundValue(const QVariant& value);
    // Moves the row source to the selected entry's row (the usual Click handler).
    // False when nothing is selected or the row source could not move.
    bool moveRowSourceToSelection();

private:
    BookmarkListModel* model_;
};

// An editable combo box whose drop-down list comes from a row source. Its text is
// free (NoInsert: typing never adds to the list) and can be bound to a field of another
// DataSource with DataSource::bind. Refilling keeps the text.
class DataCombo : public QComboBox {
    Q_OBJECT
public:
    explicit DataCombo(QWidget* parent = nullptr);

    void setRowSource(DataSource* source, const QString& listField, const QString& boundColumn = QString());
    DataSource* rowSource() const;
    void refill();
    BookmarkListModel* listModel() const { return model_; }

    std::optional<store::Bookmark> selectedBookmark() const;  // of the entry matching the text
    QVariant boundText() const;                               // bound value of that entry
    bool moveRowSourceToSelection();

private:
    BookmarkListModel* model_;
    QString keptText_;  // the edit text across a refill
};

}  // namespace controls
