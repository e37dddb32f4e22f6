// The database engine the windows use: a workspace with transactions, a database
// opened on an existing file, and record sets of three kinds over tables, saved
// queries (SQLite views) and SQL text in the program's desktop dialect.
//
// QtCore and sqlite3 only: no widgets and no message boxes. Every failure is a
// StoreError carrying a number and a description; the caller decides what the user sees.
#pragma once

#include "store/Currency.h"
#include "store/StoreError.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

struct sqlite3;

namespace store {

class Database;
class Recordset;

// The kinds of record set.
enum class RecordsetType {
    Table,     // one table, ordered by a named index (setIndex); updatable; cannot be sorted
    Dynaset,   // updatable, over a table or a single-table SELECT; can be sorted into a new set
    Snapshot,  // read-only copy of a table, saved query or SELECT
};

// Field types as the store declares them. Values read back as:
//   Text -> QString, YesNo -> bool, Currency -> store::Currency, DateTime -> QDateTime,
//   Number -> qint64. A field that holds nothing reads as a null QVariant (distinct from "").
enum class FieldType { Text, YesNo, Currency, DateTime, Number, Unknown };

// How a database file is opened. ReadOnly works on a file the user cannot write (and a file
// in a read-only folder) and never changes it: every write fails with 3051.
enum class OpenMode { ReadWrite, ReadOnly };

struct FieldInfo {
    QString name;  // as declared in the schema
    FieldType type = FieldType::Unknown;
    int size = 0;  // maximum characters of a Text field (0 = no limit)
    bool autoNumber = false;
};

// A bookmark is the row's key: valid in every set over the same table.
using Bookmark = qint64;

// Edit state of a record set.
enum class EditMode { None, Edit, Add };

class Recordset {
public:
    virtual ~Recordset() = default;

    virtual RecordsetType type() const = 0;
    virtual QString source() const = 0;     // table, query name or SQL text it was opened on
    virtual QString tableName() const = 0;  // the one base table, empty for read-only query sets
    virtual bool isOpen() const = 0;
    virtual void close() = 0;

    // Position. Opening positions on the first row; on an empty set BOF and EOF are both true.
    virtual bool bof() const = 0;
    virtual bool eof() const = 0;
    virtual bool hasCurrent() const = 0;  // not BOF/EOF and the row not deleted
    virtual void moveFirst() = 0;
    virtual void moveLast() = 0;
    virtual void moveNext() = 0;               // past the last row: EOF
    virtual void movePrevious() = 0;           // before the first row: BOF
    virtual int recordCount() const = 0;       // accurate for every kind
    virtual int absolutePosition() const = 0;  // 0-based; -1 without a current row
    virtual void setAbsolutePosition(int position) = 0;

    virtual Bookmark bookmark() const = 0;        // 3021 without a current row
    virtual void setBookmark(Bookmark mark) = 0;  // error if the row is not in this set
    virtual bool hasBookmark(Bookmark mark) const = 0;
    virtual Bookmark lastModified() const = 0;  // the row last added or updated through this set

    // Finding, in the set's order, with a condition in the desktop dialect
    // ("[LastName] = 'O''Brien'", "TableId = 5"). With no match NoMatch is true and the
    // position does not change. Values can be bound: "[LastName] = ?" with {name}.
    virtual void findFirst(const QString& condition, const QVariantList& params = {}) = 0;
    virtual void findNext(const QString& condition, const QVariantList& params = {}) = 0;
    virtual void findPrevious(const QString& condition, const QVariantList& params = {}) = 0;
    virtual void findLast(const QString& condition, const QVariantList& params = {}) = 0;
    virtual bool noMatch() const = 0;

    // Fields, by case-insensitive name. Reading without a current row is error 3021.
    virtual QList<FieldInfo> fields() const = 0;
    virtual int fieldIndex(const QString& name) const = 0;  // -1 when unknown
    virtual QVariant value(const QString& name) const = 0;
    virtual QVariant value(int index) const = 0;
    virtual void setValue(const QString& name, const QVariant& value) = 0;  // only in Edit/Add
    void setValue(const QString& name, Currency amount) { setValue(name, QVariant::fromValue(amount)); }

    // Changes. Update saves the edit buffer; in Add mode the current row stays where it
    // was before AddNew and lastModified() is the new row. Delete removes the current row
    // at once; the position is then invalid (3021) until a Move.
    virtual EditMode editMode() const = 0;
    virtual void addNew() = 0;
    virtual void edit() = 0;
    virtual void update() = 0;
    virtual void cancelUpdate() = 0;
    virtual void deleteRecord() = 0;
    virtual bool updatable() const = 0;

    // Re-runs the source and positions on the first row.
    virtual void requery() = 0;
    // Re-reads the current row's values from the file (after changes made elsewhere).
    virtual void refreshCurrent() = 0;

    // Table-type sets: the index that orders and searches them.
    virtual QString index() const = 0;
    virtual void setIndex(const QString& indexName) = 0;

