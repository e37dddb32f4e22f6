// The data control: a record set over a table, saved query or SQL text of the wedding
// database, a current row, and widgets bound to the fields of that row.
//
// A window creates one DataSource per data control (objectName "Data1", ...), points it
// at the database and a record source, refreshes it (or hands it a record set), binds
// its widgets and connects the events:
//
//     Data1 = new controls::DataSource(this);
//     Data1->setObjectName("Data1");
//     Data1->setDatabaseName(DatabasePath);
//     Data1->setRecordSource("Guests");
//     Data1->setRecordsetType(store::RecordsetType::Table);
//     Data1->bind(addtxtFields[2], "FirstName");
//     connect(Data1, &controls::DataSource::reposition, this, &frmGuests::Data1_Reposition);
//     connect(Data1, &controls::DataSource::error, this, &frmGuests::Data1_Error);
//     Data1->refresh();
//     Data1->setIndex("LastName");
//
// The current row. Every move made through the DataSource (navigator, moveFirst ...
// setBookmark, findFirst ..., a grid or list pick) first leaves the row: changed values of
// bound widgets and grid cells are written to it (Validate first; Edit, setValue, Update),
// then the record set moves, the bound widgets are loaded from the new row (Null and no
// current row load as empty) and Reposition is raised. refresh(), setRecordset(),
// setIndex() and close() leave the row the same way. Moves made directly on recordset()
// bypass all of this: after them call resync() (see there).
//
// Writing back. Only values that differ from what was loaded are written; line breaks
// pasted into a one-line box (line edit, combo) are not written (see oneLineText). When
// writing fails (a value too long for its field, a value of the wrong type, a duplicate
// key, a locked file, a full disk), the store's error is raised as Error with the field
// and the reason in the user's words ("Last Name takes at most 20 characters."); unless a
// handler sets the response to Handled, the store's description is shown through the
// dialog seam ("Orvane", exclamation icon, OK) with the reason under it.
// The edit is cancelled in the record set, the move does not happen (the move returns
// false) and the controls keep the user's values so that they can be corrected; call
// cancelUpdate() to reload the stored values instead. Leaving the row for refresh(),
// setRecordset() or close() discards values that cannot be written (after the message).
//
// Closing the window writes the current row back: the DataSource watches the top-level
// window of its parent widget (its close event, and a dialog's finished()). When the row
// cannot be written (or Validate cancels), the user is asked "Close without saving your
// changes?" (default No): No refuses the close, and the window stays open with the typed
// values so that Close can be tried again; Yes discards them and the window closes. Esc in
// a dialog with changes not yet written closes it the same way. A window that is only
// hidden or destroyed without closing should call close() or updateRecord().
#pragma once

#include "store/Store.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace controls {

class DataNavigator;

// How a bound widget shows a value and how its text becomes a value again. Both are
// optional; without them the field's type decides (see DataSource::bind).
struct FieldFormat {
    std::function<QString(const QVariant& value)> format;  // value (never Null) -> text
    std::function<QVariant(const QString& text)> parse;    // non-empty text -> value
};

// Validate: raised before the current row is left (and before updateRecord writes).
struct ValidateEvent {
    enum class Action {
        MoveFirst,
        MovePrevious,
        MoveNext,
        MoveLast,
        AddNew,
        Update,
        Delete,
        Find,
        Bookmark,
        Close,
        Refresh,
        Unload
    };
    Action action = Action::Update;
    bool save = false;    // bound values changed and will be written
    bool cancel = false;  // set by a handler: the row is not left, nothing is written
};

// Error: a store failure while reading or writing the bound row.
struct DataErrorEvent {
    enum class Response { ShowMessage, Handled };
    int number = 0;
    QString description;
    Response response = Response::ShowMessage;  // set Handled to suppress the default message
    QString field;   // the field being stored when it failed ("" when the failure is the row's or the file's)
    QString reason;  // the failure in the user's words, naming the field by its caption: a
                     // handler showing its own message shows this as the informative text
};

class DataSource : public QObject {
    Q_OBJECT
public:
    // With a widget parent, closing that widget's window writes the row back.
    explicit DataSource(QObject* parent = nullptr);
    ~DataSource() override;

    // ---- the record set -------------------------------------------------------------
    // Path of the database file. refresh() uses the workspace's open database when it is
    // this file and opens it in the default workspace otherwise.
    void setDatabaseName(const QString& path);
    QString databaseName() const { return databaseName_; }
    // Table name, saved query name or SELECT text.
    void setRecordSource(const QString& source);
    QString recordSource() const { return recordSource_; }
    void setRecordsetType(store::RecordsetType type);
    store::RecordsetType recordsetType() const { return type_; }

    // Leaves the current row, then opens the record source anew (or, when the record set
    // was handed in and no record source is set, requeries it), positions on the first
    // row, loads the bound widgets and raises Reposition. Store failures opening the set
    // propagate as store::StoreError (the window reports them).
    void refresh();
    // Takes over a record set opened elsewhere (the main window hands one in; a sort hands
    // in a sorted copy). Leaves the current row first. The set's current row becomes the
    // current row; Reposition follows.
    void setRecordset(std::unique_ptr<store::Recordset> recordset);
    // The record set, for reading and for changes in code; null before refresh().
    store::Recordset* recordset() const { return recordset_.get(); }
    // Table-type sets: sets the ordering index and reloads (rows change order). Reposition follows.
    void setIndex(const QString& indexName);
    // Leaves the row and closes the record set (the bound widgets are cleared).
    void close();
    bool isOpen() const;

    // After rows were changed directly through recordset() (AddNew/Update, Delete, a
    // move): reloads the grids and lists over this source and the bound widgets from the
    // record set's current row, discarding values not yet written. Raises Reposition when
    // raiseReposition is true.
    void resync(bool raiseReposition = false);

    // ---- moving -----------------------------------------------------------------------
    // Each leaves the row first and returns false when the row could not be left (Validate
    // cancelled, or writing failed). A failure of the move itself (an invalid bookmark, a
    // bad find condition) propagates as store::StoreError, as the record set's would.
    bool moveFirst();
    bool moveLast();
    bool moveNext();      // past the last row: EOF, no current row (as the record set)
    bool movePrevious();  // before the first row: BOF
    bool setBookmark(store::Bookmark mark);
    bool setAbsolutePosition(int position);
    // Find in the record set's order; with no match noMatch() is true and the row stays.
    bool findFirst(const QString& condition, const QVariantList& params = {});
    bool findNext(const QString& condition, const QVariantList& params = {});
    bool findPrevious(const QString& condition, const QVariantList& params = {});
    bool findLast(const QString& condition, const QVariantList& params = {});
    bool noMatch() const;
    // Moves as the navigator's buttons do: never past the first or last row.
    bool navigatePrevious();
    bool navigateNext();

    bool hasCurrent() const;  // a current row (or a new row being added)
    bool bof() const;
    bool eof() const;
    bool isEmpty() const;                             // no record set, or BOF and EOF at once
    int recordCount() const;                          // 0 without a record set
    int absolutePosition() const;                     // -1 without a current row
    std::optional<store::Bookmark> bookmark() const;  // none without a current row

    // ---- the row buffer ----------------------------------------------------------------
    // Starts a new row: leaves the current row, clears the bound widgets; values typed or
    // set then are added as a new row when the row is left or updateRecord() is called
    // (nothing is added while nothing was entered). Afterwards the new row is current.
    bool addNew();
    bool isAdding() const { return adding_; }
    // Writes the changed values of the current row now (Validate, then Edit/AddNew,
    // setValue, Update). True when nothing needed writing or writing succeeded.
    bool updateRecord();
    // Discards values not yet written and reloads the bound widgets (also ends addNew).
    void cancelUpdate();
    // True when bound widgets or grid cells hold values not yet written.
    bool isDirty() const;
    // Treats every bound widget as edited, so that the next update writes what the widgets
    // show: after the store lost a write that had been made (a failed commit that the engine
    // rolled back), the values are still on screen and must be written again.
    void markShownAsEdited();

    // The current row's value of a field as the controls show it: a value set with
    // setFieldValue and not yet written, else the stored value; Null without a row.
    QVariant fieldValue(const QString& field) const;
    // Sets a value of the current row without writing it yet (grids and code; bound
    // widgets of the field show it at once). It is written when the row is left.
    void setFieldValue(const QString& field, const QVariant& value);
    // Whether the row buffer holds a value for a field; dropping it shows the stored one again.
    bool hasFieldValue(const QString& field) const;
    void discardFieldValue(const QString& field);
    // Field type of a field of the record set (Unknown when unknown or not open).
    store::FieldType fieldType(const QString& field) const;