    // Dynasets and snapshots: a sort text like "[DueDate] desc"; it takes effect on the
    // set opened next from this one (the original keeps its order).
    virtual QString sort() const = 0;
    virtual void setSort(const QString& sortText) = 0;
    virtual QString filter() const = 0;
    virtual void setFilter(const QString& condition) = 0;
    virtual std::unique_ptr<Recordset> openRecordset(RecordsetType type = RecordsetType::Dynaset) = 0;

    // A second cursor over the same rows, positioned independently, sharing bookmarks.
    virtual std::unique_ptr<Recordset> clone() = 0;

    virtual Database& database() const = 0;
};

class Database {
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing database file outside the workspace (a second connection, e.g. for
    // a bound view that keeps its own). Same checks and errors as Workspace::openDatabase.
    static std::unique_ptr<Database> openFile(const QString& path, OpenMode mode = OpenMode::ReadWrite);

    QString path() const;
    bool isOpen() const;
    void close();  // rolls back an open transaction, finishes every statement

    QStringList tableNames() const;  // user tables in name order (BudgetPlan ... Vendors)
    QStringList queryNames() const;  // saved queries (views) in name order
    QList<FieldInfo> tableFields(const QString& table) const;
    QStringList indexNames(const QString& table) const;

    // source: a table name, a saved query name, or a SELECT in the desktop dialect.
    std::unique_ptr<Recordset> openRecordset(const QString& source,
                                             RecordsetType type = RecordsetType::Dynaset);
    // A SELECT with "?" in place of values, and the values: each goes in as a literal that the
    // store writes itself (texts quoted, numbers and dates in the engine's own form), so no
    // text of a value can change the statement. A set re-runs its condition in several
    // statements of its own, which is why the values are fixed here rather than bound to
    // each of them. Too many or too few values, or one of a kind a statement cannot hold,
    // is an error (InvalidArgument).
    std::unique_ptr<Recordset> openRecordset(const QString& source, const QVariantList& values,
                                             RecordsetType type = RecordsetType::Dynaset);

    // Runs one statement in the desktop dialect with bound parameters ("?" placeholders).
    // Returns the number of rows changed.
    int execute(const QString& sql, const QVariantList& params = {});
    // Runs one statement once for each list of bound values, translated and prepared once (a
    // change of thousands of rows). Returns the number of rows changed in all.
    int executeEach(const QString& sql, const std::vector<QVariantList>& paramRows);

    // The store's internals (store/Engine.h).
    struct Impl;
    Impl& impl() const { return *d; }

private:
    friend class Workspace;
    Database();
    std::unique_ptr<Impl> d;
};

// The default workspace (workspace 0): owns the open database and its transactions.
class Workspace {
public:
    static Workspace& defaultWorkspace();

    // Opens an existing database file. A missing file, a file that is not a database
    // (or is empty), a read-only file or a file locked by another program is an error.
    // Never creates a file. Replaces (closes) a database opened before. ReadOnly skips the
    // read-only checks and opens the file for reading only.
    Database& openDatabase(const QString& path, OpenMode mode = OpenMode::ReadWrite);
    Database* database() const;  // null when none is open
    void close();                // closes the database, rolling back open transactions

    // Transactions nest through savepoints. Commit or rollback with none open: error.
    void beginTrans();
    void commitTrans();
    void rollback();
    int transactionDepth() const;

    // The errors of the last failed operation, newest last (for maintenance messages).
    const std::vector<StoreError>& errors() const;
    void clearErrors();
    void recordError(const StoreError& error);

    // Maintenance. Neither may be used on the open database (close it first).
    // Compaction writes a checked copy of source into destination (which must not exist).
    static void compactDatabase(const QString& source, const QString& destination);
    // Repair salvages every readable row into a sound file under the same name, replacing
    // the damaged file atomically; a sound file is left unchanged. Returns what it did.
    struct TableLoss {
        QString table;
        int recovered = 0;
        int lost = 0;           // rows the damaged file still counted that could not be read
        bool lostKnown = true;  // false: rows were lost, but how many could not be counted
    };
    struct RepairReport {
        bool wasDamaged = false;
        int rowsRecovered = 0;
        int rowsLost = 0;               // the sum over the tables whose count is known
        std::vector<TableLoss> losses;  // the tables that lost rows (or may have), in file order
        bool nothingLost() const { return losses.empty(); }
    };
    static RepairReport repairDatabase(const QString& path);

private:
    Workspace();
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Translates the desktop dialect into SQLite SQL (exposed for tests and the fuzzer).
// Throws StoreError (syntax) on text it cannot read.
QString translateSql(const QString& dialectSql);
QString translateCondition(const QString& dialectCondition);
QString translateSort(const QString& dialectSort);

// Quotes a text as a dialect/SQL string literal ('O''Brien').
QString quoteText(const QString& text);

// The version of the database engine the program runs on ("3.40.1").
QString engineVersion();

}  // namespace store