    // ---- bound widgets ---------------------------------------------------------------
    // Binds a widget to a field of the current row. Supported: QLineEdit (and MaskedEdit),
    // QComboBox (its edit text when editable, else the item with that text),
    // QPlainTextEdit, QTextEdit (plain text), QAbstractButton that is checkable (QCheckBox,
    // QRadioButton: Yes/No fields), QLabel (shows only). Without a format, values show as:
    // text as is; Yes/No "True"/"False" (buttons: checked); Currency with at least two
    // decimals ("12.50"); Number as digits; Date/Time as the short date (with the time
    // when it has one). Texts are read back by the same rules; an empty text writes Null
    // (an empty text for Text fields), and text that cannot be read is handed to the store
    // as it is, so that the store's type error reaches Error.
    void bind(QWidget* widget, const QString& field, FieldFormat format = {});
    void unbind(QWidget* widget);
    QString boundField(QWidget* widget) const;

    // ---- navigator ---------------------------------------------------------------------
    // The caption shown by the navigator (the window sets it, e.g. on Reposition).
    void setCaption(const QString& caption);
    QString caption() const { return caption_; }
    // Creates the navigator widget |< < caption > >| (objectName: this source's name);
    // its buttons move like the old data control (Next on the last row stays there).
    DataNavigator* createNavigator(QWidget* parent);

    // Raises Error for a store failure met by a control of this source (and, unless a
    // handler answers Handled, shows the store's description with the reason under it).
    void reportError(const store::StoreError& failure, const QString& field = QString());

    // The caption the user knows a field by, for messages: the one set here, else the
    // text of the label whose buddy is a widget bound to the field, else the field's
    // name in words ("LastName" -> "Last Name").
    void setFieldCaption(const QString& field, const QString& caption);
    QString fieldCaption(const QString& field) const;

    // Default conversions used by bind() and the grid (public for grids and tests).
    static QString textOf(const QVariant& value, store::FieldType type);
    static QVariant valueOf(const QString& text, store::FieldType type);

signals:
    // The DataSource arrived on a row or found none (after every move, refresh,
    // setRecordset, setIndex; with raiseReposition also after resync()).
    void reposition();
    // Before the row is left or written: handlers may cancel.
    void validate(controls::ValidateEvent& event);
    // A store failure reading or writing the bound row.
    void error(controls::DataErrorEvent& event);
    void captionChanged(const QString& caption);

    // For the grids and lists over this source.
    void rowsReset();                              // rows changed (new set, refresh, insert)
    void rowUpdated(store::Bookmark mark);         // one row's stored values changed
    void currentChanged();                         // the current row (or adding state) changed
    void fieldValueChanged(const QString& field);  // a value in the row buffer changed

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding;
    using Move = std::function<void(store::Recordset&)>;
    bool moveBy(ValidateEvent::Action action, const Move& move);
    enum class Leave { KeepOnFailure, DiscardOnFailure };
    bool leaveRow(ValidateEvent::Action action, Leave how);
    bool leaveRowForClose();  // false: the window must stay open
    bool writeRow(const QList<QPair<QString, QVariant>>& changes);
    QList<QPair<QString, QVariant>> pendingChanges() const;
    void arrive(bool raiseReposition);
    void loadBindings();
    void loadBinding(Binding& binding);
    void reloadField(const QString& key);
    QVariant bindingValue(const Binding& binding) const;
    QString widgetText(const Binding& binding) const;
    void showInWidget(Binding& binding, const QVariant& value);
    bool isBindingDirty(const Binding& binding) const;
    QVariant storedValue(const QString& field) const;
    void raiseError(int number, const QString& description, const QString& field = QString());
    QString boundCaption(const QString& field) const;
    void clearBuffer();
    void watchWindow(QWidget* window);
    store::Database& openDatabase();

    QString databaseName_;
    QString recordSource_;
    store::RecordsetType type_ = store::RecordsetType::Dynaset;
    std::unique_ptr<store::Recordset> recordset_;
    std::vector<std::unique_ptr<Binding>> bindings_;
    QHash<QString, QVariant> buffer_;      // field (lower case) -> value not yet written
    QHash<QString, QString> bufferNames_;  // field (lower case) -> name as given
    QString caption_;
    QHash<QString, QString> fieldCaptions_;  // field (lower case) -> caption
    QPointer<QWidget> window_;
    bool adding_ = false;
};

}  // namespace controls
